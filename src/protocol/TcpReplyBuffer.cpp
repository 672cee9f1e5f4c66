#include "TcpReplyBuffer.h"

#include "ReplyLog.h"

#include <algorithm>

namespace zentrel {

TcpReplyBuffer::TcpReplyBuffer(ReplyLog* log, LogStyle style) : log_(log), style_(style) {}

std::optional<CommandFrame> TcpReplyBuffer::onRead(std::span<const std::uint8_t> data,
                                                   bool pageShown) {
    append(data);
    return take(pageShown);
}

std::size_t TcpReplyBuffer::append(std::span<const std::uint8_t> data) {
    const std::size_t kept = std::min(data.size(), kCapacity - fill_);
    for (std::size_t i = 0; i < kept; ++i) {
        buffer_[fill_++] = data[i];
        if (style_ == LogStyle::PerByte && log_ != nullptr) {
            log_->hex(data[i]);
            if (fill_ % CommandFrame::kSize == 0) {
                log_->lineBreak();
            }
        }
    }
    return kept;
}

std::optional<CommandFrame> TcpReplyBuffer::take(bool pageShown) {
    if (fill_ < CommandFrame::kSize) {
        return std::nullopt;
    }
    fill_ = 0;
    if (!pageShown) {
        return std::nullopt;
    }
    const CommandFrame reply =
        CommandFrame::fromBytes(std::span(buffer_).first<CommandFrame::kSize>());
    if (style_ == LogStyle::PerReply && log_ != nullptr) {
        for (std::uint8_t b : reply.bytes) {
            log_->hex(b);
        }
        log_->lineBreak();
    }
    if (!reply.hasHeader()) {
        return std::nullopt;
    }
    return reply;
}

} // namespace zentrel
