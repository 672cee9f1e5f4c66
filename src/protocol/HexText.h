#pragma once
// The text the log boxes show for bytes: two upper-case hexadecimal digits and one space each.
#include <cstdint>
#include <span>
#include <string>

namespace zentrel {

// "A5 " for 0xA5, "00 " for 0.
std::string hexByte(std::uint8_t b);
// hexByte of every byte, joined: "A5 5B 01 ".
std::string hexBytes(std::span<const std::uint8_t> bytes);
// The same without the last blank, as frames are written in tests and the simulator's log.
std::string hexList(std::span<const std::uint8_t> bytes);
// The value of one hexadecimal digit, either case; -1 for any other character.
int hexDigitValue(char c);

} // namespace zentrel
