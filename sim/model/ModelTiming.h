#pragma once
// How long the matrix takes over things. Tests shorten or lengthen these to reach time-outs.
#include <cstdint>

namespace zentrel::sim {

struct ModelTiming {
    std::int64_t latencyMs = 5;          // from a complete request to its reply
    std::int64_t rebootMs = 3000;        // silence after the reboot command's reply
    std::int64_t upgradeRebootMs = 5000; // silence after a firmware part is complete
    std::int64_t pieceGapMs = 2;         // between the pieces of a split reply
    std::int64_t idleLimitMs = 1000;     // a frame or block pausing longer is given up
};

} // namespace zentrel::sim
