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

class Popups : public ::testing::Test {
protected:
    Popups() { state.MainClientRect = Rect{100, 50, 752, 600}; }
    template <typename Popup> void closeAfter(std::int64_t ms, Popup& popup) {
        loop.schedule(ms, [&popup] { popup.close(); });
    }

    VirtualEventLoop loop;
    SharedState state;
    NoticePopup notice{loop, state};
    ProgressPopup progress{loop, state};
    ConfigProgressBox box{loop, state};
};

} // namespace

TEST_F(Popups, NoticeEnterClearsTheFlagEscapeLeavesItAndClosingTwiceIsHarmless) {
    loop.setModalHook([](Window& w) { w.onOk(); });
    notice.show("Time out!");
    EXPECT_EQ(state.NoticeShown, 0);

    loop.setModalHook([](Window& w) { w.onCancel(); });
    notice.show("Time out!");
    EXPECT_EQ(state.NoticeShown, 1);
    EXPECT_FALSE(notice.inModal());

    notice.close();
    notice.close();
    // A close on a closed pop-up must not end its next opening at once.
    loop.setModalHook([&](Window&) { closeAfter(700, notice); });
    const auto start = loop.nowMs();
    notice.show("Set successfully!");
    EXPECT_EQ(loop.nowMs() - start, 700);
}

TEST_F(Popups, ProgressASecondRequestOnlyChangesTheText) {
    int openings = 0;
    loop.setModalHook([&](Window& w) {
        ++openings;
        EXPECT_EQ(w.text(ctl::kProgressLabel), "Setting . . .");
        EXPECT_EQ(w.geometry(), (Rect{350, 310, 350 + 132, 310 + 32}));
        loop.schedule(300, [&] {
            state.ProgressText = "Getting status . . .";
            progress.openIfClosed(); // already open: no second loop
            EXPECT_EQ(progress.text(ctl::kProgressLabel), "Getting status . . .");
        });
        closeAfter(600, progress);
    });
    state.ProgressText = "Setting . . .";
    progress.openIfClosed();
    EXPECT_EQ(openings, 1);
    EXPECT_EQ(loop.nowMs(), 600);
    EXPECT_EQ(state.ProgressShown, 0);

    // Enter and Escape end it by the default paths, which leave the flag set.
    loop.setModalHook([](Window& w) { w.onCancel(); });
    progress.openIfClosed();
    EXPECT_EQ(state.ProgressShown, 1);
}

TEST_F(Popups, ConfigBoxAnimatesTimesOutAndClosesItself) {
    using Seen = std::vector<std::pair<std::int64_t, std::string>>;
    Seen seen;
    const auto record = [&] { seen.emplace_back(loop.nowMs(), box.text(ctl::kConfigLabel)); };
    loop.setModalHook([&](Window& w) {
        ASSERT_EQ(&w, &box);
        EXPECT_EQ(w.geometry().left, 100);
        EXPECT_EQ(w.geometry().top, 50);
        record();
        for (int t : {501, 1001, 1501, 2001, 10001}) {
            loop.schedule(t, record);
        }
    });
    box.open();
    EXPECT_EQ(loop.nowMs(), 12000);
    const Seen expected{{0, "Configuring . . ."},    {501, "Configuring . .  "},
                        {1001, "Configuring . . ."}, {1501, "Configuring .    "},
                        {2001, "Configuring . .  "}, {10001, "configure failed!"}};
    EXPECT_EQ(seen, expected);
}

TEST_F(Popups, ConfigBoxClosedKeepsNoTimersAndItsNextOpeningAnimatesOnFromThere) {
    loop.setModalHook([&](Window& w) { loop.schedule(1001, [&w] { w.onCancel(); }); });
    box.open(); // two ticks: step 1 -> 2 -> 3
    EXPECT_EQ(box.step(), 3);
    for (int t : {1, 3, 4}) {
        EXPECT_FALSE(box.timerRunning(t)) << t;
    }
    box.finishWith("Searching Matrix IP . . .");
    EXPECT_EQ(box.text(ctl::kConfigLabel), "Searching Matrix IP . . .");

    loop.setModalHook([&](Window&) {
        loop.schedule(501, [&] {
            EXPECT_EQ(box.text(ctl::kConfigLabel), "Configuring .    ");
            box.close();
        });
    });
    box.open();
    EXPECT_EQ(box.step(), 1);
}
