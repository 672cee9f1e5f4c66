// The real panel on the Qt event loop sets the real zentrel-matrix-sim to a static address by
// broadcast, finds it there by Search and connects to it over TCP. Everything runs inside a
// private network namespace with loopback only; without one the test is skipped.
#include "PanelOnQt.h"
#include "PrivateNetwork.h"
#include "SimProcess.h"
#include "pages/general/GeneralPage.h"
#include "pages/general/netconfig/TcpConfigIds.h"

#include <gtest/gtest.h>

using namespace zentrel;
using zentrel::sim::test::SimProcess;

TEST(NetConfigNetns, ConfiguredToAStaticAddressFoundThereAndConnected) {
    const std::string why = zentrel::test::enterPrivateNetwork();
    if (!why.empty()) {
        GTEST_SKIP() << "no private network namespace (" << why
                     << "); broadcasts are only sent inside one";
    }
    SimProcess sim{
        {"--udp", "--tcp", "0.0.0.0:8000", "--ip", "127.0.0.1", "--mac", "02:5A:45:4E:00:07"}};
    ASSERT_TRUE(sim.waitFor("answering discovery")) << sim.log() << sim.errors();

    zentrel::testing::PanelOnQt panel;
    ASSERT_TRUE(panel.started);
    auto& page = dynamic_cast<GeneralPage&>(*panel.general);
    ControllerApp& app = panel.app;
    const auto& ips = page.control(gen::kIpCombo).items;

    page.click(gen::kTcpRadio);
    page.click(gen::kSearch);
    ASSERT_TRUE(panel.waitUntil([&] { return !ips.empty(); }, 3000)) << sim.log();
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
    // hang, the panel's quit message ends it and the checks below fail.
    dialog.click(nc::kOk);
    ASSERT_TRUE(panel.waitUntil(
        [&] {
            return ips == std::vector<std::string>{"10.0.0.9"} &&
                   !app.mainWindow()->configBox().inModal();
        },
        10000))
        << sim.log() << sim.errors();
    EXPECT_FALSE(panel.loop.quitRequested());
    EXPECT_EQ(app.state().MatrixIp, "10.0.0.9");
    EXPECT_TRUE(sim.waitFor("configuration accepted")) << sim.log();

    page.click(gen::kTcpConnect);
    EXPECT_TRUE(panel.waitUntil([&] { return app.state().ShownConnected == 1; }, 3000))
        << sim.log();
    EXPECT_EQ(page.text(gen::kTcpConnect), "Disconnect");
    // The beeper query went over the new connection and was answered.
    EXPECT_TRUE(sim.waitFor(R"(in\s+TCP\d+\s+A5 5B 01 0B )")) << sim.log();
}
