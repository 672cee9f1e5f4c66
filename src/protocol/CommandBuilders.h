#pragma once
// The General page's three frame shapes, as pure functions: they only make the frame. Sending
// and logging are the FrameSender's. Other pages build their own shapes from CommandFrame::make
// and CommandFrame::put.
#include "CommandFrame.h"

#include <cstdint>

namespace zentrel {

// Bytes 2, 3, 4 = g, c, a; bytes 5..11 = 0.
CommandFrame commandFrame(std::uint8_t g, std::uint8_t c, std::uint8_t a);
// As commandFrame, with byte 5 = b5.
CommandFrame commandFrameB5(std::uint8_t g, std::uint8_t c, std::uint8_t a, std::uint8_t b5);
// As commandFrame, with byte 6 = b6 (byte 5 stays 0). Also the Matrix page's shape.
CommandFrame commandFrameB6(std::uint8_t g, std::uint8_t c, std::uint8_t a, std::uint8_t b6);

} // namespace zentrel
