#pragma once
// Any frame in words, for the traffic log, the simulated matrix's log and the command line:
// "route input 3 to output B", "input 1: connected", "firmware block 12 of Part_1". A request
// and its reply share their command bytes, so the words depend on which way the frame went.
// A frame the catalogue does not know gets a neutral text naming its command bytes.
#include "CommandFrame.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zentrel {

enum class FrameDirection { ToMatrix, FromMatrix };

std::string describeFrame(const CommandFrame& f, FrameDirection direction);
// The same for a log line's bytes ("A5 5B 01 ..."): one frame, a frame after stray bytes, or a
// block or stray bytes alone, named by their count. A line that is no hex text has no words.
std::string describeHex(std::string_view hex, FrameDirection direction);

} // namespace zentrel
