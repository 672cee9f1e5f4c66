#pragma once
// One entry of the traffic on the links: which page, which way, when, the frame's bytes, and
// what they mean.
#include "link/LinkWatch.h"

#include <cstdint>
#include <string>

namespace zentrel {

struct TrafficFrame {
    int page = 0; // 1 General, 2 EDID, 3 Matrix, 4 FW Upgrade
    TrafficDirection direction = TrafficDirection::Sent;
    std::int64_t timeMs = 0; // the event loop's clock
    std::string hex;         // "A5 5B 01 ...", or "257 bytes: A5 5B ..." for a long block
    std::string meaning;     // "route input 3 to output B"; empty when the entry is no hex
};

} // namespace zentrel
