// Set EDID Mode and Copy EDID From as a user meets them: the page as it opens, the frames of
// each choice and target, the results and refusals, silence with its repeat and give-up, and
// the EDID switch report.
#include "EdidFixture.h"

using namespace zentrel;
using namespace zentrel::testing;
using Kind = sim::FaultRule::Kind;
using sim::FrameMatch;

namespace {

struct EdidMode : EdidTest {
    EdidMode() { openOverCom(); }
};

Names chain() {
    return frames("01 0C 01 | 01 0C 02 | 01 0C 03 | 01 0C 04");
}

} // namespace

TEST_F(EdidTest, OpensCutToFourInputsAndRefreshesTheListOnEveryActivation) {
    harness.state().edidStatus[2] = 0x0A;
    connectCom();
    chooseTab();
    // Before the activation the list shows the default EDID four times.
    EXPECT_EQ(statusLines(), Names(4, "Default EDID"));
    advance(1000);
    EXPECT_EQ(sent(), chain());
    EXPECT_EQ(statusLines(), (Names{"1080p,Stereo Audio 2.0", "4K2K,Dolby/DTS 5.1",
                                    "1080p,Stereo Audio 2.0", "1080p,Stereo Audio 2.0"}));

    EXPECT_EQ(edid->control(edid::kCopyTarget).items,
              (Names{"IN1", "IN2", "IN3", "IN4", "All Inputs"}));
    for (int id : {edid::inputLabel(5), edid::statusLine(8), edid::kReceiveLog, edid::kSendLog}) {
        EXPECT_FALSE(edid->isShown(id)) << id;
    }

    // Selections stay while the page lives; the next activation refreshes the list again.
    choose(edid::kModeChoice, 10);
    choose(edid::kModeTarget, 4);
    main->selectPage(kPageGeneral);
    advance(1000);
    harness.state().edidStatus[1] = 0x13;
    harness.clearFrames();
    main->selectPage(kPageEdid);
    advance(1000);
    EXPECT_EQ(sent(), chain());
    EXPECT_EQ(edid->shownText(edid::kModeChoice), "4K2K,Dolby/DTS 5.1");
    EXPECT_EQ(edid->shownText(edid::kModeTarget), "All Inputs");
    EXPECT_EQ(statusLines()[0], "User define");
}

TEST_F(EdidMode, BuiltInEdidOnOneInputSetsItAndReadsItBack) {
    choose(edid::kModeChoice, 10);
    choose(edid::kModeTarget, 2);
    const std::int64_t start = now();
    press(edid::kModeSet);
    advance(100);

    EXPECT_EQ(sent(), frames("03 08 F0 | 03 02 0B F0 03 | 01 0C 03"));
    EXPECT_EQ(sent()[1], "A5 5B 03 02 0B F0 03 00 00 00 00 00 FD");
    // The input is read back once the message has gone.
    EXPECT_EQ(sentAt(start).back().substr(0, 6), "1520: ");
    EXPECT_EQ(noticesFrom(start), (Names{"Set successfully! @18 (1500 ms)"}));
    ASSERT_EQ(popups.progress.size(), 1u);
    EXPECT_EQ(popups.progress[0].text, "Setting . . .");
    EXPECT_EQ(statusLines()[2], "4K2K,Dolby/DTS 5.1");
    EXPECT_EQ(harness.state().edidStatus[3], 0x0A);
    EXPECT_FALSE(edid->busy());
}

