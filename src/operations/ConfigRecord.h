#pragma once
// The 76-byte record that sets a matrix's address: the target's MAC, the static address with
// its gateway and mask, the address mode, the MAC to store, a mode marker, the status byte and
// a checksum. One record lives for the whole run: an Auto IP request leaves bytes 6..17 as the
// last Static IP request of the run put them, which matrices have always been sent.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace zentrel {

class ConfigRecord {
public:
    static constexpr std::size_t kSize = 76;
    static constexpr std::size_t kModeByte = 18;
    static constexpr std::size_t kStatusByte = 74;
    static constexpr std::size_t kChecksumByte = 75;
    static constexpr std::uint8_t kAutoMode = 1;
    static constexpr std::uint8_t kStaticMode = 0;
    static constexpr std::uint8_t kAutoMarker = 0x16;
    static constexpr std::uint8_t kStaticMarker = 0x17;
    static constexpr std::uint8_t kStatusRequest = 0xFF;
    static constexpr std::uint8_t kStatusAccepted = 0x00;

    using Bytes = std::array<std::uint8_t, kSize>;
    using Mac = std::array<std::uint8_t, 6>;
    using Ipv4 = std::array<std::uint8_t, 4>;

    // Bytes 0..5: the matrix the record is for.
    void setTarget(const Mac& mac);
    // Static IP: the address in bytes 6..9, the gateway in 10..13, the mask in 14..17, mode 0
    // and marker 0x17.
    void setStatic(const Ipv4& ip, const Ipv4& gateway, const Ipv4& mask);
    // As the dialog sends it: the gateway is the address's first three octets, then 1, and
    // the mask 255.255.255.0.
    void setStatic(const Ipv4& ip);
    // Auto IP: mode 1 and marker 0x16; bytes 6..17 stay as they were.
    void setAuto();
    // Bytes 19..24: the MAC the matrix is to store.
    void setNewMac(const Mac& mac);
    // Status 0xFF and the checksum; call last.
    void seal();

    const Bytes& bytes() const { return bytes_; }

    // The 8-bit sum of bytes 0..74.
    static std::uint8_t checksum(std::span<const std::uint8_t> first75);

    // Hex text two characters at a time, high digit first, up to the first pair that is not
    // two hex digits; returns how many bytes were written (at most out.size()).
    static std::size_t hexToBytes(const std::string& text, std::span<std::uint8_t> out);
    // One MAC field: exactly two hex digits.
    static std::optional<std::uint8_t> macField(const std::string& text);
    // One octet field: one to three decimal digits with a value of 0..255.
    static std::optional<std::uint8_t> octetField(const std::string& text);
    // A dotted address of four octet fields ("10.0.0.9").
    static std::optional<Ipv4> ipv4(const std::string& text);
    // Twelve hex digits, each pair optionally after a ':' or '-' ("02:5A:45:4E:00:07").
    static std::optional<Mac> mac(const std::string& text);

private:
    Bytes bytes_{};
};

} // namespace zentrel
