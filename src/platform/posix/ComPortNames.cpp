#include "ComPortNames.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace zentrel {

namespace {

// Only this user may have made or changed the directory: a user who could write into it could
// point a COM number at a terminal of their own and read or answer everything sent there. A
// group of the user's own may write (user private groups), the others may not.
bool onlyOwnerWrites(const std::filesystem::path& dir) {
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
        return false;
    }
    if ((st.st_mode & S_IWOTH) != 0) {
        return false;
    }
    return (st.st_mode & S_IWGRP) == 0 || st.st_gid == ::getegid();
}

} // namespace

bool comPortDirectoryTrusted(const std::filesystem::path& dir) {
    return onlyOwnerWrites(dir) && onlyOwnerWrites(dir.parent_path());
}

std::filesystem::path comPortDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] != '\0') {
        return std::filesystem::path(runtime) / "zentrel" / "ports";
    }
    return std::filesystem::path("/tmp") / ("zentrel-" + std::to_string(getuid())) / "ports";
}

std::filesystem::path comPortPath(int com) {
    if (com < kFirstComPort || com > kLastComPort) {
        return {};
    }
    const std::filesystem::path dir = comPortDirectory();
    const std::filesystem::path pinned = dir / ("COM" + std::to_string(com));
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(pinned, ec))) {
        if (comPortDirectoryTrusted(dir)) {
            return pinned;
        }
        static std::atomic<bool> warned = false;
        if (!warned.exchange(true)) {
            std::fprintf(stderr,
                         "zentrel: ignoring the COM port links in %s: the directory or the one "
                         "above it is not this user's alone\n",
                         dir.c_str());
        }
    }
    if (com <= 4) {
        return "/dev/ttyS" + std::to_string(com - 1);
    }
    if (com <= 12) {
        return "/dev/ttyUSB" + std::to_string(com - 5);
    }
    return "/dev/ttyACM" + std::to_string(com - 13);
}

} // namespace zentrel
