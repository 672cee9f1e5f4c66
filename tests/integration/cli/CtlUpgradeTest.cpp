// zentrel-ctl upgrade as a process against the simulated matrix on a pseudo-terminal: the same
// transfer as the FW Upgrade page, its end told by the exit status and the page's words.
#include "CtlRun.h"
#include "SimProcess.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <vector>

using zentrel::test::runCtl;

namespace {

// A firmware file whose content opens with `m0 m1` and holds no other marker (bytes below A0),
// scrambled as files are: every byte XOR (length mod 256) XOR D6.
std::string firmwareFile(const std::string& name, std::size_t size, std::uint8_t m0,
                         std::uint8_t m1) {
    std::vector<std::uint8_t> b(size);
    for (std::size_t i = 0; i < size; ++i) {
        b[i] = static_cast<std::uint8_t>((i * 7 + 1) % 0xA0);
    }
    b[0] = m0;
    b[1] = m1;
    const auto key = static_cast<std::uint8_t>((size % 256) ^ 0xD6);
    std::string s;
    for (std::uint8_t x : b) {
        s += static_cast<char>(x ^ key);
    }
    const std::string path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << s;
    return path;
}

} // namespace

TEST(CtlUpgrade, EndsWithTheStatusAndWordsOfHowTheMatrixTookIt) {
    const std::string part1 = firmwareFile("zentrel-ctl-part1.fw", 3000, 0xA5, 0x5A);
    const std::string part2 = firmwareFile("zentrel-ctl-part2.fw", 3000, 0xA4, 0x5B);
    const std::string noPart = firmwareFile("zentrel-ctl-none.fw", 3000, 0x00, 0x00);
    struct Case {
        const char* what;
        std::vector<std::string> sim; // faults of the simulated matrix
        std::string file;
        int status;
        std::string err;
    };
    const std::vector<Case> cases = {
        // Not a terminal: one line per part, and the page's success line at the end.
        {"success", {}, part2, 0, "Part_2: 12 of 12 blocks sent in "},
        {"reset in the middle of a part",
         {"--fault", "reset-at-block:20.01,block=3"},
         part1,
         1,
         "zentrel-ctl: Upgrade failed! (Part_1, block 3 of 12: Upgrading Part_1.1.0.0 failed)"},
        {"silent matrix", {"--fault", "silent:20.02"}, part2, 3, "zentrel-ctl: Time out! (Part_2"},
        {"standby at a block",
         {"--fault", "standby-at-block:20.02,block=2"},
         part2,
         3,
         "zentrel-ctl: Matrix is in standby mode!"},
        {"no part in the file",
         {},
         noPart,
         2,
         "zentrel-ctl: not a firmware file: " + noPart + " (it does not open with a part marker)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args{"--com", "5", "--no-tcp", "--upgrade-reboot-ms", "300"};
        args.insert(args.end(), c.sim.begin(), c.sim.end());
        zentrel::sim::test::SimProcess sim(args);
        ASSERT_TRUE(sim.waitFor("published as")) << sim.errors();
        const auto runtime = sim.portLink(5).parent_path().parent_path().parent_path();
        const auto r = runCtl({"--com", "5", "upgrade", c.file}, runtime, 30000);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        if (c.status == 0) {
            EXPECT_EQ(r.out, "Firmware upgrade Successfully\n");
        }
    }
    for (const std::string& f : {part1, part2, noPart}) {
        std::filesystem::remove(f);
    }
}
