// The real panel's Matrix page on the Qt event loop and a real serial channel, against the
// zentrel-matrix-sim program on a pseudo-terminal published as COM3.
#include "PanelOnQt.h"
#include "integration/sim/SimProcess.h"
#include "pages/general/GeneralIds.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

using namespace zentrel;
using namespace zentrel::testing;
using zentrel::sim::test::SimProcess;

TEST(MatrixOnPty, AClickOnTheGridIsWhatTheRoutingReadsBack) {
    qtApplication();
    SimProcess sim{{"--com", "3", "--no-tcp"}};
    ASSERT_TRUE(sim.waitFor("published as")) << sim.log() << sim.errors();
    setenv("XDG_RUNTIME_DIR", sim.portLink(3).parent_path().parent_path().parent_path().c_str(), 1);
    const std::unique_ptr<const char, void (*)(const char*)> unset{
        "XDG_RUNTIME_DIR", [](const char* var) { unsetenv(var); }};
    PanelOnQt panel;
    QTimer::singleShot(30000, &panel.loop, [&] { panel.loop.postQuit(); });

    const auto& ports = panel.general->control(gen::kPortCombo).items;
    const auto com3 = std::find(ports.begin(), ports.end(), "COM3");
    ASSERT_NE(com3, ports.end());
    panel.general->choose(gen::kPortCombo, static_cast<int>(com3 - ports.begin()));
    panel.general->click(gen::kComConnect);
    ASSERT_TRUE(panel.waitUntil([&] { return panel.general->isChecked(gen::kBeep); })) << sim.log();

    ASSERT_TRUE(panel.showMatrix()) << sim.log();
    EXPECT_EQ(panel.grid(), "A:1[1] B:2[2] C:3[3] D:4[4]");

    panel.matrix->click(mtx::inputButton(2, 3));
    EXPECT_EQ(panel.output(2), "B:2[2]"); // nothing shown before the matrix confirms
    ASSERT_TRUE(panel.waitUntil([&] { return panel.output(2) == "B:3[3]"; })) << sim.log();
    panel.matrix->click(mtx::prevArrow(4));
    ASSERT_TRUE(panel.waitUntil([&] { return panel.output(4) == "D:3[3]"; })) << sim.log();

    // Back to General and to Matrix: the routing read from the matrix is the one clicked.
    // (The General page's activation runs 150 ms after its tab is chosen; it is let run first.)
    panel.clickCaption(ctl::kGeneralCaption);
    panel.waitUntil([] { return false; }, 400);
    ASSERT_TRUE(panel.showMatrix()) << sim.log();
    EXPECT_EQ(panel.grid(), "A:1[1] B:3[3] C:3[3] D:3[3]");
    EXPECT_TRUE(sim.waitFor(R"(in  COM3  A5 5B 02 03 03 00 02 00 00 00 00 00 F6)")) << sim.log();
    EXPECT_FALSE(panel.loop.quitRequested());
    EXPECT_EQ(panel.app.state().NoticeShown, 0);
}
