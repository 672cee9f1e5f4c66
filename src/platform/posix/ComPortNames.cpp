#include "ComPortNames.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include <unistd.h>

namespace zentrel {

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
    const std::filesystem::path pinned = comPortDirectory() / ("COM" + std::to_string(com));
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(pinned, ec))) {
        return pinned;
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
