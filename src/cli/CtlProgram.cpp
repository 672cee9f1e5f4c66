#include "CtlProgram.h"

#include "ConfigRun.h"
#include "CtlSession.h"
#include "CtlUpgrade.h"
#include "DiscoverWindow.h"
#include "EdidRun.h"
#include "PortNames.h"
#include "ProfileRun.h"
#include "RouteRun.h"
#include "StatusRun.h"
#include "UnitRun.h"

#include "edid/EdidDecoder.h"
#include "edid/EdidJson.h"
#include "edid/EdidText.h"
#include "operations/EdidFileCheck.h"
#include "operations/EdidTexts.h"

#include "platform/posix/ComPortNames.h"
#include "platform/qt/OutsideInterface.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace zentrel::cli {

namespace {

std::string words(const std::vector<std::string>& command) {
    std::string s;
    for (const std::string& w : command) {
        s += (s.empty() ? "" : " ") + w;
    }
    return s;
}

// An EDID target input as a position, "all" as EdidRun::kAllInputs. Whether the unit has it is
// known once it has told its size.
std::optional<int> edidInput(const std::string& text) {
    return text == "all" ? EdidRun::kAllInputs : parseInput(text);
}

// The commands on the kept profile alone; `preset apply` also routes.
bool profileOnly(const std::vector<std::string>& command) {
    const std::string& first = command.front();
    return first == "names" || first == "name" || first == "export" || first == "import" ||
           (first == "preset" && command[1] != "apply");
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
        // What the page takes, no more: a file with two or more extensions it ignores.
        const edid::EdidFileVerdict verdict =
            edid::checkEdidFile(bytes, edid::EdidFileBuffer{}.bytes());
        if (verdict.kind != edid::EdidFileVerdict::Kind::Accept) {
            return report_.fail(ExitCode::Usage, edid::kBadFile, "(" + file + ")");
        }
        edidBytes_ = bytes;
    }
    if (const std::string problem = ProfileRun::operandProblem(request_); !problem.empty()) {
        return report_.fail(ExitCode::Usage, problem);
    }
    if (c.size() == 2 && c[0] == "edid" && c[1] != "status" && c[1] != "decode") {
        const auto& ops = request_.operands;
        const std::string& in = c[1] == "copy" ? ops[1] : ops[0];
        if (!edidInput(in)) {
            return report_.fail(ExitCode::Usage, "not an input 1..8 or all: " + in);
        }
        if (c[1] == "copy" && !parseOutput(ops[0])) {
            return report_.fail(ExitCode::Usage, "not an output A..H or 1..8: " + ops[0]);
        }
        if (c[1] == "set" && !EdidRun::parseMode(ops[1])) {
            return report_.fail(ExitCode::Usage, "not an EDID mode 1..15 or its text: " + ops[1]);
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
    case CtlTarget::Kind::Last: {
        const PanelState last = store_.panel();
        tellSetAside();
        if (ProfileStore::lastProfile(last).empty()) {
            return report_.fail(ExitCode::Usage, "no target:",
                                "give --com N, --device PATH or --tcp HOST[:PORT] (neither the "
                                "panel nor the tool has used one yet)");
        }
        if (last.controlMode == kModeTcp) {
            t.kind = CtlTarget::Kind::Tcp;
            t.host = last.ip;
            t.port = last.tcpPort;
            return std::nullopt;
        }
        t.kind = CtlTarget::Kind::Com;
        t.com = last.comPort;
        t.device = comPortPath(t.com).string();
        return std::nullopt;
    }
    case CtlTarget::Kind::Com:
        t.device = comPortPath(t.com).string();
        return std::nullopt;
    case CtlTarget::Kind::Device:
    case CtlTarget::Kind::Tcp:
        return std::nullopt;
    }
    return std::nullopt;
}

std::string CtlProgram::profileName() const {
    const CtlTarget& t = request_.target;
    switch (t.kind) {
    case CtlTarget::Kind::Com:
        return ProfileStore::comProfile(t.com);
    case CtlTarget::Kind::Tcp:
        return ProfileStore::tcpProfile(t.host, t.port);
    case CtlTarget::Kind::Last:
    case CtlTarget::Kind::Device:
        break;
    }
    return {};
}

void CtlProgram::keepTarget() {
    const CtlTarget& t = request_.target;
    if (t.kind != CtlTarget::Kind::Com && t.kind != CtlTarget::Kind::Tcp) {
        return; // a device by path is no target the panel could take up
    }
    // Only as the panel keeps it: a failure here is no failure of the command.
    store_.changePanel([&t](PanelState& kept) {
        if (t.kind == CtlTarget::Kind::Com) {
            kept.controlMode = kModeCom;
            kept.comPort = t.com;
        } else {
            kept.controlMode = kModeTcp;
            kept.ip = t.host;
            kept.tcpPort = t.port;
        }
    });
    tellSetAside();
}

void CtlProgram::tellSetAside() {
    if (!store_.failed() && !store_.notice().empty()) {
        report_.warn(store_.notice());
    }
}

std::optional<int> CtlProgram::onProfile() {
    const std::vector<std::string>& c = request_.command;
    if (!profileOnly(c) && c.front() != "preset") {
        return std::nullopt;
    }
    const std::string profile = profileName();
    if (profile.empty()) {
        return report_.fail(ExitCode::Usage, words(c) + ": a device given by path has no profile",
                            "(give --com N or --tcp HOST[:PORT])");
    }
    ProfileRun kept(store_, profile, report_);
    if (profileOnly(c)) {
        keepTarget();
        return kept.run(request_);
    }
    int status = 0;
    preset_ = kept.preset(*parseInput(request_.operands.front()) + 1, status);
    if (!preset_) {
        return status;
    }
    if (preset_->inputs == ProfileRun::Inputs{}) {
        return report_.fail(ExitCode::Usage, words(c) + " " + request_.operands.front() +
                                                 ": the preset stores no routing");
    }
    return std::nullopt; // the routing is applied once the link is open
}

int CtlProgram::run() {
    if (auto rc = checkInput()) {
        return *rc;
    }
    if (request_.command == std::vector<std::string>{"edid", "decode"}) {
        return report_.done(edidinfo::edidJson(*edid_), edidinfo::edidReport(*edid_));
    }
    if (auto rc = checkBroadcast()) {
        return *rc;
    }
    if (request_.command.front() == "discover") {
        return discover();
    }
    if (request_.command.front() == "config") {
        return runConfig(request_, report_, loop_, network_);
    }
    if (auto rc = resolveTarget()) {
        return *rc;
    }
    if (auto rc = onProfile()) {
        return *rc;
    }
    std::optional<CtlUpgrade> upgrade;
    if (request_.command.front() == "upgrade") {
        upgrade.emplace(request_.operands.front(), request_.quiet || request_.json
                                                       ? UpgradeBar::Style::Quiet
                                                   : ::isatty(2) != 0 ? UpgradeBar::Style::Terminal
                                                                      : UpgradeBar::Style::Lines);
        if (const auto refused = upgrade->load()) {
            return report_.fail(refused->code, refused->text, refused->detail);
        }
    }
    CtlSession session(loop_, network_, request_.target);
    if (const auto failed = session.open()) {
        return report_.fail(failed->code, failed->text, failed->detail);
    }
    keepTarget(); // as the panel keeps it, once the link works
    if (upgrade) {
        const CtlSession::Outcome end = upgrade->run(session);
        if (end.code != ExitCode::Done) {
            return report_.fail(end.code, end.text, end.detail);
        }
        return report_.done({}, end.text + "\n");
    }
    return converse(session);
}

int CtlProgram::converse(CtlSession& session) {
    const std::string command = words(request_.command);
    const std::string& first = request_.command.front();
    auto ended = [&](const CtlSession::Outcome& o, const nlohmann::json& fields,
                     const std::string& lines) {
        if (o.code != ExitCode::Done) {
            return report_.fail(o.code, o.text, o.detail); // nothing half-read is reported
        }
        return report_.done(fields, lines);
    };
    // The unit has told its size only now; nothing that changes it has been sent. Ports are
    // route operands: an input, then outputs.
    auto outsideUnit = [&](const std::vector<std::string>& ports) -> std::optional<int> {
        const MatrixSize& size = session.state().size();
        const std::string wrong = portsOutside(ports, size);
        if (wrong.empty()) {
            return std::nullopt;
        }
        return report_.fail(ExitCode::Usage, command + ": " + wrong,
                            "(the unit is " + std::to_string(size.inputs) + "x" +
                                std::to_string(size.outputs) + ")");
    };
    if (first == "status") {
        StatusRun status(session);
        const CtlSession::Outcome o = status.run();
        return ended(o, status.json(), status.lines());
    }
    if (first == "routing" || first == "route") {
        RouteRun routing(session);
        CtlSession::Outcome o;
        if (first == "routing") {
            o = routing.readRouting();
        } else {
            const auto& ops = request_.operands;
            if (const auto rc = outsideUnit(ops)) {
                return *rc;
            }
            const MatrixSize& size = session.state().size();
            const std::vector<int> chosen =
                parseOutputs({ops.begin() + 1, ops.end()}, size.outputs).value();
            std::vector<int> outputs;
            for (int k : chosen) {
                outputs.push_back(k + 1);
            }
            o = routing.route(*parseInput(request_.operands.front()) + 1, outputs);
        }
        return ended(o, routing.json(), routing.lines());
    }
    if (first == "preset") {
        const int n = *parseInput(request_.operands.front()) + 1;
        const MatrixSize& size = session.state().size();
        if (const std::string wrong = ProfileRun::unfit(n, *preset_, size); !wrong.empty()) {
            return report_.fail(ExitCode::Usage, command + ": " + wrong,
                                "(the unit is " + std::to_string(size.inputs) + "x" +
                                    std::to_string(size.outputs) + ")");
        }
        RouteRun routing(session);
        const CtlSession::Outcome o = routing.apply(preset_->inputs);
        nlohmann::json fields = routing.json();
        fields["preset"] = n;
        return ended(o, fields, routing.lines());
    }
    if (first == "beep" || first == "ir" || first == "power" || first == "reboot" ||
        first == "factory-reset") {
        UnitRun unit(session);
        const bool on = !request_.operands.empty() && request_.operands.front() == "on";
        const CtlSession::Outcome o = unit.run(first, on);
        return ended(o, nlohmann::json::object(),
                     unit.doneText().empty() ? "" : unit.doneText() + "\n");
    }
    if (first == "edid") {
        EdidRun run(session);
        const auto& ops = request_.operands;
        const std::string& what = request_.command[1];
        if (what != "status") {
            // The input ("all" has every one), and the output of a copy.
            const std::string& in = what == "copy" ? ops[1] : ops[0];
            std::vector<std::string> ports{in == "all" ? "1" : in};
            if (what == "copy") {
                ports.push_back(ops[0]);
            }
            if (const auto rc = outsideUnit(ports)) {
                return *rc;
            }
        }
        CtlSession::Outcome o;
        if (what == "status") {
            o = run.status();
        } else if (what == "set") {
            o = run.setMode(*edidInput(ops[0]), *EdidRun::parseMode(ops[1]));
        } else if (what == "copy") {
            o = run.copy(*parseOutput(ops[0]), *edidInput(ops[1]));
        } else {
            o = run.upload(*edidInput(ops[0]), edidBytes_);
        }
        return ended(o, run.json(), run.lines());
    }
    // A command whose operation does not run without its page yet: nothing has been sent.
    return report_.fail(ExitCode::Usage, command + ": not available yet",
                        "(its operation does not yet run without the panel)");
}

} // namespace zentrel::cli
