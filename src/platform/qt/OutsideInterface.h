#pragma once
// Whether a broadcast sent here could leave the machine: programs that broadcast (discovery,
// network configuration, the simulated matrix's UDP side) refuse to, unless told otherwise, when
// an interface other than loopback could carry it to a real network.
#include <string>

namespace zentrel {

// The name of the first interface that is up, not loopback, and can broadcast; empty inside a
// private network namespace that has only its loopback.
std::string outsideInterface();

} // namespace zentrel
