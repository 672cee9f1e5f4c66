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
