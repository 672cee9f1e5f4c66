#include "ProfileStore.h"

#include "ProfileError.h"
#include "ProfileJson.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace zentrel {

namespace {

constexpr const char* kPanelFile = "panel";

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
        return home;
    }
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/tmp";
}

} // namespace

ProfileStore::ProfileStore(std::string folder, ProfileFiles& files)
    : folder_(std::move(folder)), files_(files) {}

std::string ProfileStore::defaultFolder() {
    // A relative XDG_CONFIG_HOME is to be ignored: it would put the profiles wherever the panel
    // happened to be started.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string base =
        config != nullptr && *config == '/' ? std::string(config) : homeFolder() + "/.config";
    return base + "/zentrel";
}

std::string ProfileStore::comProfile(int port) {
    return "com" + std::to_string(port);
}

std::string ProfileStore::tcpProfile(const std::string& ip, int port) {
    // Only what an address is made of goes into the file name; anything else could leave the
    // folder ("../") or clash with the lock and set-aside names.
    std::string name = "tcp-";
    for (const char c : ip) {
        const bool fits = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
                          (c >= 'A' && c <= 'Z') || c == ':' || (c == '.' && name.back() != '.');
        name += fits ? c : '_';
    }
    return name + "-" + std::to_string(port);
}

std::string ProfileStore::lastProfile(const PanelState& s) {
    if (s.controlMode == kModeTcp) {
        return s.ip.empty() ? std::string() : tcpProfile(s.ip, s.tcpPort);
    }
    return s.comPort == 0 ? std::string() : comProfile(s.comPort);
}

std::string ProfileStore::pathOf(const std::string& name) const {
    return folder_ + "/" + name + ".json";
}

template <class T>
T ProfileStore::take(const std::string& name, T (*from)(const std::string&),
                     std::string (*to)(const T&), T value, const std::function<void(T&)>* change) {
    notice_.clear();
    failed_ = false;
    const std::string path = pathOf(name);
    const std::string file = name + ".json";
    try {
        files_.makeFolder(folder_);
        files_.locked(path + ".lock", [&] {
            if (const auto bytes = files_.read(path)) {
                try {
                    value = from(*bytes);
                } catch (const ProfileError& e) {
                    files_.rename(path, path + ".bad");
                    notice_ = "The profile " + file + " could not be read: " + e.what() +
                              ". It was set aside as " + file + ".bad; the defaults are used.";
                }
            }
            if (change != nullptr) {
                const T before = value;
                (*change)(value);
                if (value == before) {
                    return; // nothing to write: the flush would only cost time
                }
                const std::string bytes = to(value);
                // What could not be read back would be set aside at the next read, and with it
                // everything else the file holds: such a change is refused, the file kept.
                (void)from(bytes);
                files_.replace(path, path + ".tmp", bytes);
            }
        });
    } catch (const std::exception& e) {
        failed_ = true;
        notice_ = "The profile " + file + " could not be " + (change ? "written" : "read") + ": " +
                  e.what() + ".";
    }
    return value;
}

MatrixProfile ProfileStore::matrix(const std::string& name) {
    return take<MatrixProfile>(name, matrixProfileFrom, profileText, MatrixProfile::defaults(),
                               nullptr);
}

MatrixProfile ProfileStore::changeMatrix(const std::string& name,
                                         const std::function<void(MatrixProfile&)>& change) {
    return take<MatrixProfile>(name, matrixProfileFrom, profileText, MatrixProfile::defaults(),
                               &change);
}

PanelState ProfileStore::panel() {
    return take<PanelState>(kPanelFile, panelStateFrom, panelStateText, PanelState{}, nullptr);
}

PanelState ProfileStore::changePanel(const std::function<void(PanelState&)>& change) {
    return take<PanelState>(kPanelFile, panelStateFrom, panelStateText, PanelState{}, &change);
}

} // namespace zentrel
