#include "CtlProgram.h"

#include "DiscoverWindow.h"

#include "edid/EdidDecoder.h"
#include "edid/EdidJson.h"
#include "edid/EdidText.h"

#include "platform/posix/ComPortNames.h"
#include "platform/posix/PortHolder.h"
#include "platform/posix/PosixSerialDevice.h"
#include "platform/qt/OutsideInterface.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace zentrel::cli {

namespace {

std::string words(const std::vector<std::string>& command) {
    std::string s;
    for (const std::string& w : command) {
        s += (s.empty() ? "" : " ") + w;
    }
    return s;
}

bool needsProfiles(const std::string& first) {
    return first == "preset" || first == "names" || first == "name";
}

// "0011223344AA" as "00:11:22:33:44:AA".
std::string colonMac(const std::string& hex) {
    std::string s;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        s += (i == 0 ? "" : ":") + hex.substr(i, 2);
    }
    return s;
}

} // namespace

int CtlProgram::discover() {
    DiscoverWindow search(loop_, network_);
    if (!search.run(request_.listenMs)) {
        return report_.fail(ExitCode::NoLink, Discovery::kSearchFailedText,
                            "(UDP port " + std::to_string(Discovery::kPort) +
                                " could not be opened)");
    }
    const auto found = search.found();
    if (found.empty()) {
        return report_.fail(ExitCode::NoAnswer, "no matrix answered",
                            "within " + std::to_string(request_.listenMs) + " ms");
    }
    nlohmann::json list = nlohmann::json::array();
    std::string lines;
    for (const auto& f : found) {
        list.push_back({{"ip", f.ip}, {"mac", colonMac(f.mac)}});
        char line[64];
        std::snprintf(line, sizeof line, "%-15s  %s\n", f.ip.c_str(), colonMac(f.mac).c_str());
        lines += line;
    }
    return report_.done({{"matrices", list}}, lines);
}

std::optional<int> CtlProgram::checkInput() {
    const auto& c = request_.command;
    if (c.size() == 2 && c[0] == "edid" && (c[1] == "upload" || c[1] == "decode")) {
        const std::string& file = request_.operands.back();
        std::error_code ec;
        const auto size = std::filesystem::file_size(file, ec);
        if (ec || (size != 128 && size != 256)) {
            return report_.fail(ExitCode::Usage, "not an EDID file: " + file,
                                "(an EDID file holds 128 or 256 bytes)");
        }
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        edid_ = edidinfo::decodeEdid(bytes);
        // The page refuses such a file with these words; the tool adds why.
        if (!edid_->valid()) {
            std::string why;
            for (const std::string& p : edid_->problems) {
                why += " " + p;
            }
            return report_.fail(ExitCode::Usage, "Please select the correct EDID file!",
                                "(" + file + ":" + why + ")", edidinfo::edidJson(*edid_));
        }
    }
    return std::nullopt;
}

std::optional<int> CtlProgram::checkBroadcast() {
    const std::string& first = request_.command.front();
    if ((first != "discover" && first != "config") || request_.udpOnAnyNetwork) {
        return std::nullopt;
    }
    const std::string iface = outsideInterface();
    if (iface.empty()) {
        return std::nullopt;
    }
    return report_.fail(ExitCode::Usage,
                        first + " answers by broadcast, and interface " + iface +
                            " may carry it to a real network.",
                        "Run it inside a private network namespace (unshare -rn) or add "
                        "--udp-on-any-network.");
}

std::optional<int> CtlProgram::resolveTarget() {
    CtlTarget& t = request_.target;
    switch (t.kind) {
    case CtlTarget::Kind::Last:
        // The last target the panel or the tool used belongs to the stored profiles.
        return report_.fail(ExitCode::Usage,
                            "no target:", "give --com N, --device PATH or --tcp HOST[:PORT]");
    case CtlTarget::Kind::Com:
        t.device = comPortPath(t.com).string();
        return std::nullopt;
    case CtlTarget::Kind::Device:
    case CtlTarget::Kind::Tcp:
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<int> CtlProgram::probeSerial() {
    const CtlTarget& t = request_.target;
    if (t.kind != CtlTarget::Kind::Com && t.kind != CtlTarget::Kind::Device) {
        return std::nullopt;
    }
    PosixSerialDevice device;
    if (device.open(t.device)) {
        return std::nullopt;
    }
    std::string detail = t.kind == CtlTarget::Kind::Com
                             ? "(COM" + std::to_string(t.com) + ", " + t.device + ")"
                             : "(" + t.device + ")";
    const std::string holder = portHolderName(t.device);
    if (!holder.empty()) {
        detail += ": held by " + holder;
    }
    return report_.fail(ExitCode::NoLink, "Open COM failed!", detail);
}

int CtlProgram::run() {
    const std::string command = words(request_.command);
    if (auto rc = checkInput()) {
        return *rc;
    }
    if (request_.command == std::vector<std::string>{"edid", "decode"}) {
        return report_.done(edidinfo::edidJson(*edid_), edidinfo::edidReport(*edid_));
    }
    if (needsProfiles(request_.command.front())) {
        return report_.fail(ExitCode::Usage, command + ": not available yet",
                            "(needs the stored profiles)");
    }
    if (auto rc = checkBroadcast()) {
        return *rc;
    }
    if (request_.command.front() == "discover") {
        return discover();
    }
    if (auto rc = resolveTarget()) {
        return *rc;
    }
    if (auto rc = probeSerial()) {
        return *rc;
    }
    // The matrix conversations are the pages' operations; until they run without a page, no
    // command talks to the matrix from here, and none has a second copy of them.
    return report_.fail(ExitCode::Usage, command + ": not available yet",
                        "(its operation does not yet run without the panel)");
}

} // namespace zentrel::cli
