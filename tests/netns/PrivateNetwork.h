#pragma once
// Runs a scenario in a forked child that lives in a network namespace of its own: loopback only,
// with 255.255.255.255 routed to it. Broadcasts sent there can never leave the machine's own
// namespace. The child reports through its exit status.
#include <functional>
#include <string>

namespace zentrel::test {

struct ChildOutcome {
    bool ran = false; // false: no private namespace could be made (see `why`)
    int status = -1;  // the scenario's result, 0 for success
    std::string why;  // why the namespace could not be made
};

// `scenario` runs only inside the child, only after the namespace is in place and holds no
// interface but the loopback. The child is given `limitMs` of real time.
ChildOutcome runInPrivateNetwork(const std::function<int()>& scenario, int limitMs = 20000);

} // namespace zentrel::test
