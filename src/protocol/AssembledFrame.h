#pragma once
// A reply frame completed by the serial assembler, with what the dispatchers need to judge it.
#include "CommandFrame.h"

#include <array>
#include <cstdint>

namespace zentrel {

struct AssembledFrame {
    CommandFrame frame;
    // 8-bit sum of the thirteen bytes as they were accepted.
    std::uint8_t runningSum = 0;
    // Each accepted byte as an unsigned value, by its place in the receive-log line.
    std::array<int, CommandFrame::kSize> values{};

    // The serial checksum test: the frame is sound when its bytes sum to zero.
    bool checksumPassed() const { return runningSum == 0; }
};

} // namespace zentrel
