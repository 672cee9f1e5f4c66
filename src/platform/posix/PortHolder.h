#pragma once
// Who holds a device: the name of the process whose advisory lock covers it, read from the
// kernel's lock table, so a user told "the port is busy" also learns which program to close.
#include <filesystem>
#include <string>

namespace zentrel {

// The command name of the process holding a lock on `device`; empty when none is known (no lock,
// no permission to see it, or a holder that has gone meanwhile).
std::string portHolderName(const std::filesystem::path& device);

} // namespace zentrel
