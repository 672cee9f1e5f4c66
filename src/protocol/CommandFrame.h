#pragma once
// The 13-byte frame of every request and reply: A5 5B, command group, command, eight argument
// bytes, and a checksum that makes all thirteen bytes sum to zero modulo 256.
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>

namespace zentrel {

// Where the catalogue's frames keep their arguments, requests and their replies alike: the
// first (a port, an EDID, a setting, a result code, a firmware mark) in byte 4, the EDID
// commands' fixed byte 5, the second (the target port, a state) in byte 6, an EDID download's
// phase in byte 7, and a firmware block's bank mark and id in bytes 9 and 10.
namespace frame_pos {
inline constexpr std::size_t kFirst = 4;
inline constexpr std::size_t kFixed = 5;
inline constexpr std::size_t kSecond = 6;
inline constexpr std::size_t kPhase = 7;
inline constexpr std::size_t kMark = 9;
inline constexpr std::size_t kId = 10;
} // namespace frame_pos

struct CommandFrame {
    static constexpr std::size_t kSize = 13;
    static constexpr std::uint8_t kHead0 = 0xA5;
    static constexpr std::uint8_t kHead1 = 0x5B;

    std::array<std::uint8_t, kSize> bytes{};

    // Builds a frame from bytes 2.. onwards (group, command, arguments); the rest stay 0 and the
    // checksum is filled in.
    static CommandFrame make(std::initializer_list<std::uint8_t> from2);
    static CommandFrame fromBytes(std::span<const std::uint8_t, kSize> raw);

    // Two's complement of the 8-bit sum of bytes 0..11.
    static std::uint8_t checksumOf(std::span<const std::uint8_t> first12);
    void seal() { bytes[12] = checksumOf(std::span(bytes).first(12)); }
    // Sets one argument byte (2..11) and fills in the checksum again, so a page's builder can
    // place its own bytes, e.g. CommandFrame::make({0x01, 0x02}).put(9, 0x40). Bytes 0, 1 and 12
    // belong to the frame itself; asking for them throws std::out_of_range.
    CommandFrame& put(std::size_t pos, std::uint8_t value);
    bool checksumOk() const;
    bool hasHeader() const { return bytes[0] == kHead0 && bytes[1] == kHead1; }

    constexpr std::uint8_t group() const { return bytes[2]; }
    constexpr std::uint8_t command() const { return bytes[3]; }
    std::uint8_t operator[](std::size_t i) const { return bytes[i]; }
    std::uint8_t& operator[](std::size_t i) { return bytes[i]; }

    // "A5 5B 01 04 ..." with one space between bytes and none at the end.
    std::string hex() const;

    friend bool operator==(const CommandFrame&, const CommandFrame&) = default;
};

} // namespace zentrel
