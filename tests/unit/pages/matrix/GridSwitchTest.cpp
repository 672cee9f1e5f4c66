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

TEST_F(MatrixTest, TheFourOutputLayoutIsBuiltFromTheEightOutputTemplate) {
    connectCom();
    clickCaption(ctl::kMatrixCaption);
    // Before the routing is read back: every box shows "1" in black on green.
    for (int k = 1; k <= ops::kOutputs; ++k) {
        EXPECT_EQ(page->text(mtx::numberBox(k)), "1");
        EXPECT_EQ(page->control(mtx::numberBox(k)).textColor, rgb(0, 0, 0));
        EXPECT_EQ(page->control(mtx::numberBox(k)).backColor, rgb(0, 255, 0));
        EXPECT_EQ(page->isShown(mtx::numberBox(k)), k <= 4);
        EXPECT_EQ(page->isShown(mtx::groupBox(k)), k <= 4);
        for (int i = 1; i <= mtx::kInputs; ++i) {
            EXPECT_EQ(page->isShown(mtx::inputButton(k, i)), k <= 4 && i <= 4) << k << " " << i;
        }
        EXPECT_EQ(page->isShown(mtx::prevArrow(k)), k <= 4);
    }
    // The panels are shown in the room the second row leaves, inside the page.
    const Rect pageRect{0, 0, page->geometry().width(), page->geometry().height()};
    for (int id : {mtx::kSelectOutput, mtx::panelButton(1), mtx::panelButton(8), mtx::kSettingsList,
                   mtx::kEdit, mtx::kSet}) {
        const Rect r = page->control(id).rect;
        EXPECT_TRUE(page->isShown(id));
        EXPECT_TRUE(pageRect.contains({r.left, r.top}) && r.right <= pageRect.right &&
                    r.bottom <= pageRect.bottom)
            << id;
    }
    // The page's own channel holds COM3 from its creation on.
    EXPECT_TRUE(page->serialLink()->isOpen());
    EXPECT_EQ(page->serialLink()->port(), 3);
}

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

TEST_F(MatrixTest, SilenceRepeatsOnceWithPleaseWaitThenTimesOutAndTheGridIsFreeAgain) {
    openOnCom();
    silenceOutput(3);
    const std::int64_t t0 = now();
    int progressAtRepeat = -1;
    whenDialogOpensAny([&](Window& w) {
        if (&w == &main->progress()) {
            progressAtRepeat = static_cast<int>(now() - t0);
            EXPECT_EQ(sent(), switches("2>3")); // the repeat is on its way
        }
    });
    clickInput(3, 2);
    advance(2999);
    EXPECT_EQ(sent().size(), 1u);
    advance(1);
    // The progress box's own loop ran the wait to its end.
    EXPECT_EQ(progressAtRepeat, 3000);
    EXPECT_EQ(sent(), switches("2>3 2>3"));
    advance(1500);
    ASSERT_EQ(popups.noticeTexts(true), Names{"Time out! (1500 ms)"});
    EXPECT_EQ(popups.notices[0].openedMs, t0 + 8000);
    // "Please wait" with its dots cycling every 500 ms while the repeat waits 5000 ms.
    const auto firstTick =
        std::find(popups.progressLabels.begin(), popups.progressLabels.end(), "Please wait .    ");
    ASSERT_GE(popups.progressLabels.end() - firstTick, 9);
    EXPECT_LE(popups.progressLabels.end() - firstTick, 10);
    EXPECT_EQ(Names(firstTick, firstTick + 4), (Names{"Please wait .    ", "Please wait . .  ",
                                                      "Please wait . . .", "Please wait .    "}));
    EXPECT_EQ(state().ProgressShown, 0);
    EXPECT_FALSE(state().MatrixBusy);
    EXPECT_EQ(grid(), "A:1[1] B:2[2] C:3[3] D:4[4]");
    EXPECT_FALSE(page->timerRunning(mtx::kAnimationTimer));

    clickInput(2, 1);
    advance(20);
    EXPECT_EQ(grid(), "A:1[1] B:1[1] C:3[3] D:4[4]");
}

TEST_F(MatrixTest, ASpoiledAcknowledgmentIsSentAgainOnceAndSilenceAfterwardsEndsTheWait) {
    openOnCom();
    // One spoiled answer: the re-send's answer is taken, without a notice.
    onFault(Kind::BadChecksum, kSwitch, 1);
    clickInput(1, 3);
    advance(50);
    EXPECT_EQ(sent(), switches("3>1 3>1"));
    EXPECT_EQ(grid(), "A:3[3] B:2[2] C:3[3] D:4[4]");
    EXPECT_TRUE(popups.notices.empty());
    clearFrames();
    // Answers that stay spoiled never leave the grid busy.
    onFault(Kind::BadChecksum, kSwitch);
    const std::int64_t t0 = now();
    clickInput(1, 2);
    advance(50);
    // One re-send after the first spoiled answer; after the second nothing more goes out.
    EXPECT_EQ(sent(), switches("2>1 2>1"));
    EXPECT_TRUE(state().MatrixBusy);
    advance(5000 + 1500);
    EXPECT_EQ(sent().size(), 2u);
    ASSERT_EQ(popups.noticeTexts(), Names{"Time out!"});
    EXPECT_LT(popups.notices[0].openedMs - t0, 5100);
    EXPECT_FALSE(state().MatrixBusy);
    EXPECT_EQ(grid(), "A:3[3] B:2[2] C:3[3] D:4[4]");
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
