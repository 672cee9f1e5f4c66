// zentrel-ctl run as a process, as scripts run it: the exit status, the first words on standard
// error, and the single JSON object on standard output are the contract.
#include "CtlRun.h"
#include "SimProcess.h"

#include "platform/posix/PosixSerialDevice.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using zentrel::test::runCtl;

namespace {
const std::string kSample = EDID_SAMPLES "/bin/samsung_sam0027_0e5cc1bd7d72.bin";
} // namespace

namespace {

struct Case {
    const char* what;
    std::vector<std::string> args;
    int status;
    const char* err; // expected on standard error
    const char* out; // expected on standard output
};

} // namespace

// Every one of these ends before anything is sent, with the status its kind of failure has.
TEST(CtlProcess, ArgumentsAndLinksEndWithTheirExitStatus) {
    const std::string shortFile = std::filesystem::temp_directory_path() / "zentrel-ctl-100.bin";
    std::ofstream(shortFile) << std::string(100, 'x');
    const std::vector<Case> cases = {
        {"version", {"--version"}, 0, "", "zentrel-ctl " ZENTREL_VERSION "\n"},
        {"command help", {"edid", "copy", "--help"}, 0, "", "copy output OUT's EDID to input IN"},
        {"no command", {"--com", "3"}, 2, "A subcommand is required", ""},
        {"bad input", {"--com", "3", "route", "9", "A"}, 2, "not an input 1..8: 9", ""},
        {"input 0", {"--com", "3", "edid", "set", "0", "1"}, 2, "not an input 1..8 or all: 0", ""},
        {"bad output", {"--com", "3", "route", "1", "A", "X"}, 2, "not an output", ""},
        {"two targets", {"--com", "3", "--tcp", "h", "status"}, 2, "--com excludes --tcp", ""},
        {"bad TCP port", {"--tcp", "h:70000", "status"}, 2, "--tcp: not HOST[:PORT]", ""},
        {"no target", {"status"}, 2, "no target:", ""},
        {"config form",
         {"config", "02:00:00:00:00:01", "--static", "10.0.0.2"},
         2,
         "--static requires --mask",
         ""},
        {"not a mode", {"--com", "3", "edid", "set", "1", "16"}, 2, "not an EDID mode", ""},
        {"not an EDID file",
         {"--com", "3", "edid", "upload", "1", shortFile},
         2,
         "not an EDID file: ",
         ""},
        {"missing port",
         {"--device", "/nonexistent/tty", "status"},
         4,
         "zentrel-ctl: Open COM failed! (/nonexistent/tty)",
         ""},
        {"connection refused",
         {"--tcp", "127.0.0.1:1", "beep", "on"},
         4,
         "zentrel-ctl: Connect to Matrix failed! (127.0.0.1:1)",
         ""},
        {"missing port, JSON",
         {"--json", "--device", "/nonexistent/tty", "routing"},
         4,
         "Open COM failed!",
         R"j({"error":"Open COM failed! (/nonexistent/tty)","ok":false})j"
         "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = runCtl(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        if (std::string(c.out).find('{') == 0) {
            EXPECT_EQ(r.out, c.out);
        } else {
            EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        }
    }
    std::filesystem::remove(shortFile);
}

