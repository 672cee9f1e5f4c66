#pragma once
// A network namespace of its own for a test: loopback only, with 255.255.255.255 routed to it,
// so broadcasts sent there can never leave the machine's own namespace. Either the test moves
// itself in (its whole process, and every program it starts, stays there), or it runs a
// scenario in a forked child that reports through its exit status.
#include <functional>
#include <string>

namespace zentrel::test {

struct ChildOutcome {
    bool ran = false; // false: no private namespace could be made (see `why`)
    int status = -1;  // the scenario's result, 0 for success
    std::string why;  // why the namespace could not be made
};

// Moves the calling process into a fresh namespace (inside a user namespace when only that gives
// the right). Returns "" once loopback is up, the broadcast address routed to it and no other
// interface is there; otherwise why not, and then nothing may be broadcast.
std::string enterPrivateNetwork();

// `scenario` runs only inside the child, only after the namespace is in place and holds no
// interface but the loopback. The child is given `limitMs` of real time.
ChildOutcome runInPrivateNetwork(const std::function<int()>& scenario, int limitMs = 20000);

} // namespace zentrel::test
