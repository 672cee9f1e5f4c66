#include "platform/posix/ComPortNames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

using namespace zentrel;
namespace fs = std::filesystem;

TEST(ComPortNames, PinnedLinksWinOverTheDeviceTable) {
    const fs::path runtime =
        fs::temp_directory_path() / ("zentrel-names-" + std::to_string(getpid()));
    fs::create_directories(runtime / "zentrel" / "ports");
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    EXPECT_EQ(comPortDirectory(), runtime / "zentrel" / "ports");

    EXPECT_EQ(comPortPath(1), "/dev/ttyS0");
    EXPECT_EQ(comPortPath(4), "/dev/ttyS3");
    EXPECT_EQ(comPortPath(5), "/dev/ttyUSB0");
    EXPECT_EQ(comPortPath(12), "/dev/ttyUSB7");
    EXPECT_EQ(comPortPath(13), "/dev/ttyACM0");
    EXPECT_EQ(comPortPath(19), "/dev/ttyACM6");
    EXPECT_TRUE(comPortPath(0).empty());
    EXPECT_TRUE(comPortPath(20).empty());

    // A link pins the number even while its target is missing: the port is then absent rather
    // than some other device.
    fs::create_symlink("/nonexistent/pts/9", runtime / "zentrel" / "ports" / "COM7");
    EXPECT_EQ(comPortPath(7), runtime / "zentrel" / "ports" / "COM7");
    EXPECT_EQ(comPortPath(8), "/dev/ttyUSB3");

    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(comPortDirectory(), fs::path("/tmp/zentrel-" + std::to_string(getuid())) / "ports");
    fs::remove_all(runtime);
}

TEST(ComPortNames, LinksInADirectoryOthersCouldWriteAreIgnoredWithOneWarning) {
    const fs::path runtime =
        fs::temp_directory_path() / ("zentrel-trust-" + std::to_string(getpid()));
    const fs::path ports = runtime / "zentrel" / "ports";
    fs::create_directories(ports);
    fs::permissions(runtime / "zentrel", fs::perms(0755));
    fs::permissions(ports, fs::perms(0755));
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    fs::create_symlink("/dev/pts/77", ports / "COM7");
    EXPECT_TRUE(comPortDirectoryTrusted(ports));
    EXPECT_EQ(comPortPath(7), ports / "COM7");

    // Another user could have made the directory, or could add a COM link to a terminal of
    // theirs: the device table stands in for every number.
    for (const fs::path& open : {ports, runtime / "zentrel"}) {
        SCOPED_TRACE(open.string());
        fs::permissions(open, fs::perms(0777));
        EXPECT_FALSE(comPortDirectoryTrusted(ports));
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(comPortPath(7), "/dev/ttyUSB2");
        EXPECT_EQ(comPortPath(7), "/dev/ttyUSB2");
        const std::string warned = ::testing::internal::GetCapturedStderr();
        fs::permissions(open, fs::perms(0755));
        // One warning in the whole run, whatever the number of lookups.
        static bool first = true;
        EXPECT_EQ(warned.find(ports.string()) != std::string::npos, first) << warned;
        first = false;
    }
    if (geteuid() == 0) {
        // Owned by somebody else, even without write permission for others.
        ASSERT_EQ(chown(ports.c_str(), 4242, 4242), 0);
        EXPECT_FALSE(comPortDirectoryTrusted(ports));
        EXPECT_EQ(comPortPath(7), "/dev/ttyUSB2");
    }
    // A link where the directory should be is not the user's directory either.
    fs::remove_all(ports);
    fs::create_directories(runtime / "elsewhere");
    fs::create_directory_symlink(runtime / "elsewhere", ports);
    EXPECT_FALSE(comPortDirectoryTrusted(ports));
    unsetenv("XDG_RUNTIME_DIR");
    fs::remove_all(runtime);
}
