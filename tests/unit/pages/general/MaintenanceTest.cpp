// The maintenance commands as a user meets them: the factory reset step by step, a standby
// announcement in the middle of it, reboot and power with their notices, and a check box that
// changes only when the matrix confirms.
#include "GeneralFixture.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;
using F = GeneralFixture;
using Kind = sim::FaultRule::Kind;
using Names = std::vector<std::string>;
using sim::FrameMatch;

namespace {

const Names kResetSteps{F::frame({0x02, 0x03, 0x01, 0x00, 0x01}),
                        F::frame({0x02, 0x03, 0x02, 0x00, 0x02}),
                        F::frame({0x02, 0x03, 0x03, 0x00, 0x03}),
                        F::frame({0x02, 0x03, 0x04, 0x00, 0x04}),
                        F::frame({0x03, 0x08, 0xF0}),
                        F::frame({0x03, 0x01, 0x04, 0xF0}),
                        F::frame({0x06, 0x01, 0x0F})};

} // namespace

TEST(FactoryReset, RunsEveryStepAfterTheLastOnesReplyAndEndsWithSetSuccessfully) {
    F f;
    sim::MatrixState& unit = f.harness.state();
    unit.routing = {0, 4, 3, 2, 1, 1, 1, 1, 1};
    unit.beep = false;
    f.connectCom();
    f.click(gen::kFactoryReset); // returns when "Set successfully!" has closed

    EXPECT_EQ(f.sent(), kResetSteps) << f.harness.transcript();
    EXPECT_EQ(f.popups.progress.at(0).text, "Setting . . .");
    ASSERT_EQ(f.popups.noticeTexts(), Names{"Set successfully!"});
    EXPECT_EQ(f.popups.notices[0].durationMs(), 1500);
    EXPECT_TRUE(f.page->isChecked(gen::kBeep));
    EXPECT_EQ(unit.routing[2], 2);
    EXPECT_EQ(unit.edidStatus[1], 0x03);
    f.harness.clearFrames();
    f.advance(20000);
    EXPECT_TRUE(f.sent().empty());
}

TEST(FactoryReset, StandbyAnnouncedInTheMiddleStopsItWithoutALaterTimeOut) {
    F f;
    f.onFault(Kind::Silent, FrameMatch::of(0x02, 0x03).with(4, 0x03));
    f.connectCom();
    f.harness.loop().schedule(1000, [&] { f.harness.announceStandby(); });
    bool progressGone = false;
    f.watchProgressAtNotice(progressGone);
    f.click(gen::kFactoryReset);
    f.advance(30000);

    EXPECT_EQ(f.sent(), Names(kResetSteps.begin(), kResetSteps.begin() + 3));
    ASSERT_EQ(f.popups.noticeTexts(), Names{"Matrix is in standby mode!"});
    EXPECT_EQ(f.popups.notices[0].durationMs(), 2500);
    EXPECT_TRUE(progressGone);
    EXPECT_FALSE(f.page->maintenance().resetRunning());
    for (int id = 1; id < 80; ++id) {
        EXPECT_FALSE(f.page->timerRunning(id)) << id;
    }
}

TEST(Reboot, ReplyShowsRebootingForFourSecondsThenRebootSuccessfully) {
    F f;
    f.connectCom();
    f.click(gen::kReboot);
    f.advance(10000);
    EXPECT_EQ(f.sent(), Names{F::frame({0x08, 0x0D, 0x00})});
    ASSERT_EQ(f.popups.noticeTexts(), (Names{"Rebooting...", "Reboot successfully!"}));
    EXPECT_EQ(f.popups.notices[0].durationMs(), 4000);
    EXPECT_EQ(f.popups.notices[1].openedMs, f.popups.notices[0].closedMs);
    EXPECT_EQ(f.popups.notices[1].durationMs(), 1500);
    EXPECT_EQ(f.state().NoticeShown, 0);
}

TEST(Power, StandbyAndPowerOnChangeTheBoxOnlyOnTheReply) {
    F f;
    f.connectCom();
    GeneralPage& p = *f.page;
    f.click(gen::kPower); // to standby
    f.advance(3);         // the request is at the matrix, its reply not yet back
    EXPECT_TRUE(p.isChecked(gen::kPower));
    EXPECT_EQ(f.sent(), Names{F::frame({0x08, 0x0B, 0xF0})});
    f.advance(50);
    EXPECT_FALSE(p.isChecked(gen::kPower));
    EXPECT_FALSE(f.harness.state().powerOn);

    // Reconnecting to the unit in standby says so.
    f.click(gen::kComConnect);
    f.click(gen::kComConnect);
    f.advance(3000);
    EXPECT_EQ(f.popups.noticeTexts(), Names{"Power Off!"});
    EXPECT_EQ(f.popups.notices[0].durationMs(), 2000);

    f.harness.clearFrames();
    f.click(gen::kPower); // power on
    f.advance(10000);
    EXPECT_TRUE(p.isChecked(gen::kPower));
    ASSERT_EQ(f.popups.noticeTexts(),
              (Names{"Power Off!", "Initializing...", "Initializing successfully!"}));
    EXPECT_EQ(f.popups.notices[1].durationMs(), 4000);
    EXPECT_EQ(f.popups.notices[2].durationMs(), 2000);
    EXPECT_EQ(f.sent(), (Names{F::frame({0x08, 0x0B, 0x0F}), F::frame({0x01, 0x0B, 0x00})}));
}

TEST(Power, SilentPowerOnTimesOutAfterTwoSeconds) {
    F f;
    f.harness.state().powerOn = false;
    f.onFault(Kind::Silent, FrameMatch::of(0x08, 0x0B));
    f.connectCom();
    const std::int64_t start = f.now();
    f.click(gen::kPower);
    f.advance(5000);
    ASSERT_EQ(f.popups.noticeTexts(), (Names{"Power Off!", "Time out!"}));
    EXPECT_EQ(f.popups.notices[1].openedMs - start, 2000);
    EXPECT_FALSE(f.page->isChecked(gen::kPower));
}
