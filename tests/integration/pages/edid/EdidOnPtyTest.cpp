// The real panel's EDID page on the Qt event loop and the real serial channel, against the
// zentrel-matrix-sim program on a pseudo-terminal published as COM3: an EDID set shows in the
// status list, and a downloaded file reaches the simulator whole. Real time passes here, in
// short bounded waits.
#include "EdidSamples.h"
#include "app/ControllerApp.h"
#include "app/MainWindow.h"
#include "SimProcess.h"
#include "link/SerialChannelPorts.h"
#include "pages/edid/EdidIds.h"
#include "pages/edid/EdidPage.h"
#include "pages/general/GeneralIds.h"
#include "pages/general/GeneralPage.h"
#include "pages/PageFactory.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtNetwork.h"
#include "sim/model/Exchange.h"
#include "FakePlatform.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

using namespace zentrel;
using zentrel::sim::test::SimProcess;

namespace {

// Runs the Qt loop until `done` holds or `ms` have passed; returns whether it held.
bool waitUntil(const std::function<bool()>& done, int ms = 3000) {
    for (const QDeadlineTimer wait(ms); !done() && !wait.hasExpired();) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

} // namespace

TEST(EdidOnPty, SetShowsInTheListAndADownloadedFileReachesTheSimulatorWhole) {
    static int argc = 1;
    static char name[] = "test_edid_pty";
    static char* argv[] = {name, nullptr};
    static QCoreApplication qt(argc, argv);
    SimProcess sim{{"--com", "3", "--no-tcp"}};
    ASSERT_TRUE(sim.waitFor("published as")) << sim.log() << sim.errors();
    setenv("XDG_RUNTIME_DIR", sim.portLink(3).parent_path().parent_path().parent_path().c_str(), 1);
    const std::unique_ptr<const char, void (*)(const char*)> unset{
        "XDG_RUNTIME_DIR", [](const char* var) { unsetenv(var); }};
    QtEventLoop loop;
    QtNetwork network{loop};
    SerialChannelPorts serial{loop};
    zentrel::testing::FakeUiServices ui;
    Platform platform{loop, network, serial, ui};
    ControllerApp app{platform, AppOptions{Rect{0, 0, 1280, 800}, makePageFactory()}};
    ASSERT_TRUE(app.start());
    MainWindow& main = *app.mainWindow();
    main.open();
    auto& general = dynamic_cast<GeneralPage&>(main.page(kPageGeneral));
    const auto& ports = general.control(gen::kPortCombo).items;
    const auto com3 = std::find(ports.begin(), ports.end(), "COM3");
    ASSERT_NE(com3, ports.end());
    general.choose(gen::kPortCombo, static_cast<int>(com3 - ports.begin()));
    general.click(gen::kComConnect);
    ASSERT_EQ(app.state().ComPortOpen, 1);

    // The EDID tab takes the port over and reads the four inputs.
    main.selectPage(kPageEdid);
    auto& page = dynamic_cast<EdidPage&>(main.page(kPageEdid));
    auto line = [&](int k) { return page.text(edid::statusLine(k)); };
    ASSERT_TRUE(waitUntil([&] { return line(4) == "1080p,Stereo Audio 2.0"; }))
        << sim.log() << line(4);

    // Should a nested loop hang, the quit message ends them all and the checks below fail.
    QTimer::singleShot(20000, &loop, [&] { loop.postQuit(); });
    page.choose(edid::kModeChoice, 10);
    page.choose(edid::kModeTarget, 2);
    page.click(edid::kModeSet);
    ASSERT_FALSE(loop.quitRequested()) << sim.log();
    EXPECT_TRUE(waitUntil([&] { return line(3) == "4K2K,Dolby/DTS 5.1"; })) << sim.log();
    EXPECT_TRUE(sim.waitFor(R"(in  COM3  A5 5B 03 02 0B F0 03 00 00 00 00 00 FD)")) << sim.log();

    // A file to input 2: the simulator logs the 290-byte block and takes its EDID.
    const std::vector<std::uint8_t> e = zentrel::testing::goodEdid(1, 0x21);
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("zentrel-edid-pty-" + std::to_string(::getpid()) + ".bin");
    {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(e.data()), static_cast<std::streamsize>(e.size()));
    }
    ui.answers.push_back(file.string());
    page.click(edid::kOpenFile);
    std::filesystem::remove(file);
    EXPECT_EQ(page.text(edid::kFilePath), file.string());
    page.choose(edid::kDownloadTarget, 1);
    page.click(edid::kDownloadSet);
    ASSERT_FALSE(loop.quitRequested()) << sim.log();
    EXPECT_TRUE(waitUntil([&] { return line(2) == "User define"; })) << sim.log();

    std::vector<std::uint8_t> block(290, 0x00);
    std::copy(e.begin(), e.end(), block.begin() + 1);
    EXPECT_TRUE(sim.waitFor("in  COM3  " + sim::hexBytes(block) + "  EDID block")) << sim.log();
    EXPECT_TRUE(sim.waitFor(R"(out COM3  A5 5B 03 07 00 00 02 01 )")) << sim.log();
    EXPECT_EQ(app.state().ProgressShown, 0);
    EXPECT_FALSE(page.busy());
}
