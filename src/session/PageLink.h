#pragma once
// What every host of a conversation with the matrix owns: its serial link, its send and receive
// logs, the sender that routes a frame by ControlMode, and the assembly of replies on either
// link. The host hands it the messages its window receives (WM_SERIAL_BYTE, its TCP
// notification) and gets back a whole reply with where it came from and whether its checksum
// passed; what the reply means is the host's own business. Every frame that goes onto a link
// through its sender, and every reply it assembles, is handed to the traffic tap.
//
// A host without a page (a command-line tool) builds it on a plain Window of the platform layer,
// which receives the serial bytes, and forwards that window's messages to onSerialByte() and
// onTcpNotification(); log control ids of a window without such controls count and record but
// show nothing.
#include "BatchedReplyLog.h"
#include "ReceiveLog.h"
#include "SendLog.h"
#include "TrafficTap.h"
#include "link/FrameSender.h"
#include "platform/Messages.h"
#include "platform/SerialLink.h"
#include "protocol/ReplyAssembler.h"
#include "protocol/TcpReplyBuffer.h"

#include <memory>
#include <optional>

namespace zentrel {

class ControlSocket;
class Window;
struct SharedState;

// A whole reply, with its origin and the checksum verdict (a TCP reply has none to fail).
struct LinkedFrame {
    CommandFrame frame;
    bool serial = false;
    bool checksumPassed = true;
};

class PageLink {
public:
    struct Options {
        int sendLogId = 0;
        int receiveLogId = 0;
        bool logsMirror = false; // the logs keep a string of what they show
        TrafficTap tap = {};
        ReplyAssembler::Options assembly = {};
        TcpReplyBuffer::LogStyle tcpLogStyle = TcpReplyBuffer::LogStyle::PerReply;
        // The send log gets the bytes of every frame; a host that writes its own lines instead
        // (the FW Upgrade page) turns this off.
        bool sendsLogged = true;
        // The receive log's text is held back until the host has acted on the reply and calls
        // flushReceiveLog(): an upgrade's next header should not wait for the box's redraw.
        bool batchedReplies = false;
    };

    PageLink(Window& host, SharedState& state, ControlSocket& socket,
             std::unique_ptr<SerialLink> serial, const Options& options);

    SerialLink* serial() { return serial_.get(); }
    bool serialOpen() const { return serial_->isOpen(); }
    // Opens the serial link on `port` and starts its reading; false when either fails.
    bool openSerial(int port, const SerialSettings& settings);
    FrameSender& sender() { return sender_; }
    SendLog& sendLog() { return sendLog_; }
    const SendLog& sendLog() const { return sendLog_; }
    ReceiveLog& receiveLog() { return receiveLog_; }
    const ReceiveLog& receiveLog() const { return receiveLog_; }
    const ReplyAssembler& assembler() const { return assembler_; }
    // Writes the receive log's held-back text (batchedReplies); with `always` false only past
    // the hold limit, so stray bytes without a reply still show.
    void flushReceiveLog(bool always = true) { batch_.flush(always); }
    // A link just opened starts its assembly afresh: nothing half-read before counts.
    void serialOpened() { assembler_.reset(); }
    void tcpOpened() { tcpReplies_ = TcpReplyBuffer(replyLog_, tcpLogStyle_); }

    // WM_SERIAL_BYTE: `result` is the message's result; a completed frame is returned.
    std::optional<LinkedFrame> onSerialByte(WParam wp, LParam lp, LParam& result);
    // The host's TCP notification: the bytes are always read, so nothing stale waits for the
    // next reply; `accept` false drops them unassembled, `pageShown` false assembles them but
    // discards a completed reply unlogged.
    std::optional<LinkedFrame> onTcpNotification(WParam wp, LParam lp, bool accept = true,
                                                 bool pageShown = true);

private:
    ReplyLog* replyLog(const Options& options);

    Window& host_;
    SharedState& state_;
    ControlSocket& socket_;
    std::unique_ptr<SerialLink> serial_;
    TrafficTap tap_;
    SendLog sendLog_;
    ReceiveLog receiveLog_;
    BatchedReplyLog batch_;
    ReplyLog* replyLog_; // the receive log, or the batch in front of it
    FrameSender sender_;
    ReplyAssembler assembler_;
    TcpReplyBuffer::LogStyle tcpLogStyle_;
    TcpReplyBuffer tcpReplies_;
};

} // namespace zentrel
