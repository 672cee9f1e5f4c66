#pragma once
// COM numbers on Linux. A port directory lets the simulator, or a user with several adapters, pin
// a device to a COM number the way Windows assigns them; without a link there the usual device
// nodes stand in: COM1-4 the on-board ports, COM5-12 USB adapters, COM13-19 USB modems.
#include <filesystem>

namespace zentrel {

constexpr int kFirstComPort = 1;
constexpr int kLastComPort = 19;

// $XDG_RUNTIME_DIR/zentrel/ports, or /tmp/zentrel-<uid>/ports when that variable is unset.
std::filesystem::path comPortDirectory();

// Whether links in `dir` may be followed: it and the directory above it are real directories of
// this user that no other user can write.
bool comPortDirectoryTrusted(const std::filesystem::path& dir);

// The device to open for COM`com`; empty for a number outside 1..19. Links in a port directory
// that is not trusted are ignored, with one warning on standard error per run.
std::filesystem::path comPortPath(int com);

} // namespace zentrel
