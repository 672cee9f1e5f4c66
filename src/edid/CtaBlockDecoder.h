#pragma once
// One CTA-861 extension block: its data blocks and its own detailed timings.
#include "edid/EdidInfo.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace edidinfo {

CtaExtension decodeCtaBlock(std::span<const std::uint8_t, 128> b,
                            std::vector<std::string>& problems);

} // namespace edidinfo
