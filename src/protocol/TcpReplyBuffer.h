#pragma once
// A page's accumulation of TCP reply bytes. Replies are read whole or in pieces; once 13 bytes
// or more are held, only the first 13 count as a reply and the rest of that accumulation is
// thrown away, since the matrix answers one request at a time.
//
// As with the serial assembler, the buffer is emptied and the log written before the frame is
// handed out, so a dispatcher running a nested loop cannot see the same reply twice.
#include "CommandFrame.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace zentrel {

class ReplyLog;

class TcpReplyBuffer {
public:
    static constexpr std::size_t kCapacity = 1024;

    enum class LogStyle {
        // The reply's 13 bytes, then "\r\n", when it is taken (General, EDID, FW pages).
        PerReply,
        // Every byte kept, as it arrives, with "\r\n" whenever the fill count reaches a multiple
        // of 13 (Matrix page; a read that arrives while the page is not armed for TCP replies is
        // the page's to drop, before it gets here).
        PerByte,
    };

    explicit TcpReplyBuffer(ReplyLog* log = nullptr, LogStyle style = LogStyle::PerReply);

    // One FD_READ's worth of bytes. `pageShown` is the page's own gate (the General page: the
    // General tab is the shown one); a completed reply that arrives while it is false is
    // discarded unlogged. Returns the reply to dispatch, if any.
    std::optional<CommandFrame> onRead(std::span<const std::uint8_t> data, bool pageShown = true);

    // Appends what fits in the 1024 bytes; returns how many bytes were kept.
    std::size_t append(std::span<const std::uint8_t> data);
    // With 13 bytes or more held: empties the buffer and, if `pageShown`, logs the first 13 and
    // returns them when they begin A5 5B (a reply without the header is logged but never acted
    // on). With fewer, keeps them for the next read.
    std::optional<CommandFrame> take(bool pageShown = true);

    std::size_t fill() const { return fill_; }

private:
    ReplyLog* log_;
    LogStyle style_;
    std::array<std::uint8_t, kCapacity> buffer_{};
    std::size_t fill_ = 0;
};

} // namespace zentrel
