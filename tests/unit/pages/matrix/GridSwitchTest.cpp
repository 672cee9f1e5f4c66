// The switching grid over COM3 and TCP: what a click sends, what the grid shows before and after
// the matrix answers, and how silence, spoiled answers and answers for another output end.
#include "MatrixFixture.h"

#include <algorithm>

using namespace zentrel;
using namespace zentrel::testing;
using Kind = sim::FaultRule::Kind;

namespace {

const sim::FrameMatch kSwitch = sim::FrameMatch::of(cmd::kSwitch.group, cmd::kSwitch.command);

} // namespace

TEST_F(MatrixTest, AClickSendsTheSwitchAndTheGridFollowsOnlyTheAcknowledgment) {
    harness.state().routing = {0, 1, 1, 1, 1};
    openOnCom();
    EXPECT_EQ(grid(), "A:1[1] B:1[1] C:1[1] D:1[1]");

    clickInput(2, 3);
    advance(2);
    EXPECT_EQ(sent(), Names{"A5 5B 02 03 03 00 02 00 00 00 00 00 F6"});
    // Until the matrix answers, the button shows what was confirmed, and the tabs stay.
    EXPECT_EQ(grid(), "A:1[1] B:1[1] C:1[1] D:1[1]");
    EXPECT_TRUE(state().MatrixBusy);
    clickCaption(ctl::kGeneralCaption);
    EXPECT_EQ(state().ActivePage, kPageMatrix);

    // A click while the switch is pending changes nothing and sends nothing.
    clickInput(1, 4);
    page->click(mtx::nextArrow(3));
    EXPECT_EQ(sent().size(), 1u);
    EXPECT_EQ(grid(), "A:1[1] B:1[1] C:1[1] D:1[1]");

    advance(18);
    EXPECT_EQ(grid(), "A:1[1] B:3[3] C:1[1] D:1[1]");
    EXPECT_FALSE(state().MatrixBusy);
    EXPECT_EQ(harness.state().routing[2], 3);

    // The input that already feeds the output is sent all the same; nothing changes.
    clickInput(2, 3);
    advance(20);
    EXPECT_EQ(sent(), switches("3>2 3>2"));
    EXPECT_EQ(grid(), "A:1[1] B:3[3] C:1[1] D:1[1]");
    EXPECT_TRUE(popups.notices.empty());
    // Every frame went to the page's send log, one line each.
    const std::string log = page->text(mtx::kSendLog);
    EXPECT_EQ(log.substr(log.size() - 82), "A5 5B 02 03 03 00 02 00 00 00 00 00 F6 \r\n"
                                           "A5 5B 02 03 03 00 02 00 00 00 00 00 F6 \r\n");
}

TEST_F(MatrixTest, ArrowsStepThroughTheFourInputsAndWrapAround) {
    harness.state().routing = {0, 4, 1, 2, 3};
    openOnCom();
    page->click(mtx::nextArrow(1)); // 4 -> 1
    advance(20);
    page->click(mtx::prevArrow(2)); // 1 -> 4
    advance(20);
    page->click(mtx::nextArrow(3)); // 2 -> 3
    advance(20);
    page->click(mtx::prevArrow(4)); // 3 -> 2
    advance(20);
    EXPECT_EQ(sent(), switches("1>1 4>2 3>3 2>4"));
    EXPECT_EQ(grid(), "A:1[1] B:4[4] C:3[3] D:2[2]");
    // The arrows step from what was confirmed last.
    page->click(mtx::nextArrow(1));
    advance(20);
    EXPECT_EQ(sent().back(), cmd::routeInput(2, 1).hex());
}

TEST_F(MatrixTest, AnAcknowledgmentForAnotherOutputIsNotTakenForTheSwitch) {
    openOnCom();
    onFault(Kind::OtherOutput, kSwitch, 1);
    clickInput(1, 4); // acknowledged as if for output B
    advance(50);
    EXPECT_EQ(grid(), "A:1[1] B:2[2] C:3[3] D:4[4]");
    EXPECT_TRUE(state().MatrixBusy);
    // The wait goes on to its repeat, whose answer is the right one.
    advance(3000);
    EXPECT_EQ(sent(), switches("4>1 4>1"));
    EXPECT_EQ(grid(), "A:4[4] B:2[2] C:3[3] D:4[4]");
    EXPECT_FALSE(state().MatrixBusy);
    // A refused switch (byte 4 not 0) is no acknowledgment either.
    onFault(Kind::Refuse, kSwitch, 1);
    clickInput(2, 3);
    advance(50);
    EXPECT_TRUE(state().MatrixBusy);
    advance(3000);
    EXPECT_EQ(grid(), "A:4[4] B:3[3] C:3[3] D:4[4]");
}
