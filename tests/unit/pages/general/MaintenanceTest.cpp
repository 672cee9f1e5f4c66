// The maintenance commands as a user meets them: the factory reset step by step, reboot and
// power with their notices, and a check box that changes only when the matrix confirms.
#include "GeneralFixture.h"

using namespace zentrel;
using namespace zentrel::testing;
using Maintenance = GeneralTest;
using Kind = sim::FaultRule::Kind;
using sim::FrameMatch;

namespace {

const Names kResetSteps = frames("02 03 01 00 01 | 02 03 02 00 02 | 02 03 03 00 03 | 02 03 04 00 04"
                                 "| 03 08 F0 | 03 01 04 F0 | 06 01 0F");

} // namespace

TEST_F(Maintenance, FactoryResetRunsEveryStepAfterTheLastOnesReplyAndEndsWithSetSuccessfully) {
    sim::MatrixState& unit = harness.state();
    unit.routing = {0, 4, 3, 2, 1, 1, 1, 1, 1};
    unit.beep = false;
    connectCom();
    click(gen::kFactoryReset); // returns when "Set successfully!" has closed

    EXPECT_EQ(sent(), kResetSteps) << harness.transcript();
    EXPECT_EQ(popups.progress.at(0).text, "Setting . . .");
    EXPECT_EQ(popups.noticeTexts(true), Names{"Set successfully! (1500 ms)"});
    EXPECT_TRUE(page->isChecked(gen::kBeep));
    EXPECT_EQ(unit.routing[2], 2);
    EXPECT_EQ(unit.edidStatus[1], 0x03);
    harness.clearFrames();
    advance(20000);
    EXPECT_TRUE(sent().empty());
}

TEST_F(Maintenance, RebootReplyShowsRebootingForFourSecondsThenRebootSuccessfully) {
    connectCom();
    click(gen::kReboot);
    advance(10000);
    EXPECT_EQ(sent(), frames("08 0D 00"));
    EXPECT_EQ(popups.noticeTexts(true),
              (Names{"Rebooting... (4000 ms)", "Reboot successfully! (1500 ms)"}));
    EXPECT_EQ(popups.notices[1].openedMs, popups.notices[0].closedMs);
    EXPECT_EQ(state().NoticeShown, 0);
}

TEST_F(Maintenance, PowerAndBeepBoxesChangeOnlyOnTheReply) {
    connectCom();
    click(gen::kPower); // to standby
    advance(3);         // the request is at the matrix, its reply not yet back
    EXPECT_TRUE(page->isChecked(gen::kPower));
    EXPECT_EQ(sent(), frames("08 0B F0"));
    advance(50);
    EXPECT_FALSE(page->isChecked(gen::kPower));
    EXPECT_FALSE(harness.state().powerOn);

    // Reconnecting to the unit in standby says so.
    click(gen::kComConnect);
    click(gen::kComConnect);
    advance(3000);
    EXPECT_EQ(popups.noticeTexts(true), Names{"Power Off! (2000 ms)"});

    harness.clearFrames();
    click(gen::kPower); // power on
    advance(10000);
    EXPECT_TRUE(page->isChecked(gen::kPower));
    EXPECT_EQ(popups.noticeTexts(true), (Names{"Power Off! (2000 ms)", "Initializing... (4000 ms)",
                                               "Initializing successfully! (2000 ms)"}));
    EXPECT_EQ(sent(), frames("08 0B 0F | 01 0B 00"));

    // The beeper's box likewise asks for the state it does not show yet, and shows it once
    // the matrix has confirmed.
    ASSERT_TRUE(page->isChecked(gen::kBeep));
    harness.clearFrames();
    click(gen::kBeep);
    EXPECT_TRUE(page->isChecked(gen::kBeep));
    advance(50);
    EXPECT_FALSE(page->isChecked(gen::kBeep));
    EXPECT_FALSE(harness.state().beep);
    EXPECT_EQ(sent(), frames("06 01 F0"));
}