TEST_F(EdidMode, DefaultAndBuiltInOnAllInputsRefreshTheWholeListOneReplyAtATime) {
    harness.state().edidStatus[3] = 0x0A;
    choose(edid::kModeChoice, 15);
    choose(edid::kModeTarget, 4);
    // A late status reply holds back the next query: each goes out on the reply to the one
    // before.
    sim::FaultRule late{Kind::Delay, FrameMatch::of(cmd::kEdidStatus).with(4, 0x02), 1};
    late.delayMs = 3000;
    harness.faults().add(late);
    std::int64_t start = now();
    press(edid::kModeSet);
    advance(4000);
    EXPECT_EQ(sentAt(start), (Names{"2: " + frames("03 08 F0")[0], "11: " + frames("03 09 FE")[0],
                                    "20: " + chain()[0], "29: " + chain()[1], "3038: " + chain()[2],
                                    "3047: " + chain()[3]}));
    EXPECT_TRUE(popups.notices.empty()); // the default EDID is set without a word
    EXPECT_EQ(statusLines(), Names(4, "1080p,Stereo Audio 2.0"));

    // A built-in EDID on all inputs says so, then refreshes.
    harness.clearFrames();
    choose(edid::kModeChoice, 12);
    start = now();
    press(edid::kModeSet);
    advance(100);
    EXPECT_EQ(sent(), frames("03 08 F0 | 03 01 0D F0") + chain());
    EXPECT_EQ(noticesFrom(start), (Names{"Set successfully! @18 (1500 ms)"}));
    EXPECT_EQ(statusLines(), Names(4, "DVI 1024X768"));
}

TEST_F(EdidMode, DefaultEdidOnOneInputReadsThatInputBackWithoutAWord) {
    harness.state().edidStatus[2] = 0x05;
    choose(edid::kModeChoice, 15);
    choose(edid::kModeTarget, 1);
    press(edid::kModeSet);
    advance(100);
    EXPECT_EQ(sent(), frames("03 08 F0 | 03 0A 02 | 01 0C 02"));
    EXPECT_TRUE(popups.notices.empty());
    EXPECT_EQ(statusLines()[1], "1080p,Stereo Audio 2.0");
}

TEST_F(EdidMode, CopyChecksTheSourceOutputFirst) {
    harness.state().outputConnected[4] = false;
    choose(edid::kCopySource, 3);
    choose(edid::kCopyTarget, 0);
    std::int64_t start = now();
    press(edid::kCopySet);
    advance(20000);
    EXPECT_EQ(sent(), frames("01 05 04"));
    EXPECT_EQ(noticesFrom(start), (Names{"HDMI OUT D is not connected! @9 (1500 ms)"}));
    EXPECT_EQ(popups.progress.at(0).text, "Copying . . .");
    EXPECT_FALSE(edid->busy());

    // From output B to input 1: the copy, the message, then input 1 read back.
    harness.clearFrames();
    popups.notices.clear();
    choose(edid::kCopySource, 1);
    start = now();
    press(edid::kCopySet);
    advance(100);
    EXPECT_EQ(sent(), frames("01 05 02 | 03 08 F0 | 03 04 02 00 01 | 01 0C 01"));
    EXPECT_EQ(noticesFrom(start), (Names{"Copy successfully! @27 (1500 ms)"}));
    EXPECT_EQ(statusLines()[0], "Copy HDMI OUT B");
}

TEST_F(EdidMode, CopyResultIsReadFromByteFourForOneInputAndForAll) {
    choose(edid::kCopySource, 2);
    choose(edid::kCopyTarget, 4);
    press(edid::kCopySet);
    advance(100);
    EXPECT_EQ(sent(), frames("01 05 03 | 03 08 F0 | 03 03 03") + chain());
    EXPECT_EQ(popups.noticeTexts(), (Names{"Copy successfully!"}));
    EXPECT_EQ(statusLines(), Names(4, "Copy HDMI OUT C"));

    // Refused (byte 4 FF) for one input, any other non-zero code for all: a failure either
    // way, and nothing read back.
    sim::FaultRule failed{Kind::Patch, FrameMatch::of(cmd::kEdidCopyAll)};
    failed.patchAt = 4;
    failed.patchValue = 0x01;
    harness.faults().add(failed);
    onFault(Kind::Refuse, FrameMatch::of(cmd::kEdidCopy));
    harness.clearFrames();
    popups.notices.clear();
    press(edid::kCopySet);
    advance(100);
    choose(edid::kCopyTarget, 3);
    press(edid::kCopySet);
    advance(100);
    EXPECT_EQ(sent(),
              frames("01 05 03 | 03 08 F0 | 03 03 03 | 01 05 03 | 03 08 F0 | 03 04 03 00 04"));
    EXPECT_EQ(popups.noticeTexts(), (Names{"Copy failed!", "Copy failed!"}));
    EXPECT_EQ(statusLines(), Names(4, "Copy HDMI OUT C"));
}

