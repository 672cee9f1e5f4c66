#pragma once
// The EDID the download sends: 256 bytes, all 0 until a file is accepted. A 256-byte file fills
// it; a 128-byte file replaces the first block and keeps the second. The download sends it as
// one 290-byte block: a 0, the 256 bytes, and 33 bytes of 0.
#include "EdidFileCheck.h"

#include <array>
#include <cstdint>
#include <span>

namespace zentrel::edid {

class EdidFileBuffer {
public:
    static constexpr std::size_t kBlockSize = 290;
    using Block = std::array<std::uint8_t, kBlockSize>;

    // Takes a checked file's bytes (128 or 256).
    void accept(std::span<const std::uint8_t> file);
    std::span<const std::uint8_t, kEdidSize> bytes() const { return bytes_; }
    Block block() const;

private:
    std::array<std::uint8_t, kEdidSize> bytes_{};
};

} // namespace zentrel::edid
