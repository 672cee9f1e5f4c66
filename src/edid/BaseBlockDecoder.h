#pragma once
// The 128-byte base block: identity, display parameters, the timings and the four descriptors.
#include "edid/EdidInfo.h"

#include <cstdint>
#include <span>

namespace edidinfo {

void decodeBaseBlock(std::span<const std::uint8_t, 128> b, EdidInfo& out);

} // namespace edidinfo
