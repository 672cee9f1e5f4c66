#pragma once
// Turns a page's serial byte stream back into 13-byte reply frames. A frame begins only with
// A5; bytes before that are stray and only logged. There is no time-out on a partial frame: it
// waits for its thirteenth byte, and a 13-byte run that does not begin A5 5B is dropped whole.
//
// The assembler finishes all of its own work (state reset, log line) before it hands a frame
// out. A dispatcher may open a modal pop-up whose nested loop delivers further bytes to the
// same page; those must find a clean assembler, never the one still holding the old frame.
#include "AssembledFrame.h"
#include "ReplyLog.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zentrel {

class ReplyAssembler {
public:
    struct Options {
        // The EDID page counts every byte towards its receive-log line, stray bytes included;
        // the other pages count only the bytes taken into a frame.
        bool countsStrayBytes = false;
    };

    explicit ReplyAssembler(ReplyLog* log = nullptr);
    ReplyAssembler(ReplyLog* log, Options options);

    // Takes one byte; returns the frame it completed, if one with the A5 5B header did.
    std::optional<AssembledFrame> feed(std::uint8_t b);
    // Feeds a run of bytes; the frames completed are the same as feeding them one at a time.
    std::vector<AssembledFrame> feedAll(std::span<const std::uint8_t> bytes);

    // Forgets a partly received frame and the log line's count: a new link must not splice its
    // first reply onto bytes left from the old one.
    void reset();

    // Inspection, for tests and diagnostics.
    int length() const { return length_; }
    int logCounter() const { return logCounter_; }
    bool inFrame() const { return inFrame_; }
    std::uint8_t runningSum() const { return runningSum_; }

private:
    ReplyLog* log_;
    Options options_;
    std::array<std::uint8_t, CommandFrame::kSize> buffer_{};
    std::array<int, CommandFrame::kSize> values_{};
    int length_ = 0;
    int logCounter_ = 0;
    bool inFrame_ = false;
    std::uint8_t runningSum_ = 0;
};

} // namespace zentrel
