// The real panel on the Qt event loop sets the real zentrel-matrix-sim to a static address by
// broadcast, finds it there by Search and connects to it over TCP. Everything runs inside a
// private network namespace with loopback only; without one the test is skipped.
#include "FakePlatform.h"
#include "PrivateNetwork.h"
#include "SimProcess.h"
#include "app/ControllerApp.h"
#include "app/MainWindow.h"
#include "link/SerialChannelPorts.h"
#include "pages/general/netconfig/TcpConfigIds.h"
#include "pages/general/GeneralIds.h"
#include "pages/general/GeneralPage.h"
#include "pages/PageFactory.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtNetwork.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace zentrel;
using zentrel::sim::test::SimProcess;

namespace {

// Runs the Qt loop until `done` holds or `ms` have passed; returns whether it holds.
bool runUntil(const std::function<bool()>& done, int ms) {
    for (const QDeadlineTimer wait(ms); !done() && !wait.hasExpired();) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

} // namespace

TEST(NetConfigNetns, ConfiguredToAStaticAddressFoundThereAndConnected) {
    const std::string why = zentrel::test::enterPrivateNetwork();
    if (!why.empty()) {
        GTEST_SKIP() << "no private network namespace (" << why
                     << "); broadcasts are only sent inside one";
    }
    static int argc = 1;
    static char name[] = "test_netconfig_netns";
    static char* argv[] = {name, nullptr};
    static QCoreApplication qt(argc, argv);
    SimProcess sim{
        {"--udp", "--tcp", "0.0.0.0:8000", "--ip", "127.0.0.1", "--mac", "02:5A:45:4E:00:07"}};
    ASSERT_TRUE(sim.waitFor("answering discovery")) << sim.log() << sim.errors();

    QtEventLoop loop;
    QtNetwork network{loop};
    SerialChannelPorts serial{loop};
    zentrel::testing::FakeUiServices ui;
    Platform platform{loop, network, serial, ui};
    ControllerApp app{platform, AppOptions{Rect{0, 0, 1280, 800}, makePageFactory()}};
    ASSERT_TRUE(app.start());
    app.mainWindow()->open();
    auto& page = dynamic_cast<GeneralPage&>(app.mainWindow()->page(kPageGeneral));
    const auto& ips = page.control(gen::kIpCombo).items;

    page.click(gen::kTcpRadio);
    page.click(gen::kSearch);
    ASSERT_TRUE(runUntil([&] { return !ips.empty(); }, 3000)) << sim.log();
    EXPECT_EQ(ips, std::vector<std::string>{"127.0.0.1"});
    EXPECT_EQ(app.state().SelectedMac, "025A454E0007");

    TcpConfigDialog& dialog = page.configDialog();
    page.click(gen::kConfig);
    ASSERT_TRUE(dialog.isVisible());
    dialog.click(nc::kStaticIp);
    const char* address[] = {"10", "0", "0", "9"};
    for (int k = 1; k <= nc::kOctets; ++k) {
        dialog.type(nc::octet(k), address[k - 1]);
    }
    // The configuration box runs in a nested loop until the follow-up closes it; should that
    // hang, the quit message ends it and the checks below fail.
    QTimer::singleShot(20000, &loop, [&] { loop.postQuit(); });
    dialog.click(nc::kOk);
    ASSERT_TRUE(runUntil(
        [&] {
            return ips == std::vector<std::string>{"10.0.0.9"} &&
                   !app.mainWindow()->configBox().inModal();
        },
        10000))
        << sim.log() << sim.errors();
    EXPECT_FALSE(loop.quitRequested());
    EXPECT_EQ(app.state().MatrixIp, "10.0.0.9");
    EXPECT_TRUE(sim.waitFor("configuration accepted")) << sim.log();

    page.click(gen::kTcpConnect);
    EXPECT_TRUE(runUntil([&] { return app.state().ShownConnected == 1; }, 3000)) << sim.log();
    EXPECT_EQ(page.text(gen::kTcpConnect), "Disconnect");
    // The beeper query went over the new connection and was answered.
    EXPECT_TRUE(sim.waitFor(R"(in\s+TCP\d+\s+A5 5B 01 0B )")) << sim.log();
}
