#pragma once
// The Matrix page's switching and routing read-back: its outputs, its timer ids (the page's
// own) and its waits, shared by the switch engine and the status refresh.
#include "session/PendingRequest.h"

namespace zentrel::ops {

constexpr int kOutputs = 8; // outputs the protocol, the template and the engine carry
constexpr int kShown = 4;   // outputs and inputs of a four-by-four unit

constexpr int switchFirstTimer(int k) { // 1, 3, ..., 15
    return 2 * k - 1;
}
constexpr int switchSecondTimer(int k) { // 2, 4, ..., 16
    return 2 * k;
}
constexpr int statusFirstTimer(int k) { // 18, 20, ..., 32
    return 16 + 2 * k;
}
constexpr int statusSecondTimer(int k) { // 19, 21, ..., 33
    return 17 + 2 * k;
}

constexpr int kGridWaitMs = 3000;
constexpr int kWaitMs = 5000;
constexpr int kRefreshFirstWaitMs = 3000;

} // namespace zentrel::ops
