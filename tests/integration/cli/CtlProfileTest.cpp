// zentrel-ctl on the kept profiles, as a process: names and stored routings set and read back,
// the profile exported and imported all or nothing, the last target taken, two runs at once, and
// a stored routing applied to the simulated matrix with the Matrix page's sequence.
#include "CtlRun.h"
#include "SimProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

using zentrel::test::runCtl;
namespace fs = std::filesystem;

namespace {

// Every run of this program keeps its profiles in a folder of its own, never the user's.
class ConfigFolder : public ::testing::Environment {
public:
    void SetUp() override {
        char tmpl[] = "/tmp/zentrel-ctl-config-XXXXXX";
        folder = mkdtemp(tmpl);
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    }
    void TearDown() override { fs::remove_all(folder); }
    static inline fs::path folder;
};
const auto* const kConfig = ::testing::AddGlobalTestEnvironment(new ConfigFolder);

struct Run {
    std::vector<std::string> args;
    int status;
    std::string seen; // on standard output after success, else on standard error
};

void expectRuns(const std::vector<Run>& runs, const std::string& runtime = {}) {
    for (const Run& r : runs) {
        SCOPED_TRACE(r.args.back());
        const auto got = runCtl(r.args, runtime, 15000);
        EXPECT_EQ(got.status, r.status) << got.err;
        EXPECT_NE((r.status == 0 ? got.out : got.err).find(r.seen), std::string::npos)
            << got.out << got.err;
    }
}

} // namespace

TEST(CtlProfile, NamesPresetsAndTheProfileFileOnTheTargetOrTheLastOne) {
    const std::string out = ConfigFolder::folder / "out.json";
    const std::string bad = ConfigFolder::folder / "bad.json";
    const std::string bell = ConfigFolder::folder / "bell.json";
    const std::string old = ConfigFolder::folder / "old.json";
    // A sound new name beside a value out of range: neither may be taken.
    std::ofstream(bad) << R"({"version": 1, "outputs": ["", "Screen", "", "", "", "", "", ""],
        "routings": [{"inputs": [9, 0, 0, 0, 0, 0, 0, 0]}, {}, {}, {}, {}, {}, {}, {}]})";
    std::ofstream(bell) << R"({"version": 1, "inputs": ["", "", "\u0007", "", "", "", "", ""]})";
    std::ofstream(old) << R"({"inputs": ["Screen", "", "", "", "", "", "", ""]})";
    fs::remove(ConfigFolder::folder / "zentrel" / "panel.json"); // what tests before kept
    // After the first run every run takes the last target, COM6.
    expectRuns({
        {{"names"}, 2, "no target:"},
        {{"--com", "6", "name", "input", "3", "Apple TV"}, 0, "input 3   Apple TV"},
        {{"name", "output", "b", "Projector"}, 0, ""},
        {{"name", "input", "9", "x"}, 2, "name input 9: not an input"},
        {{"name", "output", "A", std::string(21, 'x')}, 2, "longer than 20"},
        {{"name", "output", "A", "a\tb"}, 2, "control character"},
        {{"preset", "set", "2", "3,1,4,2", "--name", "Evening"}, 0, "2  Evening"},
        {{"preset", "set", "2", "1,2,3,4,5,6,7,8,1"}, 2, "not a routing"},
        {{"export", out}, 0, ""},
        {{"import", bad}, 2, "refused, nothing was changed: an input of stored routing 1"},
        {{"import", bell}, 2, "input 3 holds a control character"},
        {{"import", old}, 2, "says no version"},
        {{"--json", "names"}, 0, R"({"name":"Projector","port":"B"})"},
        {{"name", "input", "3", ""}, 0, ""},
        {{"--json", "preset", "show", "2"}, 0, R"("preset":2,"routing":{"A":3,"B":1,"C":4,"D":2})"},
        {{"import", out}, 0, ""},
        {{"--json", "names"}, 0, R"({"name":"Apple TV","port":3})"},
        {{"preset", "apply", "5"}, 2, "preset apply 5: the preset stores no routing"},
        {{"--device", "/dev/null", "names"}, 2, "has no profile"},
        {{"--tcp", "127.0.0.1:9", "name", "input", "1", "Desk"}, 0, ""},
        {{"--json", "names"}, 0, R"({"name":"Desk","port":1})"},
    });
}

// Two runs at once, each naming another port of the same profile: the lock keeps both names.
TEST(CtlProfile, TwoRunsAtOnceKeepEachOthersName) {
    const fs::path dir = ConfigFolder::folder;
    for (int round = 0; round < 8; ++round) {
        const std::string n = std::to_string(round);
        const pid_t a = zentrel::test::startChild(
            ZENTREL_CTL_BIN, {"--com", "7", "name", "input", "1", "in" + n}, dir, dir);
        const pid_t b = zentrel::test::startChild(
            ZENTREL_CTL_BIN, {"--com", "7", "name", "output", "A", "out" + n}, dir, dir);
        for (pid_t p : {a, b}) {
            int st = 0;
            waitpid(p, &st, 0);
            EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
        }
        const auto names = nlohmann::json::parse(runCtl({"--com", "7", "--json", "names"}).out);
        EXPECT_EQ(names["inputs"][0]["name"], "in" + n);
        EXPECT_EQ(names["outputs"][0]["name"], "out" + n);
    }
}

// `preset apply` sends what the Matrix page's "Set" sends: outputs 1, 2, ... one after another,
// each once the one before was acknowledged, the output after a 4x4 unit's last included.
TEST(CtlProfile, PresetApplyRunsTheStoredSettingsSequence) {
    struct Case {
        std::vector<std::string> sim; // beside --com 6
        std::string routing;
        int status;
        std::string seen;
        const char* frames; // the switch frames the simulator received, in their order
    };
    const std::vector<Case> cases = {
        {{},
         "4,3,2,1",
         0,
         R"("preset":1,"routing":{"A":4,"B":3,"C":2,"D":1})",
         "02 03 04 00 01|02 03 03 00 02|02 03 02 00 03|02 03 01 00 04|02 03 02 00 05|"},
        {{"--fault", "refuse:02.03"}, "2,2,2,2", 1, "route 2 A: refused", "02 03 02 00 01|"},
        {{"--size", "8x8"}, "1,2", 2, "stores no input for output C (the unit is 8x8)", ""},
        {{}, "7,1,1,1", 2, "routes input 7 to output A", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.routing);
        std::vector<std::string> simArgs = {"--com", "6", "--no-tcp"};
        simArgs.insert(simArgs.end(), c.sim.begin(), c.sim.end());
        zentrel::sim::test::SimProcess sim(simArgs);
        ASSERT_TRUE(sim.waitFor("COM6.*published as")) << sim.errors();
        const std::string runtime = sim.portLink(6).parent_path().parent_path().parent_path();
        expectRuns({{{"--com", "6", "preset", "set", "1", c.routing}, 0, ""},
                    {{"--json", "--com", "6", "preset", "apply", "1"}, c.status, c.seen}},
                   runtime);
        std::string frames;
        std::istringstream log(sim.log());
        for (std::string line; std::getline(log, line);) {
            if (const auto at = line.find("in  COM6  A5 5B 02 03 "); at != std::string::npos) {
                frames += line.substr(at + 16, 14) + "|";
            }
        }
        EXPECT_EQ(frames, c.frames);
    }
}
