#include "PortHolder.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace zentrel {

std::string portHolderName(const std::filesystem::path& device) {
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0) {
        return {};
    }
    // The table names a file by the device of its file system and its inode, in this form.
    char key[64];
    std::snprintf(key, sizeof key, "%02x:%02x:%llu", major(st.st_dev), minor(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino));
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string index, kind, mode, access, pid, file;
        fields >> index >> kind;
        if (kind == "->") { // a waiter queued behind the holder: not the holder
            continue;
        }
        fields >> mode >> access >> pid >> file;
        if (file != key) {
            continue;
        }
        std::ifstream comm("/proc/" + pid + "/comm");
        std::string name;
        std::getline(comm, name);
        return name.empty() ? name : name + " (process " + pid + ")";
    }
    return {};
}

} // namespace zentrel
