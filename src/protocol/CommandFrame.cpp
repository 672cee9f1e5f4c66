#include "CommandFrame.h"

#include "HexText.h"

#include <stdexcept>

namespace zentrel {

CommandFrame CommandFrame::make(std::initializer_list<std::uint8_t> from2) {
    CommandFrame f;
    f.bytes[0] = kHead0;
    f.bytes[1] = kHead1;
    std::size_t i = 2;
    for (std::uint8_t b : from2) {
        if (i >= 12) {
            break;
        }
        f.bytes[i++] = b;
    }
    f.seal();
    return f;
}

CommandFrame CommandFrame::fromBytes(std::span<const std::uint8_t, kSize> raw) {
    CommandFrame f;
    for (std::size_t i = 0; i < kSize; ++i) {
        f.bytes[i] = raw[i];
    }
    return f;
}

CommandFrame& CommandFrame::put(std::size_t pos, std::uint8_t value) {
    if (pos < 2 || pos >= kSize - 1) {
        throw std::out_of_range("CommandFrame::put: only bytes 2..11 carry arguments");
    }
    bytes[pos] = value;
    seal();
    return *this;
}

std::uint8_t CommandFrame::checksumOf(std::span<const std::uint8_t> first12) {
    std::uint8_t sum = 0;
    for (std::uint8_t b : first12) {
        sum = static_cast<std::uint8_t>(sum + b);
    }
    return static_cast<std::uint8_t>(0 - sum);
}

bool CommandFrame::checksumOk() const {
    std::uint8_t sum = 0;
    for (std::uint8_t b : bytes) {
        sum = static_cast<std::uint8_t>(sum + b);
    }
    return sum == 0;
}

std::string CommandFrame::hex() const {
    return hexList(bytes);
}

} // namespace zentrel
