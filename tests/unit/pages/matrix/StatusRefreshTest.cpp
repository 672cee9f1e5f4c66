// The routing read back each time the Matrix tab is shown: the chain of queries, what the grid
// shows of each answer on either link, the tab lock meanwhile, and how it ends without answers.
#include "MatrixFixture.h"

using namespace zentrel;
using namespace zentrel::testing;
using Kind = sim::FaultRule::Kind;

namespace {

sim::FrameMatch routingOf(int k) {
    return sim::FrameMatch::of(cmd::kRouting.group, cmd::kRouting.command)
        .with(4, static_cast<std::uint8_t>(k));
}

sim::FaultRule patched(sim::FrameMatch match, std::size_t at, std::uint8_t value) {
    sim::FaultRule r{Kind::Patch, std::move(match)};
    r.patchAt = at;
    r.patchValue = value;
    return r;
}

} // namespace

TEST_F(MatrixTest, ShowingTheTabReadsEveryOutputBackOneAfterTheOther) {
    harness.state().routing = {0, 3, 1, 4, 2};
    connectCom();
    clickCaption(ctl::kMatrixCaption);
    advance(149);
    EXPECT_TRUE(sent().empty());
    advance(3);
    EXPECT_EQ(sent(), Names{"A5 5B 02 01 01 00 00 00 00 00 00 00 FC"});
    EXPECT_TRUE(state().MatrixBusy);
    // While the refresh runs the tab captions are refused.
    clickCaption(ctl::kGeneralCaption);
    EXPECT_EQ(state().ActivePage, kPageMatrix);
    advance(150);
    EXPECT_EQ(sent(), frames("02 01 01|02 01 02|02 01 03|02 01 04"));
    EXPECT_EQ(grid(), "A:3[3] B:1[1] C:4[4] D:2[2]");
    EXPECT_FALSE(state().MatrixBusy);
    EXPECT_TRUE(popups.notices.empty());
    // The arrows step from what was read back.
    page->click(mtx::nextArrow(3));
    advance(20);
    EXPECT_EQ(sent().back(), cmd::routeInput(1, 3).hex());
    // Every received byte is in the receive log, a line per frame.
    EXPECT_EQ(page->text(mtx::kReceiveLog).substr(0, 41),
              "A5 5B 02 01 01 00 03 00 00 00 00 00 F9 \r\n");

    // Each return to the tab reads the routing again.
    clickCaption(ctl::kGeneralCaption);
    advance(500);
    harness.state().routing[2] = 4;
    clearFrames();
    showMatrix();
    EXPECT_EQ(grid(), "A:3[3] B:4[4] C:1[1] D:2[2]");
}

TEST_F(MatrixTest, AnInputOutsideOneToFourIsShownInTheBoxOnlySignedOnSerialUnsignedOverTcp) {
    onFault(patched(routingOf(2), 6, 0xFF));
    onFault(patched(routingOf(3), 6, 0x07));
    onFault(patched(routingOf(4), 6, 0x00));
    openOnCom();
    EXPECT_EQ(grid(), "A:1[1] B:-1[] C:7[] D:0[]");
    EXPECT_TRUE(popups.notices.empty());

    // Over TCP the same answers read 255; buttons and the arrows' start stay as they were.
    clickCaption(ctl::kGeneralCaption);
    advance(500);
    connectTcp();
    showMatrix();
    EXPECT_EQ(grid(), "A:1[1] B:255[] C:7[] D:0[]");
    page->click(mtx::nextArrow(2));
    advance(50);
    EXPECT_EQ(sent().back(), cmd::routeInput(2, 2).hex());
    advance(1000);
    page->click(mtx::nextArrow(4)); // input 0 is no input either
    advance(50);
    EXPECT_EQ(sent().back(), cmd::routeInput(2, 4).hex());
}

TEST_F(MatrixTest, ARefreshGivingUpAfterASwitchOfTheSameOutputTakesNoLateAnswer) {
    // The switch leaves output 2's own waits behind; the refresh's give-up must still be its own.
    openOnCom();
    clickInput(2, 3);
    advance(50);
    clickCaption(ctl::kGeneralCaption);
    advance(500);
    onFault(Kind::Silent, routingOf(2));
    clickCaption(ctl::kMatrixCaption);
    advance(150 + 20 + 5000 + 5000 + 1500);
    EXPECT_EQ(popups.noticeTexts(), Names{"Time out!"});
    EXPECT_FALSE(state().MatrixBusy);
    // Ended: an answer for output 2 that comes after the time-out starts nothing.
    clearFrames();
    harness.serialPorts().sendToPanel(3, CommandFrame::make({0x02, 0x01, 0x02, 0x00, 0x03}).bytes);
    advance(1000);
    EXPECT_TRUE(sent().empty());
    EXPECT_FALSE(state().MatrixBusy);
}

TEST_F(MatrixTest, WithoutAPortTheTabAndTheGridSayOpenComFailedAndSendNothing) {
    clickCaption(ctl::kMatrixCaption);
    advance(2000);
    clickInput(1, 3);
    advance(2000);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(popups.noticeTexts(true),
              (Names{"Open COM failed! (1500 ms)", "Open COM failed! (1500 ms)"}));
    ASSERT_EQ(popups.notices.size(), 2u);
    EXPECT_EQ(popups.notices[0].openedMs, 150);
    EXPECT_FALSE(state().MatrixBusy);
    EXPECT_EQ(grid(), "A:1[] B:1[] C:1[] D:1[]");
}

TEST_F(MatrixTest, OverTcpOnlyTheFirstOfTwoRepliesInOneReadIsActedOnButBothAreLogged) {
    sim::FaultRule twin{Kind::Twin, routingOf(1)}; // followed by the standby announcement
    onFault(twin);
    connectTcp();
    clickCaption(ctl::kMatrixCaption);
    advance(150);
    EXPECT_TRUE(state().MatrixBusy);
    advance(150);
    EXPECT_TRUE(popups.notices.empty()); // the announcement after the reply is not acted on
    EXPECT_EQ(grid(), "A:1[1] B:2[2] C:3[3] D:4[4]");
    EXPECT_FALSE(state().MatrixBusy);
    const std::string log = page->text(mtx::kReceiveLog);
    EXPECT_EQ(log.substr(0, 82), "A5 5B 02 01 01 00 01 00 00 00 00 00 FB \r\n"
                                 "A5 5B 88 88 00 00 00 00 00 00 00 00 F0 \r\n");
}

TEST_F(MatrixTest, LeavingTheTabWithinItsFirst150MsLeavesThePortToThePageShown) {
    connectCom();
    clickCaption(ctl::kMatrixCaption);
    advance(50);
    clickCaption(ctl::kGeneralCaption);
    advance(1000);
    EXPECT_TRUE(sent().empty()) << harness.transcript(); // no refresh of a hidden page
    EXPECT_TRUE(popups.notices.empty());
    EXPECT_TRUE(main->page(kPageGeneral).serialLink()->isOpen());
}
