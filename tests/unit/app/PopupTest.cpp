// The notice, progress and configuration pop-ups: flags, looks, placement and animations.
#include "app/ConfigProgressBox.h"
#include "app/NoticePopup.h"
#include "app/ProgressPopup.h"
#include "platform/sim/VirtualEventLoop.h"
#include "resources/ControlIds.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zentrel;

namespace {

struct Popups {
    VirtualEventLoop loop;
    SharedState state;
    NoticePopup notice{loop, state};
    ProgressPopup progress{loop, state};
    ConfigProgressBox box{loop, state};
    Popups() { state.MainClientRect = Rect{100, 50, 752, 600}; }
};

} // namespace

TEST(NoticePopup, OpensCentredOnTheMainWindowTranslucentAndRounded) {
    Popups p;
    p.loop.setModalHook([&](Window& w) {
        EXPECT_EQ(w.text(ctl::kNoticeLabel), "Set successfully!");
        EXPECT_EQ(w.opacity(), 190);
        EXPECT_EQ(w.cornerEllipse(), 5);
        // 133 x 50 dialog units centred on the 652 x 550 client area.
        EXPECT_EQ(w.geometry(), (Rect{293, 275, 293 + 266, 275 + 100}));
        EXPECT_EQ(p.state.NoticeShown, 1);
        p.loop.schedule(1500, [&] { p.notice.close(); });
    });
    p.notice.show("Set successfully!");
    EXPECT_EQ(p.loop.nowMs(), 1500);
    EXPECT_FALSE(p.notice.isVisible());

    // A later opening shows the new text where the main window is now.
    p.state.MainClientRect = Rect{0, 0, 652, 550};
    p.loop.setModalHook([&](Window& w) {
        EXPECT_EQ(w.text(ctl::kNoticeLabel), "Time out!");
        EXPECT_EQ(w.geometry().left, 193);
        p.notice.close();
    });
    p.notice.show("Time out!");
}

TEST(NoticePopup, EnterClearsTheFlagEscapeLeavesItAndClosingTwiceIsHarmless) {
    Popups p;
    p.loop.setModalHook([&](Window& w) { w.onOk(); });
    p.notice.show("Time out!");
    EXPECT_EQ(p.state.NoticeShown, 0);

    p.loop.setModalHook([&](Window& w) { w.onCancel(); });
    p.notice.show("Time out!");
    EXPECT_EQ(p.state.NoticeShown, 1);
    EXPECT_FALSE(p.notice.inModal());

    p.notice.close();
    p.notice.close();
    // A close on a closed pop-up must not end its next opening at once.
    p.loop.setModalHook([&](Window&) { p.loop.schedule(700, [&] { p.notice.close(); }); });
    const auto start = p.loop.nowMs();
    p.notice.show("Set successfully!");
    EXPECT_EQ(p.loop.nowMs() - start, 700);
}

TEST(ProgressPopup, ASecondRequestOnlyChangesTheText) {
    Popups p;
    int openings = 0;
    p.loop.setModalHook([&](Window& w) {
        ++openings;
        EXPECT_EQ(w.text(ctl::kProgressLabel), "Setting . . .");
        EXPECT_EQ(w.opacity(), 200);
        EXPECT_EQ(w.cornerEllipse(), 3);
        EXPECT_EQ(w.geometry(), (Rect{350, 310, 350 + 132, 310 + 32}));
        p.loop.schedule(300, [&] {
            p.state.ProgressText = "Getting status . . .";
            p.progress.openIfClosed(); // already open: no second loop
            EXPECT_EQ(p.progress.text(ctl::kProgressLabel), "Getting status . . .");
        });
        p.loop.schedule(600, [&] { p.progress.close(); });
    });
    p.state.ProgressText = "Setting . . .";
    p.progress.openIfClosed();
    EXPECT_EQ(openings, 1);
    EXPECT_EQ(p.loop.nowMs(), 600);
    EXPECT_EQ(p.state.ProgressShown, 0);

    // Enter and Escape end it by the default paths, which leave the flag set.
    p.loop.setModalHook([&](Window& w) { w.onCancel(); });
    p.progress.openIfClosed();
    EXPECT_EQ(p.state.ProgressShown, 1);
}

TEST(ProgressPopup, TicksShareOneStepThatWrapsAfterThree) {
    Popups p;
    std::vector<std::string> texts;
    for (int i = 0; i < 5; ++i) {
        p.progress.tick("Setting ");
        texts.push_back(p.state.ProgressText);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Setting .    ", "Setting . .  ", "Setting . . .",
                                               "Setting .    ", "Setting . .  "}));
    EXPECT_FALSE(p.progress.created()); // ticks before the first opening only set the text
}

TEST(ConfigProgressBox, AnimatesTimesOutAndClosesItself) {
    Popups p;
    std::vector<std::pair<std::int64_t, std::string>> seen;
    p.loop.setModalHook([&](Window& w) {
        EXPECT_EQ(w.opacity(), 210);
        EXPECT_EQ(w.cornerEllipse(), 5);
        EXPECT_EQ(w.geometry().left, 100);
        EXPECT_EQ(w.geometry().top, 50);
        seen.emplace_back(p.loop.nowMs(), w.text(ctl::kConfigLabel));
        for (int t : {501, 1001, 1501, 2001, 10001}) {
            p.loop.schedule(
                t, [&] { seen.emplace_back(p.loop.nowMs(), p.box.text(ctl::kConfigLabel)); });
        }
    });
    p.box.open();
    EXPECT_EQ(p.loop.nowMs(), 12000);
    EXPECT_EQ(seen,
              (std::vector<std::pair<std::int64_t, std::string>>{{0, "Configuring . . ."},
                                                                 {501, "Configuring . .  "},
                                                                 {1001, "Configuring . . ."},
                                                                 {1501, "Configuring .    "},
                                                                 {2001, "Configuring . .  "},
                                                                 {10001, "configure failed!"}}));
}

TEST(ConfigProgressBox, AClosedBoxKeepsNoTimersAndItsNextOpeningAnimatesOnFromThere) {
    Popups p;
    p.loop.setModalHook([&](Window& w) { p.loop.schedule(1001, [&w] { w.onCancel(); }); });
    p.box.open(); // two ticks: step 1 -> 2 -> 3
    EXPECT_EQ(p.box.step(), 3);
    for (int t : {1, 3, 4}) {
        EXPECT_FALSE(p.box.timerRunning(t)) << t;
    }
    p.box.finishWith("Searching Matrix IP . . .");
    EXPECT_EQ(p.box.text(ctl::kConfigLabel), "Searching Matrix IP . . .");

    p.loop.setModalHook([&](Window&) {
        p.loop.schedule(501, [&] {
            EXPECT_EQ(p.box.text(ctl::kConfigLabel), "Configuring .    ");
            p.box.close();
        });
    });
    p.box.open();
    EXPECT_EQ(p.box.step(), 1);
}

TEST(ConfigProgressBox, TimeOutAfterAnAcceptanceShowsSuccessAndResetsTheResult) {
    Popups p;
    p.loop.setModalHook([&](Window&) {
        p.loop.schedule(4000, [&] { p.state.ConfigResult = 1; });
        p.loop.schedule(10001, [&] {
            EXPECT_EQ(p.box.text(ctl::kConfigLabel),
                      "Matrix configuration completed successfully!");
        });
    });
    p.box.open();
    EXPECT_EQ(p.state.ConfigResult, 0);
}
