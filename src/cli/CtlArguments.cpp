#include "CtlArguments.h"

#include "ExitCode.h"
#include "PortNames.h"
#include "ZentrelVersion.h"

#include <CLI/CLI.hpp>

#include <deque>
#include <iostream>

namespace zentrel::cli {

namespace {

constexpr const char* kVersion = ZENTREL_VERSION;

// Operand checks for CLI11: the error text is what the user reads after the operand's name.
const CLI::Validator
    kInput([](std::string& s) { return parseInput(s) ? std::string() : "not an input 1..8: " + s; },
           "IN");
const CLI::Validator kOutput(
    [](std::string& s) {
        return s == "all" || parseOutput(s) ? std::string() : "not an output A..H or 1..8: " + s;
    },
    "OUT");
const CLI::Validator kInputOrAll(
    [](std::string& s) {
        return s == "all" || parseInput(s) ? std::string() : "not an input 1..8 or all: " + s;
    },
    "IN");
const CLI::Validator kPreset(
    [](std::string& s) { return parseInput(s) ? std::string() : "not a preset 1..8: " + s; }, "N");
const CLI::Validator kOnOff(
    [](std::string& s) { return s == "on" || s == "off" ? std::string() : "on or off: " + s; },
    "on|off");

// Adds a command whose words end the request's command path when it is the one chosen.
CLI::App* command(CLI::App& parent, const std::string& name, const std::string& about) {
    CLI::App* c = parent.add_subcommand(name, about);
    c->fallthrough(); // the tool's options may also follow the command
    return c;
}

// The words of the chosen command, and its operands in their order.
void readChosen(const CLI::App& app, CtlRequest& r) {
    const CLI::App* at = &app;
    for (;;) {
        const auto chosen = at->get_subcommands();
        if (chosen.empty()) {
            break;
        }
        at = chosen.front();
        r.command.push_back(at->get_name());
    }
    for (const CLI::Option* o : at->get_options()) {
        if (o->get_positional()) {
            r.operands.insert(r.operands.end(), o->results().begin(), o->results().end());
        }
    }
}

} // namespace

ParseOutcome parseArguments(int argc, const char* const* argv) {
    CLI::App app("Drives one HDMI matrix switcher over RS-232 or TCP, as the panel does.",
                 "zentrel-ctl");
    app.set_version_flag("--version", std::string("zentrel-ctl ") + kVersion);
    app.require_subcommand(1);

    CtlRequest r;
    std::string tcp;
    auto* com = app.add_option("--com", r.target.com,
                               "COM port N (1..19), found as the panel "
                               "finds it: the port directory first")
                    ->check(CLI::Range(1, 19));
    auto* device = app.add_option("--device", r.target.device, "the serial device at PATH");
    auto* tcpOpt = app.add_option("--tcp", tcp, "the matrix at HOST[:PORT] (port 8000 if none)");
    com->excludes(device)->excludes(tcpOpt);
    device->excludes(tcpOpt);
    app.add_flag("--json", r.json, "print one JSON object on standard output");
    app.add_flag("--quiet", r.quiet, "print nothing but errors");

    // Operands are read back from the chosen command after the parse, in their order.
    // The bound variables give each operand its type, one word or many.
    std::deque<std::string> one;
    std::deque<std::vector<std::string>> many;
    auto operand = [&](CLI::App* c, const std::string& name, const std::string& about,
                       const CLI::Validator& v, bool several = false) {
        CLI::Option* o = several ? c->add_option(name, many.emplace_back(), about)
                                 : c->add_option(name, one.emplace_back(), about);
        o->required()->check(v);
    };
    const CLI::Validator any([](std::string&) { return std::string(); }, "");

    command(app, "status", "device type and model, firmware version, every port's state");
    command(app, "routing", "which input each output shows, read back from the matrix");
    auto* route = command(app, "route", "route input IN to outputs OUT (A..H or 1..8, or all)");
    operand(route, "IN", "input 1..8", kInput);
    operand(route, "OUT", "outputs A..H or 1..8, or all", kOutput, true);

    auto* preset = command(app, "preset", "the eight stored routings");
    preset->require_subcommand(1);
    command(*preset, "list", "every stored routing");
    operand(command(*preset, "show", "one stored routing"), "N", "preset 1..8", kPreset);
    operand(command(*preset, "apply", "route as preset N says, output after output"), "N",
            "preset 1..8", kPreset);
    auto* presetSet = command(*preset, "set", "store ROUTING as preset N");
    operand(presetSet, "N", "preset 1..8", kPreset);
    operand(presetSet, "ROUTING", "the inputs of outputs 1.., e.g. 1,2,3,4", any);
    presetSet->add_option("--name", r.name, "the preset's name (kept if not given)");

    auto* edid = command(app, "edid", "the inputs' EDIDs");
    edid->require_subcommand(1);
    command(*edid, "status", "each input's EDID, in the EDID page's words");
    auto* edidSet = command(*edid, "set", "give input IN a built-in EDID");
    operand(edidSet, "IN", "input 1..8, or all", kInputOrAll);
    operand(edidSet, "MODE", "1..15, or its text (\"1080p,Stereo Audio 2.0\")", any);
    auto* edidCopy = command(*edid, "copy", "copy output OUT's EDID to input IN");
    operand(edidCopy, "OUT", "output A..H or 1..8", kOutput);
    operand(edidCopy, "IN", "input 1..8, or all", kInputOrAll);
    auto* upload = command(*edid, "upload", "upload a 128- or 256-byte EDID file");
    operand(upload, "IN", "input 1..8, or all", kInputOrAll);
    operand(upload, "FILE", "the EDID file", CLI::ExistingFile);
    operand(command(*edid, "decode", "decode an EDID file (needs no matrix)"), "FILE",
            "the EDID file", CLI::ExistingFile);

    for (const char* name : {"beep", "power", "ir"}) {
        const std::string about = std::string("turn the matrix's ") +
                                  (std::string(name) == "ir"     ? "IR receiver"
                                   : std::string(name) == "beep" ? "key beep"
                                                                 : "power") +
                                  " on or off";
        operand(command(app, name, about), "STATE", "on or off", kOnOff);
    }
    command(app, "reboot", "restart the matrix");
    command(app, "factory-reset", "return the matrix to its factory settings");
    operand(command(app, "upgrade", "firmware upgrade, part by part, with progress"), "FILE",
            "the firmware file", CLI::ExistingFile);

    auto* discover =
        command(app, "discover", "matrices answering the UDP search (IP, MAC, gateway, mask)");
    discover->add_option("--listen", r.listenMs, "how long to listen for answers, in ms (2000)")
        ->check(CLI::Range(100, 60'000));
    auto* config = command(app, "config", "set a matrix's network address by broadcast");
    operand(config, "MAC", "the matrix's MAC address", any);
    auto* autoFlag = config->add_flag("--auto", r.configAuto, "take an address by DHCP");
    auto* ip = config->add_option("--static", r.ip, "this fixed address");
    auto* mask = config->add_option("--mask", r.mask, "its network mask");
    auto* gw = config->add_option("--gateway", r.gateway, "its gateway");
    config->add_option("--new-mac", r.newMac, "give the matrix this MAC address");
    autoFlag->excludes(ip)->excludes(mask)->excludes(gw);
    ip->needs(mask)->needs(gw);
    mask->needs(ip);
    gw->needs(ip);
    for (CLI::App* c : {discover, config}) {
        c->add_flag("--udp-on-any-network", r.udpOnAnyNetwork,
                    "broadcast even where the broadcast may reach a real network");
    }

    command(app, "names", "the names of the inputs and outputs");
    auto* name = command(app, "name", "name input or output K");
    const CLI::Validator side(
        [](std::string& s) { return s == "input" || s == "output" ? "" : "input or output"; },
        "input|output");
    operand(name, "SIDE", "input or output", side);
    operand(name, "K", "input 1..8 or output A..H", any);
    operand(name, "TEXT", "its name, up to 20 characters (\"\" clears it)", any);
    operand(command(app, "export", "write the target's profile to FILE as JSON"), "FILE",
            "the file to write", any);
    operand(command(app, "import", "take the target's profile from FILE, all or nothing"), "FILE",
            "the file exported before", CLI::ExistingFile);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e, std::cout, std::cerr);
        return {std::nullopt, rc == 0 ? 0 : static_cast<int>(ExitCode::Usage)};
    }
    if (!tcp.empty()) {
        r.target.kind = CtlTarget::Kind::Tcp;
        const auto colon = tcp.rfind(':');
        r.target.host = tcp.substr(0, colon);
        if (colon != std::string::npos) {
            const std::string port = tcp.substr(colon + 1);
            const bool digits = !port.empty() && port.size() <= 5 &&
                                port.find_first_not_of("0123456789") == std::string::npos;
            r.target.port = digits ? std::stoi(port) : 0;
            if (r.target.port < 1 || r.target.port > 65535 || r.target.host.empty()) {
                std::cerr << "--tcp: not HOST[:PORT] with a port 1..65535: " << tcp << "\n";
                return {std::nullopt, static_cast<int>(ExitCode::Usage)};
            }
        }
    } else if (*com) {
        r.target.kind = CtlTarget::Kind::Com;
    } else if (*device) {
        r.target.kind = CtlTarget::Kind::Device;
    }
    if (*config && !r.configAuto && !r.ip) {
        std::cerr << "config: give --auto or --static IP --mask MASK --gateway GW\n";
        return {std::nullopt, static_cast<int>(ExitCode::Usage)};
    }
    readChosen(app, r);
    return {std::move(r), 0};
}

} // namespace zentrel::cli
