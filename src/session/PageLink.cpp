#include "PageLink.h"

#include "SerialByteMessage.h"
#include "link/ControlSocket.h"
#include "state/SharedState.h"

namespace zentrel {

PageLink::PageLink(Window& host, SharedState& state, ControlSocket& socket,
                   std::unique_ptr<SerialLink> serial, const Options& options)
    : host_(host), state_(state), socket_(socket), serial_(std::move(serial)), tap_(options.tap),
      sendLog_(host, options.sendLogId, options.logsMirror),
      receiveLog_(host, options.receiveLogId, options.logsMirror), batch_(receiveLog_),
      replyLog_(replyLog(options)),
      sender_(state, socket, serial_.get(),
              options.sendsLogged ? FrameSender::Log([this](std::span<const std::uint8_t> b) {
                  sendLog_.append(b);
              })
                                  : FrameSender::Log()),
      assembler_(replyLog_, options.assembly), tcpLogStyle_(options.tcpLogStyle),
      tcpReplies_(replyLog_, options.tcpLogStyle) {
    sender_.setWatch(tap_.watch());
}

ReplyLog* PageLink::replyLog(const Options& options) {
    return options.batchedReplies ? static_cast<ReplyLog*>(&batch_) : &receiveLog_;
}

bool PageLink::openSerial(int port, const SerialSettings& settings) {
    return serial_->open(host_, port, settings) && serial_->start();
}

std::optional<LinkedFrame> PageLink::onSerialByte(WParam wp, LParam lp, LParam& result) {
    SerialByteOutcome out = onSerialByteMessage(assembler_, state_.ControlMode, wp, lp);
    result = out.result;
    if (!out.frame) {
        return std::nullopt;
    }
    tap_.record(TrafficDirection::Received, out.frame->frame.bytes);
    return LinkedFrame{out.frame->frame, true, out.frame->checksumPassed()};
}

std::optional<LinkedFrame> PageLink::onTcpNotification(WParam wp, LParam lp, bool accept,
                                                       bool pageShown) {
    const std::vector<std::uint8_t> bytes = socket_.readNotified(wp, lp);
    if (bytes.empty() || !accept) {
        return std::nullopt;
    }
    if (const auto reply = tcpReplies_.onRead(bytes, pageShown)) {
        tap_.record(TrafficDirection::Received, reply->bytes);
        return LinkedFrame{*reply, false, true};
    }
    return std::nullopt;
}

} // namespace zentrel
