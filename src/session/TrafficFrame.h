#pragma once
// One entry of the traffic the pages' logs wrote: which page, which way, when, the bytes as the
// log wrote them, and what they mean.
#include <cstdint>
#include <string>

namespace zentrel {

enum class TrafficDirection { Sent, Received };

struct TrafficFrame {
    int page = 0; // 1 General, 2 EDID, 3 Matrix, 4 FW Upgrade
    TrafficDirection direction = TrafficDirection::Sent;
    std::int64_t timeMs = 0; // the event loop's clock
    std::string hex;         // "A5 5B 01 ...", without the log's line break
    std::string meaning;     // "route input 3 to output B"; empty for a line that is no hex
};

} // namespace zentrel
