#include "HexText.h"

namespace zentrel {

namespace {
constexpr char kDigits[] = "0123456789ABCDEF";
}

std::string hexByte(std::uint8_t b) {
    return std::string{kDigits[b >> 4], kDigits[b & 0x0F], ' '};
}

std::string hexBytes(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
        out += ' ';
    }
    return out;
}

std::string hexList(std::span<const std::uint8_t> bytes) {
    std::string out = hexBytes(bytes);
    if (!out.empty()) {
        out.pop_back();
    }
    return out;
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

} // namespace zentrel
