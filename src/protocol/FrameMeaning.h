#pragma once
// Any frame in words, for the traffic log, the simulated matrix's log and the command line:
// "route input 3 to output B", "input 1: connected", "firmware block 12 of Part_1". A request
// and its reply share their command bytes, so the words depend on which way the frame went.
// A frame the catalogue does not know gets a neutral text naming its command bytes.
#include "CommandFrame.h"

#include <cstdint>
#include <span>
#include <string>

namespace zentrel {

enum class FrameDirection { ToMatrix, FromMatrix };

std::string describeFrame(const CommandFrame& f, FrameDirection direction);
// The same for bytes as a log line holds them: one frame, or a block or stray bytes, which are
// named by their count.
std::string describeBytes(std::span<const std::uint8_t> bytes, FrameDirection direction);

} // namespace zentrel