TEST_F(EdidMode, ASecondSetWhileTheFirstWaitsIsAskedToWaitAndTheGiveUpClosesThatNotice) {
    onFault(Kind::Silent, FrameMatch::of(cmd::kEdidAccess));
    choose(edid::kModeTarget, 0);
    // When the first gives up with "Please wait..." on screen, that notice closes and the
    // time-out is not shown.
    const std::int64_t start = now();
    at(9000, [this] { press(edid::kModeSet); });
    press(edid::kModeSet);
    advance(3000);
    EXPECT_EQ(noticesFrom(start), (Names{"Please wait... @9000 (1000 ms)"}));
    EXPECT_EQ(sent(), frames("03 08 F0 | 03 08 F0"));
    EXPECT_FALSE(edid->busy());
}

TEST_F(EdidMode, ReplyForAnotherInputIsIgnoredAndTheWaitEndsInATimeOut) {
    onFault(Kind::OtherInput, FrameMatch::of(cmd::kEdidBuiltIn));
    choose(edid::kModeTarget, 1);
    const std::int64_t start = now();
    press(edid::kModeSet);
    EXPECT_EQ(sent(), frames("03 08 F0 | 03 02 01 F0 02 | 03 02 01 F0 02"));
    EXPECT_EQ(noticesFrom(start), (Names{"Time out! @10009 (1500 ms)"}));
}

TEST_F(EdidTest, RefusedWithoutALinkOrWhileBusy) {
    // COM mode without a connection: the activation says so and the buttons refuse.
    chooseTab();
    advance(1000);
    press(edid::kModeSet);
    press(edid::kCopySet);
    EXPECT_EQ(popups.noticeTexts(), Names(3, "Open COM failed!"));
    EXPECT_TRUE(sent().empty());

    // TCP mode without the link confirmed.
    popups.notices.clear();
    general->click(gen::kTcpRadio);
    state().ShownConnected = 1;
    main->selectPage(kPageEdid);
    advance(1000);
    press(edid::kModeSet);
    press(edid::kStatus);
    EXPECT_EQ(popups.noticeTexts(), Names(3, "Connect to Matrix failed!"));
}

TEST_F(EdidMode, SwitchReportRefusingTheAccessEndsTheSetting) {
    sim::FaultRule report{Kind::SwitchReport, FrameMatch::of(cmd::kEdidAccess)};
    harness.faults().add(report);
    const std::int64_t start = now();
    press(edid::kModeSet);
    advance(20000);
    // Refused: no repeat, and no time-out later for what was refused.
    EXPECT_EQ(sent(), frames("03 08 F0"));
    EXPECT_EQ(noticesFrom(start), (Names{"Please set the EDID to [1111]! @9 (2500 ms)"}));
    EXPECT_FALSE(edid->busy());

    // Any other code lets the setting go on: the access is asked for again.
    harness.faults().clear();
    report.code = 0x00;
    report.times = 1;
    harness.faults().add(report);
    harness.clearFrames();
    popups.notices.clear();
    press(edid::kModeSet);
    advance(100);
    EXPECT_EQ(sent(), frames("03 08 F0 | 03 08 F0 | 03 02 01 F0 01 | 01 0C 01"));
    EXPECT_EQ(popups.noticeTexts(), (Names{"Set successfully!"}));
}
