// The maintenance commands as a user meets them: the factory reset step by step, a standby
// announcement in the middle of it, reboot and power with their notices, and check boxes that
// change only when the matrix confirms.
#include "GeneralFixture.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;
using F = GeneralFixture;
using sim::FaultRule;
using sim::FrameMatch;

namespace {

const std::vector<std::string> kResetSteps{F::frame({0x02, 0x03, 0x01, 0x00, 0x01}),
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
    unit.edidStatus.fill(0x0F);
    unit.beep = false;
    f.connectCom();
    ASSERT_FALSE(f.page->isChecked(gen::kBeep));
    const std::int64_t start = f.now();
    f.click(gen::kFactoryReset); // returns when "Set successfully!" has closed

    EXPECT_EQ(f.sent(), kResetSteps) << f.harness.transcript();
    ASSERT_EQ(f.popups.progress.size(), 1u);
    EXPECT_EQ(f.popups.progress[0].text, "Setting . . .");
    ASSERT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Set successfully!"}));
    EXPECT_EQ(f.popups.notices[0].durationMs(), 1500);
    EXPECT_LT(f.popups.notices[0].openedMs - start, 200); // one reply after another
    EXPECT_TRUE(f.page->isChecked(gen::kBeep));
    EXPECT_FALSE(f.page->maintenance().resetRunning());
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(unit.routing[static_cast<std::size_t>(k)], k) << k;
        EXPECT_EQ(unit.edidStatus[static_cast<std::size_t>(k)], 0x03) << k;
    }
    EXPECT_TRUE(unit.beep);
    f.harness.clearFrames();
    f.advance(20000);
    EXPECT_TRUE(f.sent().empty());
}

TEST(FactoryReset, SilentStepIsSentTwiceThenTimesOut) {
    F f;
    f.harness.faults().add(FaultRule{FaultRule::Kind::Silent, FrameMatch::of(0x03, 0x01)});
    f.connectCom();
    f.click(gen::kFactoryReset);

    std::vector<std::string> expected(kResetSteps.begin(), kResetSteps.begin() + 6);
    expected.push_back(kResetSteps[5]);
    EXPECT_EQ(f.sent(), expected);
    ASSERT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Time out!"}));
    EXPECT_EQ(f.popups.notices[0].durationMs(), 1000);
    // Six quick replies, then two waits of 5 s.
    EXPECT_NEAR(f.popups.notices[0].openedMs - f.popups.progress[0].openedMs, 10000 + 50, 10);
    EXPECT_EQ(f.state().ProgressShown, 0);
    EXPECT_FALSE(f.page->maintenance().resetRunning());
    EXPECT_FALSE(f.page->timerRunning(gen::kResetAnimation));
}

TEST(FactoryReset, StandbyAnnouncedInTheMiddleStopsItWithoutALaterTimeOut) {
    F f;
    f.harness.faults().add(
        FaultRule{FaultRule::Kind::Silent, FrameMatch::of(0x02, 0x03).with(4, 0x03)});
    f.connectCom();
    f.harness.loop().schedule(1000, [&] { f.harness.announceStandby(); });
    bool progressGone = false;
    f.harness.loop().setModalHook([&](Window& w) {
        if (w.templateId() == res::kNoticeDialog) {
            progressGone = !f.main->progress().isVisible();
        }
    });
    f.click(gen::kFactoryReset);
    f.advance(30000);

    EXPECT_EQ(f.sent(), std::vector<std::string>(kResetSteps.begin(), kResetSteps.begin() + 3));
    ASSERT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Matrix is in standby mode!"}));
    EXPECT_EQ(f.popups.notices[0].durationMs(), 2500);
    EXPECT_TRUE(progressGone);
    EXPECT_FALSE(f.page->maintenance().resetRunning());
    EXPECT_EQ(f.state().ProgressShown, 0);
}

TEST(Standby, AnnouncementDuringStatusStopsTheChainAndItsTimers) {
    F f;
    f.harness.faults().add(
        FaultRule{FaultRule::Kind::Silent, FrameMatch::of(0x01, 0x04).with(4, 0x02)});
    f.connectCom();
    f.harness.loop().schedule(1000, [&] { f.harness.announceStandby(); });
    f.click(gen::kStatus);
    f.advance(30000);
    EXPECT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Matrix is in standby mode!"}));
    for (int id = 1; id < 80; ++id) {
        EXPECT_FALSE(f.page->timerRunning(id)) << id;
    }
    EXPECT_EQ(f.sent().size(), 3u);
}

TEST(Reboot, ReplyShowsRebootingForFourSecondsThenRebootSuccessfully) {
    F f;
    f.connectCom();
    const std::int64_t start = f.now();
    f.click(gen::kReboot);
    f.advance(10000);

    EXPECT_EQ(f.sent(), (std::vector<std::string>{F::frame({0x08, 0x0D, 0x00})}));
    ASSERT_EQ(f.popups.noticeTexts(),
              (std::vector<std::string>{"Rebooting...", "Reboot successfully!"}));
    EXPECT_LT(f.popups.notices[0].openedMs - start, 20);
    EXPECT_EQ(f.popups.notices[0].durationMs(), 4000);
    EXPECT_EQ(f.popups.notices[1].openedMs, f.popups.notices[0].closedMs);
    EXPECT_EQ(f.popups.notices[1].durationMs(), 1500);
    EXPECT_EQ(f.state().NoticeShown, 0);
}

