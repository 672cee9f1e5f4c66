// The profile store on real files in a fresh temporary folder: what is written comes back, a file
// that cannot be taken is set aside and reported, a writer killed before its rename leaves the old
// profile, and two writers keep each other's changes.
#include "profile/ProfileStore.h"
#include "profile/PosixProfileFiles.h"
#include "profile/ProfileJson.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace zentrel {
namespace {

namespace fs = std::filesystem;

class ProfileStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zentrel-profile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        folder_ = root_ + "/config/zentrel"; // not there yet: the store creates it
    }
    void TearDown() override { fs::remove_all(root_); }

    void put(const std::string& name, const std::string& bytes) {
        fs::create_directories(folder_);
        std::ofstream(folder_ + "/" + name) << bytes;
    }
    std::string contents(const std::string& name) {
        std::ifstream in(folder_ + "/" + name);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::string root_;
    std::string folder_;
    PosixProfileFiles files_;
};

MatrixProfile fullProfile() {
    MatrixProfile p = MatrixProfile::defaults();
    for (std::size_t k = 0; k < MatrixProfile::kPorts; ++k) {
        p.inputNames[k] = "Ünïcødé 入力 éééééééé" + std::to_string(k); // 20 characters, 31 bytes
        p.outputNames[k] = std::string(20, static_cast<char>('a' + k));
        p.routings[k] = {"Evening " + std::to_string(k), {8, 7, 6, 5, 4, 3, 2, 1}};
    }
    p.mac = "00:1a:2b:3c:4d:5e";
    p.ipList = {"192.168.1.20", "10.0.0.7"};
    return p;
}

TEST_F(ProfileStoreTest, ProfilesAndPanelStateComeBackAsWritten) {
    const MatrixProfile written = fullProfile();
    PanelState state;
    state.controlMode = kModeTcp;
    state.comPort = 4;
    state.ip = "192.168.1.20";
    state.windowPosition = std::pair{-40, 300};
    {
        ProfileStore store(folder_, files_);
        store.changeMatrix(ProfileStore::tcpProfile("192.168.1.20", 8000),
                           [&](MatrixProfile& p) { p = written; });
        store.changePanel([&](PanelState& s) { s = state; });
        EXPECT_EQ(store.notice(), "");
    }
    ProfileStore later(folder_, files_);
    EXPECT_EQ(later.matrix(ProfileStore::tcpProfile("192.168.1.20", 8000)), written);
    EXPECT_EQ(later.panel(), state);
    EXPECT_EQ(later.matrix(ProfileStore::comProfile(3)), MatrixProfile::defaults());
    EXPECT_EQ(later.notice(), "");
}

TEST_F(ProfileStoreTest, AFileThatCannotBeTakenIsSetAsideAndTheDefaultsUsed) {
    const struct {
        const char* bytes;
        const char* why;
    } cases[] = {
        {"{\"inputs\": [\"a\"", "not valid JSON"},
        {"[1, 2]", "does not hold a JSON object"},
        {"{\"outputs\": [1, \"\", \"\", \"\", \"\", \"\", \"\", \"\"]}",
         "the name of output 1 is not a text"},
        {"{\"routings\": 3}", "the stored routings is not a list of 8"},
        {"{\"routings\": [{}, {}, {\"inputs\": [9, 0, 0, 0, 0, 0, 0, 0]}, {}, {}, {}, {}, {}]}",
         "an input of stored routing 3 is not a whole number from 0 to 8"},
        {"{\"inputs\": [\"\", "
         "\"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
         "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
         "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
         "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
         "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
         "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\","
         " \"\", \"\", \"\", \"\", \"\", \"\"]}",
         "the name of input 2 is longer than 20 characters"},
        {"{\"mac\": \"\xff\xfe\"}", "not valid JSON"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        put("com1.json", c.bytes);
        ProfileStore store(folder_, files_);
        EXPECT_EQ(store.matrix("com1"), MatrixProfile::defaults());
        EXPECT_NE(store.notice().find(c.why), std::string::npos) << store.notice();
        EXPECT_NE(store.notice().find("set aside as com1.json.bad"), std::string::npos);
        EXPECT_EQ(contents("com1.json.bad"), c.bytes);
        EXPECT_FALSE(fs::exists(folder_ + "/com1.json"));
    }
    put("panel.json", "{\"mode\": \"usb\"}");
    ProfileStore store(folder_, files_);
    EXPECT_EQ(store.changePanel([](PanelState& s) { s.comPort = 2; }).controlMode, kModeCom);
    EXPECT_NE(store.notice().find("neither"), std::string::npos);
    EXPECT_EQ(ProfileStore(folder_, files_).panel().comPort, 2);
}

TEST_F(ProfileStoreTest, AWriterKilledBeforeItsRenameLeavesTheOldProfile) {
    ProfileStore store(folder_, files_);
    store.changeMatrix("com2", [](MatrixProfile& p) { p.inputNames[0] = "Camera"; });
    // What a writer killed between its write and its rename leaves: a half-written new file.
    put("com2.json.tmp", "{\"inputs\": [\"Came" + std::string(5000, ' ') + "x");
    EXPECT_EQ(store.matrix("com2").inputNames[0], "Camera");
    EXPECT_EQ(store.notice(), "");
    store.changeMatrix("com2", [](MatrixProfile& p) { p.outputNames[1] = "Projector"; });
    // Nor does a change the next read would set aside, with every other name.
    store.changeMatrix("com2", [](MatrixProfile& p) { p.inputNames[3] = std::string(21, 'x'); });
    EXPECT_TRUE(store.failed());
    const MatrixProfile now = ProfileStore(folder_, files_).matrix("com2");
    EXPECT_EQ(now.inputNames[0], "Camera");
    EXPECT_EQ(now.outputNames[1], "Projector");
    EXPECT_EQ(now.inputNames[3], "");
}

TEST_F(ProfileStoreTest, TwoWritersKeepEachOthersChanges) {
    // Two programs, each with the profile it read at its start, change different names.
    ProfileStore panel(folder_, files_);
    ProfileStore ctl(folder_, files_);
    panel.matrix("com5");
    ctl.matrix("com5");
    ctl.changeMatrix("com5", [](MatrixProfile& p) { p.inputNames[2] = "Player"; });
    panel.changeMatrix("com5", [](MatrixProfile& p) { p.routings[0].name = "Morning"; });
    const MatrixProfile both = ProfileStore(folder_, files_).matrix("com5");
    EXPECT_EQ(both.inputNames[2], "Player");
    EXPECT_EQ(both.routings[0].name, "Morning");

    // Two processes at once, each renaming one input over and over: the lock keeps every last
    // value; without it one writer's read-change-write overtakes the other's.
    constexpr int kRounds = 40;
    pid_t children[2];
    for (int w = 0; w < 2; ++w) {
        children[w] = ::fork();
        ASSERT_GE(children[w], 0);
        if (children[w] == 0) {
            PosixProfileFiles files;
            ProfileStore store(folder_, files);
            for (int n = 1; n <= kRounds; ++n) {
                store.changeMatrix("com5", [&](MatrixProfile& p) {
                    p.inputNames[static_cast<std::size_t>(w)] = std::to_string(n);
                });
            }
            ::_exit(store.notice().empty() ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const MatrixProfile last = ProfileStore(folder_, files_).matrix("com5");
    EXPECT_EQ(last.inputNames[0], std::to_string(kRounds));
    EXPECT_EQ(last.inputNames[1], std::to_string(kRounds));
    EXPECT_EQ(last.inputNames[2], "Player");
}

} // namespace
} // namespace zentrel
