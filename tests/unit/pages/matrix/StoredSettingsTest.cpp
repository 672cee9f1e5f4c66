// The output-configuration panel and the stored settings: whole routings applied output after
// output over COM3 and TCP, the list and the setting edit dialog, and the guards that keep one
// panel action at a time and are given back when it ends.
#include "MatrixFixture.h"

using namespace zentrel;
using namespace zentrel::testing;
using Kind = sim::FaultRule::Kind;

namespace {

std::vector<std::string> row(const MatrixPage& page, int r) {
    return page.control(mtx::kSettingsList).rows.at(static_cast<std::size_t>(r));
}

} // namespace

TEST_F(MatrixTest, PortToPortRoutesEachInputToItsOutputAndCanBeChosenAgain) {
    harness.state().routing = {0, 4, 4, 4, 4};
    openOnCom();
    page->choose(mtx::kSelectOutput, mtx::kPortToPortChoice);
    advance(2);
    EXPECT_EQ(sent(), Names{"A5 5B 02 03 01 00 01 00 00 00 00 00 F9"});
    advance(200);
    // Each acknowledgment sends the next output; the sequence ends with output 5.
    EXPECT_EQ(sent(), switches("1>1 2>2 3>3 4>4 5>5"));
    EXPECT_EQ(grid(), "A:1[1] B:2[2] C:3[3] D:4[4]");
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(harness.state().routing[static_cast<std::size_t>(k)], k);
    }
    EXPECT_TRUE(popups.notices.empty());

    // The finished sequence gave its guard back: the panels act again.
    clearFrames();
    page->choose(mtx::kSelectOutput, 0);
    page->click(mtx::panelButton(2));
    advance(50);
    EXPECT_EQ(sent(), switches("2>1"));
    EXPECT_EQ(grid(), "A:2[2] B:2[2] C:3[3] D:4[4]");
    clearFrames();
    page->choose(mtx::kSelectOutput, mtx::kPortToPortChoice);
    advance(200);
    EXPECT_EQ(sent(), switches("1>1 2>2 3>3 4>4 5>5"));
}

TEST_F(MatrixTest, OneOutputFromThePanelWaitsLongerThanTheGridAndFreesThePanelWhenItEnds) {
    openOnCom();
    page->choose(mtx::kSelectOutput, 1); // "Output2"
    silenceOutput(2);
    page->click(mtx::panelButton(3));
    advance(2);
    EXPECT_EQ(sent(), Names{"A5 5B 02 03 03 00 02 00 00 00 00 00 F6"});
    EXPECT_FALSE(state().MatrixBusy); // the tabs stay free
    // While it waits, no other panel action and no grid click goes out.
    page->click(mtx::panelButton(4));
    page->click(mtx::kSet);
    clickInput(1, 3);
    advance(4997);
    EXPECT_EQ(sent().size(), 1u);
    advance(1 + 5000 + 1500); // the repeat at 5000 ms, the give-up 5000 ms later
    EXPECT_EQ(sent(), switches("3>2 3>2"));
    EXPECT_EQ(popups.noticeTexts(), Names{"Time out!"});
    // Given back on the time-out.
    harness.faults().clear();
    page->click(mtx::panelButton(4));
    advance(50);
    EXPECT_EQ(sent().back(), cmd::routeInput(4, 2).hex());
    EXPECT_EQ(grid(), "A:1[1] B:4[4] C:3[3] D:4[4]");
}

TEST_F(MatrixTest, SetRightAfterTheStartAppliesInputTwoToEveryOutputThenAllOutputInputThree) {
    openOnCom();
    EXPECT_EQ(row(*page, 0), (Names{"Setting1", "2", "2", "2", "2", "2", "2", "2", "2"}));
    EXPECT_EQ(row(*page, 1), (Names{"Setting2", "", "", "", "", "", "", "", ""}));
    page->click(mtx::kSet);
    advance(200);
    EXPECT_EQ(sent(), switches("2>1 2>2 2>3 2>4 2>5"));
    // All Output with button 3: input 3 to every output, and the working routing with it.
    clearFrames();
    page->choose(mtx::kSelectOutput, mtx::kAllOutputChoice);
    page->click(mtx::panelButton(3));
    advance(200);
    EXPECT_EQ(sent(), switches("3>1 3>2 3>3 3>4 3>5"));
    EXPECT_EQ(grid(), "A:3[3] B:3[3] C:3[3] D:3[3]");
    EXPECT_EQ(page->engine().working(4), 2);
}

TEST_F(MatrixTest, ASpoiledAcknowledgmentInASequenceIsResentThenSkippedOnTheSecondWait) {
    openOnCom();
    onFault(Kind::BadChecksum,
            sim::FrameMatch::of(cmd::kSwitch.group, cmd::kSwitch.command).with(6, 2));
    page->click(mtx::kSet);
    advance(200);
    // Output 2 is sent twice, then the sequence goes on with output 3, on its second wait.
    EXPECT_EQ(sent(), switches("2>1 2>2 2>2 2>3 2>4 2>5"));
    EXPECT_TRUE(popups.notices.empty());
    // And a skipped-to output that stays silent ends in "Time out!" without a repeat.
    harness.faults().clear();
    onFault(Kind::BadChecksum,
            sim::FrameMatch::of(cmd::kSwitch.group, cmd::kSwitch.command).with(6, 2));
    silenceOutput(3);
    clearFrames();
    page->click(mtx::kSet);
    advance(200);
    EXPECT_EQ(sent(), switches("2>1 2>2 2>2 2>3"));
    advance(5000 + 1500);
    EXPECT_EQ(sent().size(), 4u);
    EXPECT_EQ(popups.noticeTexts(), Names{"Time out!"});
}

