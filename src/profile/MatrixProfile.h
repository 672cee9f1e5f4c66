#pragma once
// What is kept for one matrix: the names people give its ports, the eight stored routings, and for
// a matrix reached over the network its MAC and the addresses it was last found at.
#include <array>
#include <string>
#include <vector>

namespace zentrel {

struct StoredRouting {
    std::string name;
    // For outputs A..H, the input 1..8 each takes from; 0 where nothing was stored.
    std::array<int, 8> inputs{};

    bool operator==(const StoredRouting&) const = default;
};

struct MatrixProfile {
    static constexpr int kPorts = 8;
    static constexpr int kRoutings = 8;
    static constexpr std::size_t kNameLength = 20; // characters, not bytes
    static constexpr std::size_t kIpListLength = 16;

    std::array<std::string, kPorts> inputNames{};  // input 1..8; empty: no name
    std::array<std::string, kPorts> outputNames{}; // output A..H
    std::array<StoredRouting, kRoutings> routings{};
    std::string mac;
    std::vector<std::string> ipList;

    // The profile of a matrix never seen: no names, "Setting1".."Setting8" with nothing stored.
    static MatrixProfile defaults();

    bool operator==(const MatrixProfile&) const = default;
};

} // namespace zentrel
