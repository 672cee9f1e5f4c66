// The real panel's FW Upgrade page on the Qt event loop and the real serial channel upgrades the
// zentrel-matrix-sim program over a pseudo-terminal with a file of two parts; the image the
// simulator writes out is the file's de-scrambled parts, block for block. Real time passes
// here, in bounded waits.
#include "PanelOnQt.h"
#include "SimProcess.h"
#include "pages/firmware/FirmwareIds.h"
#include "operations/FirmwareImage.h"
#include "pages/firmware/FirmwarePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

using namespace zentrel;
using zentrel::sim::test::SimProcess;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The blocks of a part as the panel sends them: 256 bytes from `start`, zeros past the file.
void appendBlocks(Bytes& out, const Bytes& plain, std::size_t start, std::size_t blocks) {
    for (std::size_t i = 0; i < blocks * 256; ++i) {
        out.push_back(start + i < plain.size() ? plain[start + i] : 0);
    }
}

} // namespace

TEST(FirmwareOnPty, UpgradesTheSimulatorWithATwoPartFile) {
    // Part_2 from 0 to 3300, Part 3 from 3300 to 4900; content without markers (below A2).
    Bytes plain(4900);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        plain[i] = static_cast<std::uint8_t>((i * 31 + i / 7) % 0xA1);
    }
    plain[0] = 0xA4;
    plain[1] = 0x5B;
    plain[3300] = 0xA3;
    plain[3301] = 0x5C;
    Bytes file = plain;
    FirmwareImage::descramble(file);

    char tmpl[] = "/tmp/zentrel-fw-image-XXXXXX";
    const std::filesystem::path imageDir = mkdtemp(tmpl);
    const std::unique_ptr<const std::filesystem::path, void (*)(const std::filesystem::path*)>
        cleanUp{&imageDir, [](const std::filesystem::path* d) {
                    std::error_code ec;
                    std::filesystem::remove_all(*d, ec);
                }};
    const std::string imagePath = (imageDir / "image").string();
    SimProcess sim{{"--com", "3", "--no-tcp", "--upgrade-reboot-ms", "500", "--fw-out", imagePath}};
    ASSERT_TRUE(sim.waitFor("published as")) << sim.log() << sim.errors();
    const auto dir = sim.portLink(3).parent_path().parent_path().parent_path();
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    const std::unique_ptr<const char, void (*)(const char*)> unset{
        "XDG_RUNTIME_DIR", [](const char* var) { unsetenv(var); }};
    const std::string path = (imageDir / "two-parts.fw").string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));

    zentrel::testing::PanelOnQt panel(60000);
    ASSERT_TRUE(panel.started);
    panel.ui.answers = {path};
    ASSERT_TRUE(panel.connectCom("COM3"));
    ASSERT_EQ(panel.app.state().ComPortOpen, 1);
    MainWindow& main = *panel.main;

    main.selectPage(kPageFirmware);
    auto& page = dynamic_cast<FirmwarePage&>(main.page(kPageFirmware));
    ASSERT_TRUE(panel.waitUntil([&] { return !page.text(fw::kDeviceLine).empty(); }, 3000))
        << sim.log();
    EXPECT_EQ(page.text(fw::kDeviceLine), "Device: HDMI MATRIX 4x4          Version: 1.3");

    page.click(fw::kOpen);
    ASSERT_EQ(page.text(fw::kPath), path);
    page.click(fw::kUpgrade);
    ASSERT_TRUE(panel.app.state().UpgradeRunning);
    ASSERT_TRUE(panel.waitUntil([&] { return !panel.app.state().UpgradeRunning; }, 40000))
        << sim.log();
    EXPECT_NE(page.text(fw::kMessages).find("Firmware upgrade Successfully"), std::string::npos)
        << page.text(fw::kMessages) << sim.log();

    // Part_2: 3298 data bytes in blocks 0..12, the last reaching into Part 3's marker; Part 3:
    // 1598 bytes from 3302 in blocks 0..6.
    ASSERT_TRUE(sim.waitFor("firmware image written")) << sim.log();
    Bytes expected;
    appendBlocks(expected, plain, 2, 3298 / 256 + 1);
    appendBlocks(expected, plain, 3302, 1598 / 256 + 1);
    std::ifstream in(imagePath, std::ios::binary);
    ASSERT_TRUE(in.good()) << "no image at " << imagePath;
    const Bytes image{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_TRUE(image == expected) << image.size() << " bytes against " << expected.size();
}
