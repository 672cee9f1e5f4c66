// The wait every page runs for its queries: first wait, one repeat, give-up, stop and the late
// reply, told once as a table instead of once per page.
#include "session/PendingRequest.h"
#include "TestWindow.h"
#include "platform/sim/VirtualEventLoop.h"
#include "protocol/Commands.h"

#include <gtest/gtest.h>

#include <string>

using namespace zentrel;
using namespace zentrel::test;

namespace {

constexpr RequestTimers kTimers{11, 300, 12, 500};

// A page whose timers go to its one request; it counts what the request made it do.
class WaitingPage : public TestWindow {
public:
    explicit WaitingPage(EventLoop& loop) : TestWindow(loop) {}
    void onTimer(int id) override {
        if (!request.onTimer(id)) {
            ++foreignTimers;
        }
    }
    int sends = 0, repeats = 0, giveUps = 0, foreignTimers = 0;
    PendingRequest request{*this, kTimers, [this](const CommandFrame&) { ++sends; },
                           [this] { ++giveUps; }, [this] { ++repeats; }};
};

struct Story {
    const char* name;
    bool awaitOnly;  // the frame went out another way: only the wait starts
    int stopAfterMs; // the reply comes this long after the start (-1: it never does)
    int sends, repeats, giveUps;
    bool stillWaiting; // at 2 s
};

class PendingRequestStory : public ::testing::TestWithParam<Story> {};

} // namespace

TEST_P(PendingRequestStory, SendsRepeatsAndGivesUpExactlyAsOftenAsTheRepliesLetIt) {
    const Story s = GetParam();
    VirtualEventLoop loop;
    WaitingPage page(loop);
    const CommandFrame frame = cmd::queryInput(2);
    s.awaitOnly ? page.request.await(frame) : page.request.start(frame);
    EXPECT_TRUE(page.request.waiting());
    if (s.stopAfterMs >= 0) {
        loop.advance(s.stopAfterMs);
        page.request.stop();
    }
    loop.advance(2000 - std::max(s.stopAfterMs, 0));
    EXPECT_EQ(page.sends, s.sends);
    EXPECT_EQ(page.repeats, s.repeats);
    EXPECT_EQ(page.giveUps, s.giveUps);
    EXPECT_EQ(page.request.waiting(), s.stillWaiting);
    EXPECT_EQ(page.foreignTimers, 0);
    EXPECT_EQ(page.request.frame(), frame); // the repeat re-sends the very frame
}

INSTANTIATE_TEST_SUITE_P(
    Table, PendingRequestStory,
    ::testing::Values(
        // The reply within the first wait: no repeat, nothing more.
        Story{"ReplyInTheFirstWait", false, 299, 1, 0, 0, false},
        // The first wait runs out at 300 ms exactly: one repeat, answered in the second wait.
        Story{"ReplyToTheRepeat", false, 300, 2, 1, 0, false},
        Story{"ReplyLateInTheSecondWait", false, 799, 2, 1, 0, false},
        // No reply: one repeat after 300 ms, give-up 500 ms later, and never a third send.
        Story{"NoReplyGivesUpOnce", false, -1, 2, 1, 1, false},
        // A reply after the give-up changes nothing.
        Story{"ReplyAfterTheGiveUp", false, 800, 2, 1, 1, false},
        // A frame sent another way is repeated by the request all the same.
        Story{"AwaitedFrameRepeated", true, -1, 1, 1, 1, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PendingRequest, ALateReplyIsNotWaitedForAndOtherTimersAreNotItsOwn) {
    VirtualEventLoop loop;
    WaitingPage page(loop);
    page.request.start(cmd::queryInput(1));
    page.request.stop();
    EXPECT_FALSE(page.request.waiting()); // a duplicate or late reply finds nothing to act on
    EXPECT_FALSE(page.request.onTimer(kTimers.first + 100));
    EXPECT_TRUE(page.request.owns(kTimers.second));
    page.setTimer(99, 100);
    loop.advance(150);
    page.killTimer(99);
    EXPECT_EQ(page.foreignTimers, 1);
    EXPECT_EQ(page.sends, 1);
}