// `edid decode` needs no matrix: a sound file is printed for people or as one object; a file the
// page refuses ends with the page's words, why, and status 2, and its object says why too.
TEST(CtlProcess, EdidDecodePrintsTheFileOrRefusesIt) {
    const std::string good = EDID_SAMPLES "/bin/samsung_sam0027_0e5cc1bd7d72.bin";
    const std::string bad = std::filesystem::temp_directory_path() / "zentrel-ctl-bad-edid.bin";
    std::ifstream in(good, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    bytes[200] ^= 1; // the extension's checksum no longer holds
    std::ofstream(bad, std::ios::binary) << bytes;
    struct DecodeCase {
        const char* what;
        std::vector<std::string> args;
        int status;
        std::string err, out;
        nlohmann::json fields; // with --json: these keys hold these values
    };
    const std::vector<DecodeCase> cases = {
        {"for people", {"edid", "decode", good}, 0, "", "Preferred timing: 4093x8186i 11.82 Hz"},
        {"JSON",
         {"--json", "edid", "decode", good},
         0,
         "",
         "",
         {{"ok", true},
          {"bytes", 256},
          {"version", "1.3"},
          {"manufacturer", "SAM"},
          {"product", 39},
          {"serial", 1095840055},
          {"week", 7},
          {"year", 2002},
          {"name", nullptr},
          {"preferred",
           {{"width", 4093},
            {"height", 8186},
            {"refresh_hz", 11.82},
            {"interlaced", true},
            {"pixel_clock_mhz", 650.21}}},
          {"audio", {{{"format", "LPCM"}, {"channels", 2}, {"rates_khz", {32, 44.1, 48}}}}},
          {"hdr", nullptr},
          {"checksums_ok", {true, true}},
          {"problems", nlohmann::json::array()}}},
        {"refused",
         {"edid", "decode", bad},
         2,
         "zentrel-ctl: Please select the correct EDID file! (" + bad +
             ": Block 1's checksum is wrong.)",
         ""},
        {"refused, JSON",
         {"--json", "edid", "decode", bad},
         2,
         "",
         "",
         {{"ok", false}, {"checksums_ok", {true, false}}}},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = runCtl(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        if (!c.fields.is_null()) {
            const auto json = nlohmann::json::parse(r.out);
            for (const auto& [key, value] : c.fields.items()) {
                EXPECT_EQ(json[key], value) << key;
            }
            EXPECT_EQ(json["video"][0]["vic"], 16);
        }
    }
    std::filesystem::remove(bad);
}

// A second program on the simulator's COM port: the tool is kept out and names the holder.
TEST(CtlProcess, HeldComPortGivesOpenComFailedAndTheHolder) {
    zentrel::sim::test::SimProcess sim({"--com", "6", "--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.waitFor("published as")) << sim.errors();
    const std::filesystem::path runtime = sim.portLink(6).parent_path().parent_path().parent_path();

    zentrel::PosixSerialDevice holder;
    ASSERT_TRUE(holder.open(sim.portLink(6)));
    const auto held = runCtl({"--com", "6", "--json", "status"}, runtime);
    EXPECT_EQ(held.status, 4);
    EXPECT_NE(held.err.find("Open COM failed! (COM6, " + sim.portLink(6).string() + "): held by "),
              std::string::npos)
        << held.err;
    EXPECT_NE(held.err.find("(process " + std::to_string(getpid()) + ")"), std::string::npos)
        << held.err;
    const auto json = nlohmann::json::parse(held.out);
    EXPECT_EQ(json["ok"], false);

    // Released, the port opens: the run gets past the link.
    holder.close();
    const auto freed = runCtl({"--com", "6", "status"}, runtime);
    EXPECT_EQ(freed.err.find("Open COM failed!"), std::string::npos) << freed.err;
}

// The commands on the panel's operations, against the simulated matrix: each ends with the status
// its outcome has, in the page's words, after the page's own waits (a silent port is asked twice).
TEST(CtlProcess, MatrixCommandsEndWithWhatTheMatrixDid) {
    // Status's port list: every port connected but the one at `unplugged` (0-based).
    auto ports = [](std::vector<std::string> names, std::size_t unplugged) {
        nlohmann::json list = nlohmann::json::array();
        for (std::size_t i = 0; i < names.size(); ++i) {
            list.push_back({{"connected", i != unplugged}, {"port", names[i]}});
        }
        return list;
    };
    // EDID status's input list: each input with the unit's default EDID.
    auto edids = [](int inputs) {
        nlohmann::json list = nlohmann::json::array();
        for (int k = 1; k <= inputs; ++k) {
            list.push_back({{"edid", "1080p,Stereo Audio 2.0"}, {"port", k}});
        }
        return list;
    };
    struct MatrixCase {
        const char* what;
        std::vector<std::string> sim; // faults, beside --com 6 --tcp 127.0.0.1:0
        std::vector<std::string> args;
        bool tcp;
        int status;
        std::string err;
        nlohmann::json fields; // keys of the JSON object and their values
    };
    const std::vector<MatrixCase> cases = {
        {"status on the serial line",
         {},
         {"status"},
         false,
         0,
         "",
         {{"ok", true},
          {"device", "HDMI MATRIX"},
          {"model", "4X4"},
          {"inputs",
           {{{"connected", true}, {"port", 1}},
            {{"connected", true}, {"port", 2}},
            {{"connected", true}, {"port", 3}},
            {{"connected", true}, {"port", 4}}}}}},
        {"status over TCP: ports only, as the page",
         {"--fault", "unplug:out2"},
         {"status"},
         true,
         0,
         "",
         {{"device", nullptr},
          {"outputs",
           {{{"connected", true}, {"port", "A"}},
            {{"connected", false}, {"port", "B"}},
            {{"connected", true}, {"port", "C"}},
            {{"connected", true}, {"port", "D"}}}}}},
        {"factory reset", {}, {"factory-reset"}, false, 0, "", {{"ok", true}, {"error", nullptr}}},
        {"route", {}, {"route", "3", "A", "c"}, false, 0, "", {{"routing", {{"A", 3}, {"C", 3}}}}},
        {"routing over TCP",
         {},
         {"routing"},
         true,
         0,
         "",
         {{"routing", {{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}}}}},
        {"refused switch",
         {"--fault", "refuse:02.03"},
         {"route", "2", "B"},
         true,
         1,
         "zentrel-ctl: route 2 B: refused by the matrix",
         {{"ok", false}}},
        {"silent after the repeat",
         {"--fault", "silent:01.05"},
         {"status"},
         false,
         3,
         "zentrel-ctl: Time out! (status of output A)",
         {{"ok", false}}},
        {"EDID status in the page's words",
         {},
         {"edid", "status"},
         false,
         0,
         "",
         {{"inputs", edids(4)}}},
        {"EDID set by its text over TCP",
         {},
         {"edid", "set", "2", " 4K2K,HD Audio 7.1"},
         true,
         0,
         "",
         {{"ok", true}}},
        {"EDID upload", {}, {"edid", "upload", "all", kSample}, false, 0, "", {{"ok", true}}},
        {"EDID copy from an output without a display",
         {"--fault", "unplug:out2"},
         {"edid", "copy", "B", "all"},
         false,
         1,
         "zentrel-ctl: HDMI OUT B is not connected!",
         {{"ok", false}}},
        {"EDID copy the matrix fails",
         {"--fault", "refuse:03.04"},
         {"edid", "copy", "A", "3"},
         true,
         1,
         "zentrel-ctl: Copy failed!",
         {{"ok", false}}},
        {"EDID switch refusing the change",
         {"--fault", "refuse:03.08"},
         {"edid", "set", "1", "5"},
         false,
         1,
         "zentrel-ctl: Please set the EDID to [1111]!",
         {{"ok", false}}},
        {"an 8x8 unit lists eight ports",
         {"--size", "8x8", "--fault", "unplug:out7"},
         {"status"},
         false,
         0,
         "",
         {{"model", "8X8"}, {"outputs", ports({"A", "B", "C", "D", "E", "F", "G", "H"}, 6)}}},
        {"input 7 to output G of an 8x8 unit",
         {"--size", "8x8"},
         {"route", "7", "G"},
         true,
         0,
         "",
         {{"routing", {{"G", 7}}}}},
        {"EDID of input 5 of a 4x4 unit",
         {},
         {"edid", "set", "5", "1"},
         false,
         2,
         "zentrel-ctl: edid set: not an input 1..4: 5 (the unit is 4x4)",
         {{"ok", false}}},
        {"EDID status of an 8x8 unit's eight inputs",
         {"--size", "8x8"},
         {"edid", "status"},
         true,
         0,
         "",
         {{"inputs", edids(8)}}},
        {"EDID copy from output G to input 7 of an 8x8 unit",
         {"--size", "8x8"},
         {"edid", "copy", "G", "7"},
         false,
         0,
         "",
         {{"ok", true}}},
        {"output G of a 4x4 unit",
         {},
         {"route", "1", "G"},
         false,
         2,
         "zentrel-ctl: route: not an output A..D or 1..4: G (the unit is 4x4)",
         {{"ok", false}}},
        {"standby",
         {"--fault", "standby,after=50"},
         {"ir", "off"},
         false,
         3,
         "zentrel-ctl: Matrix is in standby mode!",
         {{"ok", false}}},
    };
    for (const MatrixCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> simArgs = {"--com", "6", "--tcp", "127.0.0.1:0"};
        simArgs.insert(simArgs.end(), c.sim.begin(), c.sim.end());
        zentrel::sim::test::SimProcess sim(simArgs);
        const auto port = sim.waitFor("listening on TCP 127.0.0.1:([0-9]+)");
        ASSERT_TRUE(port) << sim.errors();
        sim.waitFor("COM6.*published as");
        const std::filesystem::path runtime =
            sim.portLink(6).parent_path().parent_path().parent_path();
        std::vector<std::string> args = {"--json"};
        if (c.tcp) {
            args.insert(args.end(), {"--tcp", "127.0.0.1:" + *port});
        } else {
            args.insert(args.end(), {"--com", "6"});
        }
        args.insert(args.end(), c.args.begin(), c.args.end());
        if (c.sim.size() == 2 && c.sim[1].rfind("standby", 0) == 0) {
            sim.waitFor("standby"); // announced before the command goes out
        }
        const auto r = runCtl(args, runtime, 15000);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        const auto json = nlohmann::json::parse(r.out);
        for (const auto& [key, value] : c.fields.items()) {
            EXPECT_EQ(json[key], value) << key;
        }
        if (c.status == 3 && c.err.find("Time out!") != std::string::npos) {
            // The page's one repeat: output A was asked twice before the give-up.
            const std::string log = sim.log();
            std::size_t asked = 0;
            for (auto at = log.find("in  COM6  A5 5B 01 05 01"); at != std::string::npos;
                 at = log.find("in  COM6  A5 5B 01 05 01", at + 1)) {
                ++asked;
            }
            EXPECT_EQ(asked, 2u) << log;
        }
    }
}
