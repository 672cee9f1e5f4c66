#include "SettingsTransfer.h"

#include "PanelProfiles.h"
#include "platform/UiServices.h"
#include "profile/ProfileError.h"
#include "profile/ProfileJson.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

namespace zentrel {

namespace {

// The whole file, or nothing and why.
std::optional<std::string> readSmallFile(const std::string& path, std::string& why) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    std::string bytes;
    char block[4096];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        bytes.append(block, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > SettingsTransfer::kLargestFile) {
            why = "it is larger than any settings file";
            return std::nullopt;
        }
    }
    if (in.bad()) {
        why = "it could not be read to its end";
        return std::nullopt;
    }
    return bytes;
}

} // namespace

bool SettingsTransfer::haveMatrix() {
    if (profiles_.keeps() && !profiles_.current(owner_).empty()) {
        return true;
    }
    tell(kNoMatrix);
    return false;
}

void SettingsTransfer::tell(const std::string& text) {
    ui_.messageBox(owner_, text, kCaption);
}

void SettingsTransfer::exportFile() {
    if (!haveMatrix()) {
        return;
    }
    const std::optional<std::string> path = ui_.saveFile(kFilter, "zentrel-settings.json");
    if (!path) {
        return;
    }
    const std::string text = profileText(profiles_.matrix(owner_));
    std::ofstream out(*path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        tell("The settings could not be written to " + *path + ": " + std::strerror(errno) + ".");
        return;
    }
    tell("The settings were written to " + *path + ".");
}

bool SettingsTransfer::importFile() {
    if (!haveMatrix()) {
        return false;
    }
    const std::optional<std::string> path = ui_.openFile(kFilter);
    if (!path) {
        return false;
    }
    std::string why;
    const std::optional<std::string> bytes = readSmallFile(*path, why);
    std::optional<MatrixProfile> taken;
    if (bytes) {
        try {
            taken = importedProfile(*bytes, profiles_.matrix(owner_));
        } catch (const ProfileError& e) {
            why = e.what();
        }
    }
    if (!why.empty()) {
        tell("Nothing was imported from " + *path + ": " + why + ".");
        return false;
    }
    // Over the profile as it is on the disk at the write, which the file was checked against
    // above but another program may have changed since.
    profiles_.changeMatrix(owner_, [&](MatrixProfile& p) {
        try {
            p = importedProfile(*bytes, p);
        } catch (const ProfileError&) {
            p = *taken;
        }
    });
    tell("The settings of " + *path + " were imported.");
    return true;
}

} // namespace zentrel
