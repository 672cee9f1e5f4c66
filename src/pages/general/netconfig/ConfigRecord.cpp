#include "ConfigRecord.h"

#include <algorithm>

namespace zentrel {

namespace {

int hexValue(char c) {
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

} // namespace

void ConfigRecord::setTarget(const Mac& mac) {
    std::copy(mac.begin(), mac.end(), bytes_.begin());
}

void ConfigRecord::setStatic(const Ipv4& ip) {
    std::copy(ip.begin(), ip.end(), bytes_.begin() + 6);
    std::copy(ip.begin(), ip.begin() + 3, bytes_.begin() + 10);
    bytes_[13] = 1;
    bytes_[14] = 255;
    bytes_[15] = 255;
    bytes_[16] = 255;
    bytes_[17] = 0;
    bytes_[kModeByte] = kStaticMode;
    bytes_[25] = kStaticMarker;
}

void ConfigRecord::setAuto() {
    bytes_[kModeByte] = kAutoMode;
    bytes_[25] = kAutoMarker;
}

void ConfigRecord::setNewMac(const Mac& mac) {
    std::copy(mac.begin(), mac.end(), bytes_.begin() + 19);
}

void ConfigRecord::seal() {
    bytes_[kStatusByte] = kStatusRequest;
    bytes_[kChecksumByte] = checksum(std::span<const std::uint8_t>(bytes_).first(75));
}

std::uint8_t ConfigRecord::checksum(std::span<const std::uint8_t> first75) {
    std::uint8_t sum = 0;
    for (std::uint8_t b : first75) {
        sum = static_cast<std::uint8_t>(sum + b);
    }
    return sum;
}

std::size_t ConfigRecord::hexToBytes(const std::string& text, std::span<std::uint8_t> out) {
    std::size_t n = 0;
    for (std::size_t i = 0; i + 2 <= text.size() && n < out.size(); i += 2) {
        const int hi = hexValue(text[i]);
        const int lo = hexValue(text[i + 1]);
        if (hi < 0 || lo < 0) {
            break;
        }
        out[n++] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    return n;
}

std::optional<std::uint8_t> ConfigRecord::macField(const std::string& text) {
    std::array<std::uint8_t, 1> b{};
    if (text.size() != 2 || hexToBytes(text, b) != 1) {
        return std::nullopt;
    }
    return b[0];
}

std::optional<std::uint8_t> ConfigRecord::octetField(const std::string& text) {
    if (text.empty() || text.size() > 3) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    if (value > 255) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

} // namespace zentrel
