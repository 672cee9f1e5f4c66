// The traffic log window: what it shows of the recorder, when it writes, what "Copy all" takes,
// and how the main window's menu opens it.
#include "app/TrafficWindow.h"
#include "FakePlatform.h"
#include "ShellFixture.h"
#include "app/SystemCommands.h"
#include "pages/common/TrafficRecorder.h"
#include "platform/sim/VirtualEventLoop.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace zentrel;
using namespace zentrel::testing;

namespace {

constexpr Rect kOwner{340, 125, 940, 675};
constexpr Rect kScreen{0, 0, 1280, 800};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        out.push_back(l);
    }
    return out;
}

struct Traffic {
    explicit Traffic(std::size_t capacity) : recorder(loop, capacity) {}
    VirtualEventLoop loop;
    FakeUiServices ui;
    TrafficRecorder recorder;
    TrafficWindow window{loop, ui, recorder};

    // Frame n: page 1 + n % 4, sent when n is even, bytes "A5 n".
    void frames(int from, int to) {
        for (int n = from; n < to; ++n) {
            recorder.record(1 + n % 4,
                            n % 2 == 0 ? TrafficDirection::Sent : TrafficDirection::Received,
                            "A5 " + std::to_string(n));
        }
    }
    std::vector<std::string> shown() const { return linesOf(window.text(TrafficWindow::kText)); }
};

} // namespace

TEST(TrafficWindow, ShowsTheKeptFramesAndCatchesUpOnlyWhenShown) {
    Traffic t(4);
    t.frames(0, 1);
    t.loop.advance(3'723'004); // 1 h 2 min 3.004 s
    t.frames(1, 2);
    t.window.open(kOwner, kScreen);
    EXPECT_EQ(t.shown(), (std::vector<std::string>{"00:00:00.000  General  sent  A5 0",
                                                   "01:02:03.004  EDID  received  A5 1"}));
    t.frames(2, 3); // written at once while shown
    EXPECT_EQ(t.shown().back(), "01:02:03.004  Matrix  sent  A5 2");

    // Enter leaves it open; Escape (and the window's close) only hides it.
    t.window.onOk();
    EXPECT_TRUE(t.window.isVisible());
    t.window.onCancel();
    EXPECT_FALSE(t.window.isVisible());

    // Hidden it writes nothing, while the recorder keeps only its newest four.
    const Control& box = t.window.control(TrafficWindow::kText);
    const std::string before = box.text;
    const auto revision = box.textRevision;
    t.frames(3, 8);
    EXPECT_EQ(box.text, before);
    EXPECT_EQ(box.textRevision, revision);
    EXPECT_EQ(t.recorder.firstSeq(), 4u);
    EXPECT_EQ(t.recorder.at(4).hex, "A5 4");

    // Frame 3 is gone: the box starts anew with what is kept rather than show a gap.
    t.window.open(kOwner, kScreen);
    EXPECT_EQ(t.shown(), (std::vector<std::string>{"01:02:03.004  General  sent  A5 4",
                                                   "01:02:03.004  EDID  received  A5 5",
                                                   "01:02:03.004  Matrix  sent  A5 6",
                                                   "01:02:03.004  FW Upgrade  received  A5 7"}));
    // Nothing lost while hidden: the missed frames follow what the box showed.
    t.window.onCancel();
    t.frames(8, 10);
    t.window.open(kOwner, kScreen);
    EXPECT_EQ(t.shown().size(), 6u);
    EXPECT_EQ(t.shown().back(), "01:02:03.004  EDID  received  A5 9");

    // "Copy all" takes exactly the text shown.
    t.window.click(TrafficWindow::kCopyAll);
    EXPECT_EQ(t.ui.clipboard, t.window.text(TrafficWindow::kText));
    EXPECT_EQ(linesOf(t.ui.clipboard), t.shown());
}

TEST(TrafficWindow, ALongHiddenSessionShowsOnlyTheNewestLinesTheBoxKeeps) {
    Traffic t(TrafficRecorder::kDefaultCapacity);
    t.frames(0, 30'000);
    EXPECT_EQ(t.recorder.firstSeq(), 20'000u);
    t.window.open(kOwner, kScreen);
    const std::string& text = t.window.text(TrafficWindow::kText);
    EXPECT_LE(text.size(), Window::kTextKept);
    EXPECT_GT(text.size(), Window::kTextKept - 100);
    const auto lines = t.shown();
    EXPECT_EQ(lines.front().substr(0, 14), "00:00:00.000  ");
    EXPECT_EQ(lines.back(), "00:00:00.000  FW Upgrade  received  A5 29999");
}

using MainWindowTraffic = ShellTest;

TEST_F(MainWindowTraffic, MenuEntryOpensOneWindowOfItsOwnBesideTheMainWindow) {
    unsigned command = 0;
    for (const MenuEntry& e : m.windowMenu()) {
        if (e.text == "Show traffic log") {
            command = e.command;
        }
    }
    ASSERT_NE(command, 0u);
    EXPECT_NE(command & 0xFFF0, SC_ABOUT);
    shell.loop.setModalHook([](Window& w) { ADD_FAILURE() << "modal " << w.title(); });
    m.onSystemCommand(command);
    TrafficWindow& w = m.trafficWindow();
    ASSERT_TRUE(w.isVisible());
    EXPECT_EQ(w.parent(), nullptr); // a window of its own, not a page
    EXPECT_EQ(w.title(), "Traffic log");
    // On the screen, leaving most of the main window uncovered.
    EXPECT_GE(w.geometry().left, (m.geometry().left + m.geometry().right) / 2);
    EXPECT_LE(w.geometry().right, 1280);
    EXPECT_FALSE(m.aboutBox().isVisible());
    // Chosen again while open: the same window, still shown.
    m.onSystemCommand(command);
    EXPECT_TRUE(w.isVisible());
}
