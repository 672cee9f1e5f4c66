// The Matrix page on an eight-by-eight unit: the eight-output layout with the panels below it,
// the refresh of outputs 1..8, a switch on the second row, the arrows over eight inputs, and
// "All Output" and "Port to Port" over eight outputs; back on a four-by-four unit the page is
// laid out as it always was.
#include "MatrixFixture.h"
#include "pages/matrix/MatrixPageTemplate.h"

using namespace zentrel;
using namespace zentrel::testing;

namespace {

struct Large : ::testing::Test, MatrixFixture {
    Large() : MatrixFixture(eightByEight()) {}
};

bool overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

TEST_F(Large, EightGroupsOfEightInputsAndThePanelsFitThePageAndTheRefreshReadsEight) {
    harness.state().routing = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    connectCom();
    clickCaption(ctl::kMatrixCaption);
    advance(300);
    Names refresh;
    for (int k = 1; k <= 8; ++k) {
        refresh.push_back(cmd::queryRouting(k).hex());
    }
    EXPECT_EQ(sent(), refresh);
    EXPECT_EQ(grid(8), "A:1[1] B:2[2] C:3[3] D:4[4] E:5[5] F:6[6] G:7[7] H:8[8]");
    EXPECT_FALSE(state().MatrixBusy);

    const Rect pageRect{0, 0, page->geometry().width(), page->geometry().height()};
    std::vector<int> shown;
    for (int k = 1; k <= 8; ++k) {
        for (int i = 1; i <= 8; ++i) {
            shown.push_back(mtx::inputButton(k, i));
        }
        for (int id : {mtx::numberBox(k), mtx::prevArrow(k), mtx::nextArrow(k)}) {
            shown.push_back(id);
        }
        EXPECT_TRUE(page->isShown(mtx::groupBox(k)));
    }
    // The Select Output list is left out: its rectangle holds the opened list too.
    for (int id : {mtx::kConfigGroup, mtx::kSelectOutputLabel, mtx::panelButton(8),
                   mtx::kSettingsList, mtx::kEdit, mtx::kSet}) {
        shown.push_back(id);
    }
    for (std::size_t a = 0; a < shown.size(); ++a) {
        const Rect r = page->control(shown[a]).rect;
        EXPECT_TRUE(page->isShown(shown[a])) << shown[a];
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= pageRect.right &&
                    r.bottom <= pageRect.bottom)
            << shown[a];
        for (std::size_t b = a + 1; b < shown.size(); ++b) {
            const bool nested =
                shown[b] == mtx::kSelectOutputLabel || shown[b] == mtx::panelButton(8);
            if (!(shown[a] == mtx::kConfigGroup && nested)) {
                EXPECT_FALSE(overlap(r, page->control(shown[b]).rect))
                    << shown[a] << " " << shown[b];
            }
        }
    }
    // The settings list still shows a header and its rows below the panel.
    EXPECT_GE(page->control(mtx::kSettingsList).rect.height(), 140);
}

TEST_F(Large, SwitchesArrowsAndSequencesCoverEightOutputsAndInputs) {
    openOnCom();
    clickInput(7, 7); // input 7 to output G
    advance(50);
    EXPECT_EQ(sent(), switches("7>7"));
    EXPECT_EQ(harness.state().routing[7], 7);
    EXPECT_EQ(page->text(mtx::numberBox(7)), "7");

    struct Step {
        const char* what;
        std::function<void()> act;
        Names frames;
        std::string grid;
    };
    const std::vector<Step> steps = {
        {"next after 7 is 8", [&] { page->click(mtx::nextArrow(7)); }, switches("8>7"),
         "A:1[1] B:2[2] C:3[3] D:4[4] E:5[5] F:6[6] G:8[8] H:8[8]"},
        {"next after 8 wraps to 1", [&] { page->click(mtx::nextArrow(7)); }, switches("1>7"),
         "A:1[1] B:2[2] C:3[3] D:4[4] E:5[5] F:6[6] G:1[1] H:8[8]"},
        {"previous before 1 is 8", [&] { page->click(mtx::prevArrow(7)); }, switches("8>7"),
         "A:1[1] B:2[2] C:3[3] D:4[4] E:5[5] F:6[6] G:8[8] H:8[8]"},
        {"All Output",
         [&] {
             page->choose(mtx::kSelectOutput, mtx::kAllOutputChoice);
             page->click(mtx::panelButton(6));
         },
         switches("6>1 6>2 6>3 6>4 6>5 6>6 6>7 6>8"),
         "A:6[6] B:6[6] C:6[6] D:6[6] E:6[6] F:6[6] G:6[6] H:6[6]"},
        {"Port to Port", [&] { page->choose(mtx::kSelectOutput, mtx::kPortToPortChoice); },
         switches("1>1 2>2 3>3 4>4 5>5 6>6 7>7 8>8"),
         "A:1[1] B:2[2] C:3[3] D:4[4] E:5[5] F:6[6] G:7[7] H:8[8]"},
    };
    harness.state().routing = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    showMatrix();
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        clearFrames();
        s.act();
        advance(500);
        EXPECT_EQ(sent(), s.frames);
        EXPECT_EQ(grid(8), s.grid);
        EXPECT_FALSE(state().MatrixBusy);
        EXPECT_TRUE(page->panelsFree());
    }
    EXPECT_TRUE(popups.notices.empty());
}

TEST_F(Large, AFourByFourUnitAfterwardsGetsTheFourOutputLayoutBack) {
    openOnCom();
    harness.state() = sim::MatrixState::factory(4, 4);
    clickCaption(ctl::kGeneralCaption);
    advance(300);
    general->click(gen::kComConnect); // disconnect, then connect to the small unit
    general->click(gen::kComConnect);
    advance(300);
    showMatrix();

    MatrixFixture small;
    small.openOnCom();
    for (const ControlTemplate& c : matrixPageTemplate().controls) {
        EXPECT_EQ(page->control(c.id).rect, small.page->control(c.id).rect) << c.id;
        EXPECT_EQ(page->isShown(c.id), small.page->isShown(c.id)) << c.id;
    }
}
