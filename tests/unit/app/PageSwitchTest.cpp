// Caption clicks and the page switch: resets, serial hand-over, TCP re-attach, the refused
// switch, the activation timers and the busy lock.
#include "ShellFixture.h"
#include "resources/ControlIds.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;

namespace {

struct PageCase {
    int page, caption, tab, timer;
    unsigned tcpMessage;
};

const PageCase kPages[] = {
    {1, ctl::kGeneralCaption, ctl::kGeneralTab, 1, WM_TCP_GENERAL},
    {2, ctl::kEdidCaption, ctl::kEdidTab, 2, WM_TCP_EDID},
    {3, ctl::kMatrixCaption, ctl::kMatrixTab, 4, WM_TCP_MATRIX},
    {4, ctl::kFirmwareCaption, ctl::kFirmwareTab, 3, WM_TCP_FIRMWARE},
};

// The switch to PC ran: the serial links of the other pages stopped OTHERSTOPS times, PC's
// activation timer alone runs, and PC alone is woken once, 150 ms later and never again.
void expectSwitchRan(Shell& shell, const PageCase& pc, int otherStops) {
    for (const PageCase& other : kPages) {
        const bool shown = other.page == pc.page;
        EXPECT_EQ(shell.link(other.page).stops, shown ? 0 : otherStops) << other.page;
        EXPECT_EQ(shell.main->timerRunning(other.timer), shown) << other.timer;
    }
    shell.loop.advance(149);
    EXPECT_EQ(shell.page(pc.page).activations(), 0);
    shell.loop.advance(1);
    EXPECT_EQ(shell.page(pc.page).activations(), 1);
    shell.loop.advance(2000); // the activation timer is one-shot in effect
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(shell.page(n).activations(), n == pc.page ? 1 : 0) << n;
    }
}

int enabledTabs(MainWindow& m) {
    return static_cast<int>(std::count_if(std::begin(kPages), std::end(kPages),
                                          [&](const PageCase& pc) { return m.isEnabled(pc.tab); }));
}

} // namespace

TEST(PageSwitch, ComModeHandsThePortToTheShownPageAndWakesItAfter150Ms) {
    for (const PageCase& pc : kPages) {
        SCOPED_TRACE(pc.page);
        Shell shell;
        MainWindow& m = *shell.main;
        shell.clickAt(pc.caption);

        EXPECT_EQ(shell.state().ActivePage, pc.page);
        for (int n = 1; n <= 4; ++n) {
            EXPECT_EQ(m.captionHighlight(n), n == pc.page ? 1 : 0) << n;
            EXPECT_EQ(shell.page(n).switchesSeen(), 1) << n;
            EXPECT_EQ(shell.page(n).selections(), n == pc.page ? 1 : 0) << n;
            if (shell.page(n).created()) {
                EXPECT_EQ(shell.page(n).isVisible(), n == pc.page) << n;
            }
        }
        EXPECT_TRUE(shell.page(pc.page).created());
        EXPECT_EQ(m.control(pc.caption).backColor, MainWindow::kSelectedBack);
        EXPECT_EQ(m.skinButton(pc.tab)->color(SkinButton::BackOut), MainWindow::kSelectedBack);
        EXPECT_EQ(m.skinButton(pc.tab)->color(SkinButton::ForeOut), rgb(0, 0, 0));
        EXPECT_EQ(shell.network.tcpRequests, 1); // no connect in COM mode
        expectSwitchRan(shell, pc, 1);
    }
}

TEST(PageSwitch, TcpModeReattachesTheControlSocketToTheShownPage) {
    for (const PageCase& pc : kPages) {
        SCOPED_TRACE(pc.page);
        Shell shell;
        shell.state().ControlMode = kModeTcp;
        shell.state().ShownConnected = 1;
        shell.state().MatrixIp = "192.168.1.50";
        shell.state().TcpConnected = 1;
        FakeTcpSocket* first = shell.network.last();
        shell.clickAt(pc.caption);

        FakeTcpSocket* s = shell.network.last();
        ASSERT_NE(s, first);
        EXPECT_EQ(s->target, &shell.page(pc.page).window());
        EXPECT_EQ(s->message, pc.tcpMessage);
        EXPECT_EQ(s->connectedTo, "192.168.1.50:8000");
        expectSwitchRan(shell, pc, 0); // no serial hand-over in TCP mode
    }
}

using PageSwitchShell = ShellTest;

TEST_F(PageSwitchShell, TabLockSparesTheCaptionsAndPagesAreCreatedOnceAndKeptWhileHidden) {
    m.sendMessage(WM_TAB_LOCK, 1);
    EXPECT_EQ(enabledTabs(m), 0);
    shell.clickAt(ctl::kMatrixCaption);
    EXPECT_EQ(shell.state().ActivePage, 3);
    m.sendMessage(WM_TAB_LOCK, 0);
    EXPECT_EQ(enabledTabs(m), 4);

    SpyPage& matrix = shell.page(3);
    matrix.setText(ctl::kPageLabel, "kept");
    shell.clickAt(ctl::kEdidCaption);
    EXPECT_FALSE(matrix.isVisible());
    EXPECT_TRUE(shell.page(2).isVisible());
    EXPECT_FALSE(shell.page(1).isVisible());
    shell.clickAt(ctl::kMatrixCaption);
    EXPECT_TRUE(matrix.isVisible());
    EXPECT_EQ(matrix.text(ctl::kPageLabel), "kept");
    EXPECT_FALSE(shell.page(4).created());
}

TEST_F(PageSwitchShell, ClickingTheShownPageRunsTheWholeSwitchAgain) {
    shell.state().ControlMode = kModeCom;
    for (int round = 1; round <= 2; ++round) {
        shell.clickAt(ctl::kGeneralCaption);
        shell.loop.advance(150);
        EXPECT_EQ(shell.page(1).activations(), round);
        EXPECT_EQ(shell.link(2).stops, round);
        EXPECT_EQ(shell.link(1).stops, 0);
        EXPECT_EQ(shell.page(1).selections(), round);
    }

    shell.state().ControlMode = kModeTcp;
    shell.state().ShownConnected = 1;
    shell.clickAt(ctl::kGeneralCaption);
    shell.clickAt(ctl::kGeneralCaption);
    EXPECT_EQ(shell.network.tcpRequests, 3); // the first socket plus one per switch
}

TEST(PageSwitch, BusyMatrixOrRunningUpgradeRefusesCaptionClicksEntirely) {
    for (bool SharedState::*lock : {&SharedState::MatrixBusy, &SharedState::UpgradeRunning}) {
        Shell shell;
        MainWindow& m = *shell.main;
        shell.state().*lock = true;
        shell.clickAt(ctl::kEdidCaption);
        EXPECT_EQ(m.captionHighlight(1), 1);
        EXPECT_EQ(m.captionHighlight(2), 0);
        EXPECT_EQ(m.control(ctl::kEdidCaption).backColor, rgb(30, 144, 225));
        EXPECT_FALSE(shell.page(2).created());
        EXPECT_EQ(shell.link(1).stops, 0);
        EXPECT_EQ(shell.page(1).switchesSeen(), 0);
        shell.loop.advance(1000);
        EXPECT_EQ(shell.page(2).activations(), 0);
    }
}
