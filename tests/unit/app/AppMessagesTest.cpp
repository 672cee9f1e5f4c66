// The application-wide messages and the follow-up of a network-configuration run.
#include "ShellFixture.h"
#include "resources/ControlIds.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;

namespace {

// Records what the configuration box shows while it is open.
struct BoxWatch {
    Shell& shell;
    int openings = 0;
    std::int64_t closedAt = -1;
    explicit BoxWatch(Shell& s) : shell(s) {
        shell.loop.setModalHook([this](Window& w) {
            if (&w == &shell.main->configBox()) {
                ++openings;
            }
        });
    }
    std::string label() { return shell.main->configBox().text(ctl::kConfigLabel); }
    // Posts the opening message and runs until the box has closed.
    void runBox() {
        shell.main->postMessage(WM_APP_PROGRESS, 1);
        shell.loop.settle();
        closedAt = shell.loop.nowMs();
    }
    void at(std::int64_t ms, std::function<void()> fn) { shell.loop.schedule(ms, std::move(fn)); }
    void resultAt(std::int64_t ms, WParam result) {
        at(ms, [this, result] { shell.main->postMessage(WM_APP_RESULT, result); });
    }
    // At MS the box shows TEXT, and so does the shared notice text if NOTICE is set.
    void showsAt(std::int64_t ms, std::string text, bool notice = false) {
        at(ms, [this, ms, text, notice] {
            EXPECT_EQ(label(), text) << ms;
            if (notice) {
                EXPECT_EQ(shell.state().NoticeText, text) << ms;
            }
        });
    }
};

class FollowUp : public ShellTest {
protected:
    BoxWatch box{shell};
};

} // namespace

using AppMessages = ShellTest;

TEST_F(AppMessages, SerialFailureStopsTheOtherPagesAndDisconnectsGeneral) {
    m.postMessage(WM_APP_PROGRESS, kSerialFailure);
    shell.loop.settle();
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(shell.link(n).stops, n == 1 ? 0 : 1) << n;
    }
    EXPECT_EQ(shell.page(1).disconnects(), 1);
}

TEST_F(FollowUp, AcceptedThenFoundClosesTheBoxOnTheDiscoveryAnswer) {
    box.resultAt(3000, 1);
    box.showsAt(3001, "Matrix configuration completed successfully!", true);
    box.at(3001, [&] { EXPECT_EQ(shell.state().ConfigResult, 1); });
    box.showsAt(4999, "Matrix configuration completed successfully!");
    box.showsAt(5001, "Searching Matrix IP . . .", true);
    box.at(5001, [&] { EXPECT_EQ(shell.page(1).searches(), 0); });
    box.at(5501, [&] { EXPECT_EQ(shell.page(1).searches(), 1); });
    box.resultAt(6200, 2);
    box.runBox();
    EXPECT_EQ(box.openings, 1);
    EXPECT_EQ(box.closedAt, 6200);
    EXPECT_FALSE(m.timerRunning(ConfigFollowUp::kSearchTimeoutTimer));
    shell.loop.advance(20000);
    EXPECT_EQ(box.label(), "Searching Matrix IP . . ."); // nothing runs on after the close
    EXPECT_EQ(shell.page(1).searches(), 1);
}

TEST_F(FollowUp, AcceptedButNotFoundShowsTheSearchFailureForHalfASecond) {
    box.resultAt(1000, 1);
    // Accepted at 1000, searching at 3000, search at 3500, failure at 8500, closed at 9000.
    box.showsAt(8499, "Searching Matrix IP . . .");
    box.showsAt(8501, "Search Matrix IP failed!", true);
    box.runBox();
    EXPECT_EQ(box.closedAt, 9000);
    EXPECT_EQ(shell.page(1).searches(), 1);
}

TEST_F(FollowUp, AnAcceptedRunDoesNotTurnTheNextUnansweredRunIntoASuccess) {
    box.resultAt(1000, 1);
    box.resultAt(4000, 2);
    box.runBox();
    ASSERT_EQ(box.closedAt, 4000);

    const std::int64_t start = shell.loop.nowMs();
    box.showsAt(10001, "configure failed!");
    box.runBox();
    EXPECT_EQ(box.openings, 2);
    EXPECT_EQ(box.closedAt - start, 12000);
    EXPECT_EQ(shell.state().ConfigResult, 0);
}

TEST_F(FollowUp, WithoutAnOpenBoxTheMessagesOnlyDriveTheTimers) {
    m.setTimer(ConfigFollowUp::kSearchTimeoutTimer, 5000);
    m.sendMessage(WM_APP_RESULT, 2);
    EXPECT_FALSE(m.timerRunning(ConfigFollowUp::kSearchTimeoutTimer));

    m.sendMessage(WM_APP_RESULT, 1);
    shell.loop.advance(8000); // searching at 2000, search at 2500, failure at 7500, close
    EXPECT_EQ(box.openings, 0);
    EXPECT_EQ(shell.page(1).searches(), 1);
    EXPECT_EQ(shell.state().NoticeText, "Search Matrix IP failed!");
}