TEST_F(MatrixTest, OverTcpASequenceGoesOnAfterOutputOneAndThePanelsCheckTheSocket) {
    openOnTcp();
    page->choose(mtx::kSelectOutput, mtx::kPortToPortChoice);
    advance(200);
    EXPECT_EQ(sent(), switches("1>1 2>2 3>3 4>4 5>5"));
    // The boxes show what each step sent.
    EXPECT_EQ(grid(), "A:1[1] B:2[2] C:3[3] D:4[4]");
    clearFrames();
    page->choose(mtx::kSelectOutput, mtx::kAllOutputChoice);
    page->click(mtx::panelButton(3));
    advance(200);
    EXPECT_EQ(sent(), switches("3>1 3>2 3>3 3>4 3>5"));
    EXPECT_EQ(grid(), "A:3[3] B:3[3] C:3[3] D:3[3]");
    clearFrames();
    page->click(mtx::kSet);
    advance(200);
    EXPECT_EQ(sent().size(), 5u);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(popups.notices.empty());
}

TEST_F(MatrixTest, WithoutTheLinkOfTheModeThePanelsRefuse) {
    openOnCom();
    page->serialLink()->stop();
    page->choose(mtx::kSelectOutput, 0);
    page->click(mtx::panelButton(1));
    page->click(mtx::kSet);
    EXPECT_EQ(ui.boxes, (Names{"请打开串口", "请打开串口"}));
    EXPECT_TRUE(sent().empty());

    // Over TCP the panels ask for the General page's confirmed link, not the serial port.
    state().ControlMode = kModeTcp;
    state().ShownConnected = 0;
    page->click(mtx::kSet);
    advance(2000);
    EXPECT_EQ(popups.noticeTexts(), Names{"Connect to Matrix failed!"});
    EXPECT_EQ(ui.boxes.size(), 2u);
    EXPECT_TRUE(sent().empty());
}

TEST_F(MatrixTest, AListClickTakesTheRowsRoutingAndKeepsItForEmptyCells) {
    openOnCom();
    // An empty row changes the name and the row, not the routing.
    page->choose(mtx::kSettingsList, 3);
    EXPECT_EQ(page->settings().selected(), 3);
    EXPECT_EQ(page->settings().name(), "Setting4");
    page->click(mtx::kSet);
    // A row clicked while the sequence holds the guard is not taken, nor left highlighted.
    page->choose(mtx::kSettingsList, 5);
    EXPECT_EQ(page->settings().selected(), 3);
    EXPECT_EQ(page->selection(mtx::kSettingsList), 3);
    advance(200);
    EXPECT_EQ(sent(), switches("2>1 2>2 2>3 2>4 2>5"));

    // The edit dialog: what it shows, All Outputs from, and OK into the routing and the row.
    Names shown;
    whenDialogOpens([&](Window& d) {
        shown.push_back(d.text(mtx::kEditName));
        for (int n = 1; n <= ops::kOutputs; ++n) {
            shown.push_back(d.shownText(mtx::outFrom(n)));
        }
        shown.push_back(d.shownText(mtx::kAllOutputsFrom));
        d.choose(mtx::kAllOutputsFrom, 3); // "In3"
        for (int n = 1; n <= ops::kOutputs; ++n) {
            shown.push_back(d.shownText(mtx::outFrom(n)));
        }
        d.choose(mtx::kAllOutputsFrom, mtx::kAllFromPortToPort);
        d.choose(mtx::outFrom(2), 3);
        d.type(mtx::kEditName, "Stage");
        d.click(mtx::kEditOk);
    });
    page->click(mtx::kEdit);
    EXPECT_EQ(shown,
              (Names{"Setting4", "In2", "In2", "In2", "In2", "In2", "In2", "In2", "In2",
                     "Select Input", "In3", "In3", "In3", "In3", "In3", "In3", "In3", "In3"}));
    EXPECT_EQ(row(*page, 3), (Names{"Stage", "1", "4", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(page->settings().name(), "Stage");

    clearFrames();
    page->click(mtx::kSet);
    advance(200);
    EXPECT_EQ(sent(), switches("1>1 4>2 3>3 4>4 5>5"));

    // A row with cells sets the routing from them; Cancel and Close change nothing.
    page->choose(mtx::kSettingsList, 0);
    whenDialogOpens([](Window& d) {
        d.choose(mtx::kAllOutputsFrom, 1);
        d.type(mtx::kEditName, "Lost");
        d.click(mtx::kEditCancel);
    });
    page->click(mtx::kEdit);
    whenDialogOpens([](Window& d) {
        d.choose(mtx::kAllOutputsFrom, 1);
        d.click(mtx::kEditClose);
    });
    page->click(mtx::kEdit);
    EXPECT_EQ(row(*page, 0), (Names{"Setting1", "2", "2", "2", "2", "2", "2", "2", "2"}));
    clearFrames();
    page->click(mtx::kSet);
    advance(200);
    EXPECT_EQ(sent(), switches("2>1 2>2 2>3 2>4 2>5"));
}

TEST_F(MatrixTest, TheEditDialogShowsEveryControlInsideItself) {
    openOnCom();
    bool checked = false;
    whenDialogOpens([&](Window& d) {
        const Rect area{0, 0, d.geometry().width(), d.geometry().height()};
        for (const auto& [id, c] : d.controls()) {
            EXPECT_TRUE(c.visible) << id;
            EXPECT_TRUE(c.rect.left >= 0 && c.rect.top >= 0 && c.rect.right <= area.right &&
                        (c.kind == ControlKind::ComboBox || c.rect.bottom <= area.bottom))
                << id;
        }
        checked = true;
        d.click(mtx::kEditCancel);
    });
    page->click(mtx::kEdit);
    EXPECT_TRUE(checked);
}
