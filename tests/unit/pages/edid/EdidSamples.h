#pragma once
// EDID bytes for the tests of the EDID page, on the virtual clock and against the simulator.
#include <algorithm>
#include <cstdint>
#include <vector>

namespace zentrel::testing {

// A 256-byte EDID with the fixed header, `extensions` in byte 126 and every block summing to 0.
inline std::vector<std::uint8_t> goodEdid(std::uint8_t extensions = 1, std::uint8_t seed = 0x10) {
    std::vector<std::uint8_t> e(256);
    for (std::size_t i = 0; i < e.size(); ++i) {
        e[i] = static_cast<std::uint8_t>(seed + i * 7);
    }
    const std::uint8_t header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::copy(std::begin(header), std::end(header), e.begin());
    e[126] = extensions;
    for (std::size_t block : {0u, 128u}) {
        std::uint8_t sum = 0;
        for (std::size_t i = block; i < block + 127; ++i) {
            sum = static_cast<std::uint8_t>(sum + e[i]);
        }
        e[block + 127] = static_cast<std::uint8_t>(0x100 - sum);
    }
    return e;
}

} // namespace zentrel::testing
