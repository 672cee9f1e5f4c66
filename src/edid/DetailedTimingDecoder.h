#pragma once
// An 18-byte detailed timing descriptor, as the base block and the CTA extension both hold them.
#include "edid/EdidInfo.h"

#include <cstdint>
#include <span>

namespace edidinfo {

// d holds 18 bytes whose pixel clock (the first two) is not zero.
DetailedTiming decodeDetailedTiming(std::span<const std::uint8_t, 18> d);

} // namespace edidinfo
