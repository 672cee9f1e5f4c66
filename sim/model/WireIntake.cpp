#include "WireIntake.h"

namespace zentrel::sim {

void WireIntake::push(std::uint8_t byte, std::int64_t nowMs, std::vector<Unit>& done) {
    const bool pausedTooLong = lastByteAt_ && nowMs - *lastByteAt_ > idleLimitMs_;
    lastByteAt_ = nowMs;
    if (pausedTooLong && (!partial_.empty() || inBlock())) {
        flushStray(done);
        // Only a block cut short carries its header; a cut frame has none.
        done.push_back(Unit{Unit::Kind::Abandoned, std::move(partial_),
                            inBlock() ? blockHeader_ : CommandFrame{}});
        partial_.clear();
        blockSize_ = 0;
    }
    if (inBlock()) {
        partial_.push_back(byte);
        if (partial_.size() == blockSize_) {
            done.push_back(Unit{Unit::Kind::Block, std::move(partial_), blockHeader_});
            partial_.clear();
            blockSize_ = 0;
        }
        return;
    }
    if (partial_.empty() && byte != CommandFrame::kHead0) {
        stray_.push_back(byte);
        return;
    }
    if (partial_.empty()) {
        flushStray(done);
    }
    partial_.push_back(byte);
    if (partial_.size() == CommandFrame::kSize) {
        done.push_back(Unit{Unit::Kind::Frame, std::move(partial_), {}});
        partial_.clear();
    }
}

void WireIntake::flushStray(std::vector<Unit>& done) {
    if (!stray_.empty()) {
        done.push_back(Unit{Unit::Kind::Stray, std::move(stray_), {}});
        stray_.clear();
    }
}

void WireIntake::expectBlock(std::size_t size, const CommandFrame& header) {
    blockSize_ = size;
    blockHeader_ = header;
    partial_.clear();
}

} // namespace zentrel::sim
