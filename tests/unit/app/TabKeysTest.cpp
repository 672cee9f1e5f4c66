// Ctrl+Tab and Ctrl+Shift+Tab: a click on the caption beside the highlighted one, wrapping
// round, with the busy rules of a click.
#include "ShellFixture.h"
#include "resources/ControlIds.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;

namespace {

int highlighted(MainWindow& m) {
    int lit = 0;
    for (int n = 1; n <= 4; ++n) {
        if (m.captionHighlight(n) == 1) {
            EXPECT_EQ(lit, 0) << "two captions lit";
            lit = n;
        }
    }
    return lit;
}

} // namespace

using TabKeys = ShellTest;

TEST_F(TabKeys, ForwardAndBackWrapRoundAndRunTheWholeSwitch) {
    const int forward[] = {2, 3, 4, 1, 2};
    int visits[5] = {};
    for (int expected : forward) {
        ++visits[expected];
        EXPECT_TRUE(m.onSwitchTab(+1));
        EXPECT_EQ(highlighted(m), expected);
        EXPECT_EQ(shell.state().ActivePage, expected);
        EXPECT_TRUE(shell.page(expected).isVisible());
        shell.loop.advance(150);
        EXPECT_EQ(shell.page(expected).activations(), visits[expected]) << expected;
    }
    const int back[] = {1, 4, 3};
    for (int expected : back) {
        m.onSwitchTab(-1);
        EXPECT_EQ(highlighted(m), expected);
        EXPECT_EQ(shell.state().ActivePage, expected);
    }
    // Every switch stopped the serial links of the pages not shown, as a click does.
    EXPECT_EQ(shell.link(1).stops, 6);
}

TEST(TabKeysBusy, RefusedWhileTheMatrixIsBusyOrAnUpgradeRunsThenFollowTheHighlight) {
    for (bool SharedState::*lock : {&SharedState::MatrixBusy, &SharedState::UpgradeRunning}) {
        Shell shell;
        MainWindow& m = *shell.main;
        shell.clickAt(ctl::kMatrixCaption);
        shell.state().*lock = true;
        for (int step : {+1, -1}) {
            EXPECT_TRUE(m.onSwitchTab(step)); // the key is taken even when refused
            EXPECT_EQ(highlighted(m), 3);
            EXPECT_EQ(shell.state().ActivePage, 3);
        }
        EXPECT_FALSE(shell.page(4).created());
        EXPECT_EQ(shell.page(1).switchesSeen(), 1);

        shell.state().*lock = false;
        m.onSwitchTab(-1);
        EXPECT_EQ(highlighted(m), 2);
        EXPECT_EQ(shell.state().ActivePage, 2);
    }
}
