#include "ReplyAssembler.h"

namespace zentrel {

namespace {
constexpr int kFrameSize = static_cast<int>(CommandFrame::kSize);
}

ReplyAssembler::ReplyAssembler(ReplyLog* log) : ReplyAssembler(log, Options{}) {}

ReplyAssembler::ReplyAssembler(ReplyLog* log, Options options) : log_(log), options_(options) {}

void ReplyAssembler::reset() {
    buffer_.fill(0);
    values_.fill(0);
    length_ = 0;
    logCounter_ = 0;
    inFrame_ = false;
    runningSum_ = 0;
}

std::optional<AssembledFrame> ReplyAssembler::feed(std::uint8_t b) {
    if (b == CommandFrame::kHead0 || inFrame_) {
        values_[static_cast<std::size_t>(logCounter_)] = b;
        buffer_[static_cast<std::size_t>(length_)] = b;
        inFrame_ = true;
        runningSum_ = static_cast<std::uint8_t>(runningSum_ + b);
        ++length_;
        ++logCounter_;
    } else if (options_.countsStrayBytes) {
        ++logCounter_;
    }

    std::optional<AssembledFrame> done;
    if (length_ >= kFrameSize) {
        CommandFrame frame = CommandFrame::fromBytes(buffer_);
        if (frame.hasHeader()) {
            done = AssembledFrame{frame, runningSum_, values_};
        }
        buffer_.fill(0);
        length_ = 0;
        inFrame_ = false;
        runningSum_ = 0;
    }

    const bool endsLine = logCounter_ >= kFrameSize;
    if (endsLine) {
        logCounter_ = 0;
        values_.fill(0);
    }
    if (log_ != nullptr) {
        log_->serialByte(b, endsLine);
    }
    return done;
}

std::vector<AssembledFrame> ReplyAssembler::feedAll(std::span<const std::uint8_t> bytes) {
    std::vector<AssembledFrame> frames;
    for (std::uint8_t b : bytes) {
        if (auto done = feed(b)) {
            frames.push_back(*done);
        }
    }
    return frames;
}

} // namespace zentrel
