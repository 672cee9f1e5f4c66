#pragma once
// The text of a display descriptor (name, serial, free text): up to 13 characters, ended by a
// line feed and padded with blanks.
#include <cstdint>
#include <span>
#include <string>

namespace edidinfo {

std::string descriptorText(std::span<const std::uint8_t, 18> d);

} // namespace edidinfo
