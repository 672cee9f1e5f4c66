// The real panel's Matrix page over a real TCP connection to the zentrel-matrix-sim program on
// 127.0.0.1:8000. Port 8000 is the panel's fixed port, so the test moves itself into a private
// network namespace where the port is its own; it skips when it cannot make one.
#include "PanelOnQt.h"
#include "integration/sim/SimProcess.h"
#include "netns/PrivateNetwork.h"
#include "pages/general/GeneralIds.h"

#include <QTimer>

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;
using zentrel::sim::test::SimProcess;

TEST(MatrixOnTcp, AClickOnTheGridIsWhatTheRoutingReadsBack) {
    const std::string why = zentrel::test::enterPrivateNetwork();
    if (!why.empty()) {
        GTEST_SKIP() << "no private network namespace (" << why << ") for port 8000";
    }
    qtApplication();
    SimProcess sim{{"--tcp", "127.0.0.1:8000"}};
    ASSERT_TRUE(sim.waitFor("listening on TCP")) << sim.log() << sim.errors();
    PanelOnQt panel;
    QTimer::singleShot(30000, &panel.loop, [&] { panel.loop.postQuit(); });

    panel.general->click(gen::kTcpRadio);
    panel.general->addItem(gen::kIpCombo, "127.0.0.1");
    panel.general->setSelection(gen::kIpCombo, 0);
    panel.general->click(gen::kTcpConnect);
    ASSERT_TRUE(panel.waitUntil([&] { return panel.app.state().ShownConnected == 1; }))
        << sim.log();

    ASSERT_TRUE(panel.showMatrix()) << sim.log();
    EXPECT_EQ(panel.grid(), "A:1[1] B:2[2] C:3[3] D:4[4]");
    panel.matrix->click(mtx::inputButton(3, 1));
    ASSERT_TRUE(panel.waitUntil([&] { return panel.output(3) == "C:1[1]"; })) << sim.log();
    // A whole routing over TCP goes through every output.
    panel.matrix->choose(mtx::kSelectOutput, mtx::kAllOutputChoice);
    panel.matrix->click(mtx::panelButton(4));
    ASSERT_TRUE(panel.waitUntil([&] { return sim.waitFor("A5 5B 02 03 04 00 05", 0).has_value(); }))
        << sim.log();

    panel.clickCaption(ctl::kGeneralCaption);
    panel.waitUntil([] { return false; }, 300);
    ASSERT_TRUE(panel.showMatrix()) << sim.log();
    EXPECT_EQ(panel.grid(), "A:4[4] B:4[4] C:4[4] D:4[4]");
    EXPECT_FALSE(panel.loop.quitRequested());
}
