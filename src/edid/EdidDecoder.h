#pragma once
// decodeEdid: what an EDID's bytes say, with each block's checksum judged and every structural
// problem named. It reads only whole 128-byte blocks of the data given, so any input ends.
#include "edid/EdidInfo.h"

#include <cstdint>
#include <span>

namespace edidinfo {

EdidInfo decodeEdid(std::span<const std::uint8_t> bytes);

} // namespace edidinfo
