#include "ConfigRecord.h"

#include "protocol/HexText.h"

#include <algorithm>

namespace zentrel {

void ConfigRecord::setTarget(const Mac& mac) {
    std::copy(mac.begin(), mac.end(), bytes_.begin());
}

void ConfigRecord::setStatic(const Ipv4& ip, const Ipv4& gateway, const Ipv4& mask) {
    std::copy(ip.begin(), ip.end(), bytes_.begin() + 6);
    std::copy(gateway.begin(), gateway.end(), bytes_.begin() + 10);
    std::copy(mask.begin(), mask.end(), bytes_.begin() + 14);
    bytes_[kModeByte] = kStaticMode;
    bytes_[25] = kStaticMarker;
}

void ConfigRecord::setStatic(const Ipv4& ip) {
    setStatic(ip, {ip[0], ip[1], ip[2], 1}, {255, 255, 255, 0});
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
        const int hi = hexDigitValue(text[i]);
        const int lo = hexDigitValue(text[i + 1]);
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

std::optional<ConfigRecord::Ipv4> ConfigRecord::ipv4(const std::string& text) {
    Ipv4 out{};
    std::size_t start = 0;
    for (std::size_t k = 0; k < out.size(); ++k) {
        const std::size_t dot = k + 1 < out.size() ? text.find('.', start) : text.size();
        if (dot == std::string::npos) {
            return std::nullopt;
        }
        const auto octet = octetField(text.substr(start, dot - start));
        if (!octet) {
            return std::nullopt;
        }
        out[k] = *octet;
        start = dot + 1;
    }
    return out;
}

std::optional<ConfigRecord::Mac> ConfigRecord::mac(const std::string& text) {
    std::string digits;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A separator may stand only between two pairs.
        const bool between = i % 3 == 2 && i + 1 < text.size();
        if (between && (text[i] == ':' || text[i] == '-')) {
            continue;
        }
        digits += text[i];
    }
    Mac out{};
    if (digits.size() != 2 * out.size() || hexToBytes(digits, out) != out.size()) {
        return std::nullopt;
    }
    return out;
}

} // namespace zentrel
