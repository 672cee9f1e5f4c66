// The real panel's General page on the Qt event loop and the real serial channel, against the
// zentrel-matrix-sim program on a pseudo-terminal published as COM3. Real time passes here, in
// short bounded waits.
#include "app/ControllerApp.h"
#include "app/MainWindow.h"
#include "SimProcess.h"
#include "link/SerialChannelPorts.h"
#include "pages/general/GeneralIds.h"
#include "pages/general/GeneralPage.h"
#include "pages/PageFactory.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtNetwork.h"
#include "FakePlatform.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

using namespace zentrel;
using zentrel::sim::test::SimProcess;

TEST(GeneralOnPty, ConnectAndStatusShowWhatTheSimulatorReports) {
    static int argc = 1;
    static char name[] = "test_general_pty";
    static char* argv[] = {name, nullptr};
    static QCoreApplication qt(argc, argv);
    // The matrix reports input 3 without a source and output B without a display.
    SimProcess sim{{"--com", "3", "--no-tcp", "--fault", "unplug:in3", "--fault", "unplug:out2"}};
    ASSERT_TRUE(sim.waitFor("published as")) << sim.log() << sim.errors();
    // The panel finds its ports where the simulator published them, until the panel is gone.
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
    app.mainWindow()->open();
    auto* page = &dynamic_cast<GeneralPage&>(app.mainWindow()->page(kPageGeneral));

    const auto& ports = page->control(gen::kPortCombo).items;
    const auto com3 = std::find(ports.begin(), ports.end(), "COM3");
    ASSERT_NE(com3, ports.end());
    page->choose(gen::kPortCombo, static_cast<int>(com3 - ports.begin()));
    page->click(gen::kComConnect);
    ASSERT_EQ(page->text(gen::kComConnect), "Disconnect");
    // The power state and then the beeper's come back over the line.
    for (const QDeadlineTimer wait(3000); !page->isChecked(gen::kBeep) && !wait.hasExpired();) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_TRUE(page->isChecked(gen::kBeep)) << sim.log() << page->text(gen::kReceiveLog);
    EXPECT_TRUE(page->isChecked(gen::kPower));

    // Status runs its chain inside the progress box's nested loop; should it hang, the quit
    // message ends every nested loop and the test fails on the lines below.
    QTimer::singleShot(10000, &loop, [&] { loop.postQuit(); });
    page->click(gen::kStatus);
    ASSERT_FALSE(loop.quitRequested()) << sim.log();

    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(page->text(gen::inputLine(k)),
                  "HDMI IN" + std::to_string(k) + (k == 3 ? ": Disconnect" : ": Connect"));
        EXPECT_EQ(page->text(gen::outputLine(k)), std::string("HDMI OUT") + char('A' + k - 1) +
                                                      (k == 2 ? ": Disconnect" : ": Connect"));
    }
    EXPECT_EQ(app.state().ProgressShown, 0);

    // The simulator saw exactly the eight queries after the power and beeper queries.
    EXPECT_TRUE(sim.waitFor(R"(in  COM3  A5 5B 01 05 04 )")) << sim.log();
    EXPECT_FALSE(sim.waitFor(R"(in  COM3  A5 5B 01 05 05 )", 100));

    page->click(gen::kComConnect);
    EXPECT_EQ(page->text(gen::kComConnect), "Connect");
    EXPECT_EQ(app.state().ComPortOpen, 0);
}
