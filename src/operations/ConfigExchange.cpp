#include "ConfigExchange.h"

#include "link/BroadcastSocket.h"
#include "protocol/ReplyLog.h"

#include <array>

namespace zentrel {

namespace {
constexpr const char* kAnyAddress = "0.0.0.0";
constexpr const char* kBroadcast = "255.255.255.255";
} // namespace

ConfigExchange::ConfigExchange(Window& host, BroadcastSocket& socket, ConfigListener& listener,
                               ReplyLog* log)
    : host_(host), socket_(socket), listener_(listener), log_(log) {}

bool ConfigExchange::send() {
    record_.seal();
    replies_.clear();
    UdpSocket* s = socket_.reopen(kAnyAddress, kPort);
    if (s == nullptr) {
        return false;
    }
    sentOn_ = s->handle();
    s->setBroadcast(true);
    s->asyncSelect(host_, WM_CONFIG_SOCKET, FD_READ);
    socket_.sendTo(record_.bytes(), kBroadcast, kPort);
    return true;
}

void ConfigExchange::onNotification(WParam wp, LParam lp) {
    // Once a search has taken the socket back, what is still queued here is not ours to read.
    if (selectEvent(lp) != FD_READ || wp != sentOn_ || !socket_.isCurrent(wp)) {
        return;
    }
    std::array<std::uint8_t, kReadSize> bytes{};
    const int n = socket_.recv(bytes);
    for (int i = 0; i < n; ++i) {
        replies_.append(bytes[static_cast<std::size_t>(i)]);
        if (log_ != nullptr) {
            // The log shows the buffer from its start: this read's bytes when nothing was
            // pending.
            log_->hex(replies_.at(static_cast<std::size_t>(i)));
            if (i % 13 == 0) {
                log_->lineBreak();
            }
        }
    }
    switch (replies_.judge(record_.bytes())) {
    case ConfigReplyBuffer::Outcome::Accepted:
        listener_.onConfigAccepted();
        break;
    case ConfigReplyBuffer::Outcome::Refused:
        listener_.onConfigRefused();
        break;
    default:
        break;
    }
}

} // namespace zentrel