TEST(Reboot, SilenceGivesTimeOutAfterTwoSecondsWithoutARepeat) {
    F f;
    f.harness.faults().add(FaultRule{FaultRule::Kind::Silent, FrameMatch::of(0x08, 0x0D)});
    f.connectCom();
    const std::int64_t start = f.now();
    f.click(gen::kReboot);
    f.advance(10000);
    EXPECT_EQ(f.sent().size(), 1u);
    ASSERT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Time out!"}));
    EXPECT_EQ(f.popups.notices[0].openedMs - start, 2000);
    EXPECT_EQ(f.popups.notices[0].durationMs(), 1000);
}

TEST(Power, StandbyAndPowerOnChangeTheBoxOnlyOnTheReply) {
    F f;
    f.connectCom();
    GeneralPage& p = *f.page;
    ASSERT_TRUE(p.isChecked(gen::kPower));

    f.click(gen::kPower); // to standby
    f.advance(3);         // the request is at the matrix, the reply not yet back
    EXPECT_TRUE(p.isChecked(gen::kPower));
    EXPECT_EQ(f.sent(), (std::vector<std::string>{F::frame({0x08, 0x0B, 0xF0})}));
    f.advance(50);
    EXPECT_FALSE(p.isChecked(gen::kPower));
    EXPECT_FALSE(f.harness.state().powerOn);
    EXPECT_TRUE(f.popups.notices.empty());

    f.harness.clearFrames();
    f.click(gen::kPower); // power on
    EXPECT_FALSE(p.isChecked(gen::kPower));
    const std::int64_t start = f.now();
    f.advance(10000);
    EXPECT_TRUE(p.isChecked(gen::kPower));
    ASSERT_EQ(f.popups.noticeTexts(),
              (std::vector<std::string>{"Initializing...", "Initializing successfully!"}));
    EXPECT_EQ(f.popups.notices[0].durationMs(), 4000);
    EXPECT_EQ(f.popups.notices[1].durationMs(), 2000);
    EXPECT_LT(f.popups.notices[0].openedMs - start, 20);
    // After the wait the beeper's state is read again.
    EXPECT_EQ(f.sent(), (std::vector<std::string>{F::frame({0x08, 0x0B, 0x0F}),
                                                  F::frame({0x01, 0x0B, 0x00})}));
}

TEST(Power, SilentPowerOnTimesOutAfterTwoSeconds) {
    F f;
    f.harness.state().powerOn = false;
    f.harness.faults().add(
        FaultRule{FaultRule::Kind::Silent, FrameMatch::of(0x08, 0x0B).with(4, 0x0F)});
    f.click(gen::kComConnect);
    f.advance(3000); // "Power Off!"
    const std::int64_t start = f.now();
    f.click(gen::kPower);
    f.advance(5000);
    ASSERT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Power Off!", "Time out!"}));
    EXPECT_EQ(f.popups.notices[1].openedMs - start, 2000);
    EXPECT_FALSE(f.page->isChecked(gen::kPower));
}

TEST(Beep, BoxFollowsTheMatrixNotTheClick) {
    F f;
    f.connectCom();
    GeneralPage& p = *f.page;
    ASSERT_TRUE(p.isChecked(gen::kBeep));
    f.click(gen::kBeep);
    EXPECT_TRUE(p.isChecked(gen::kBeep));
    f.advance(50);
    EXPECT_FALSE(p.isChecked(gen::kBeep));
    EXPECT_FALSE(f.harness.state().beep);

    f.harness.faults().add(FaultRule{FaultRule::Kind::Silent, FrameMatch::of(0x06, 0x01)});
    f.click(gen::kBeep);
    f.advance(10000);
    EXPECT_FALSE(p.isChecked(gen::kBeep)); // no reply, no change, and no time-out either
    EXPECT_EQ(f.sent(), (std::vector<std::string>{F::frame({0x06, 0x01, 0xF0}),
                                                  F::frame({0x06, 0x01, 0x0F})}));
    EXPECT_TRUE(f.popups.notices.empty());
}

TEST(IrControl, HiddenBoxSwitchesOnTheReplyAndStatusReadsIt) {
    F f;
    f.connectTcp();
    GeneralPage& p = *f.page;
    f.harness.state().irControl = false;
    f.click(gen::kStatus); // over TCP the IR state is read first
    EXPECT_FALSE(p.isChecked(gen::kIrControl));

    // The box is hidden; its command still works for whoever reaches it.
    f.harness.clearFrames();
    p.setChecked(gen::kIrControl, true); // what the box's own click does before the command
    p.onCommand(gen::kIrControl, BN_CLICKED);
    f.advance(50);
    EXPECT_EQ(f.sent(), (std::vector<std::string>{F::frame({0x05, 0x01, 0x0F})}));
    EXPECT_TRUE(p.isChecked(gen::kIrControl));
    EXPECT_TRUE(f.harness.state().irControl);
}

TEST(Logs, HiddenLogsStillRecordEveryFrameEachWay) {
    F f;
    f.connectCom();
    const std::string sentLog = f.page->text(gen::kSendLog);
    EXPECT_EQ(sentLog, "A5 5B 08 0C 00 00 00 00 00 00 00 00 EC \r\n"
                       "A5 5B 01 0B 00 00 00 00 00 00 00 00 F4 \r\n");
    EXPECT_EQ(f.page->text(gen::kReceiveLog).substr(0, 14), "A5 5B 08 0C 0F");
}
