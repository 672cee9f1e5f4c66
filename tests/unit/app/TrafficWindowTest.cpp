// The traffic log window: what it shows of the recorder, when it writes, what "Copy all" takes.
#include "app/TrafficWindow.h"
#include "FakePlatform.h"
#include "platform/sim/VirtualEventLoop.h"
#include "protocol/Commands.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zentrel;
using namespace zentrel::testing;

TEST(TrafficWindow, ShowsTheNewestFramesWritingOnlyWhileShownAndCopiesWhatItShows) {
    VirtualEventLoop loop;
    FakeUiServices ui;
    TrafficRecorder recorder(loop, 4);
    TrafficWindow w(loop, ui, recorder);
    // Frames a to b: page 1 + n % 4, sent when n is even.
    auto frames = [&](int a, int b) {
        for (int n = a; n < b; ++n) {
            recorder.record(1 + n % 4, n % 2 ? TrafficDirection::Received : TrafficDirection::Sent,
                            "A5 " + std::to_string(n));
        }
    };
    auto box = [&] { return w.text(TrafficWindow::kText); };
    auto lines = [](const std::string& s) { return std::count(s.begin(), s.end(), '\n'); };
    auto open = [&] { w.open(Rect{340, 125, 940, 675}, Rect{0, 0, 1280, 800}); };
    frames(0, 1);
    loop.advance(3'723'004);
    frames(1, 2);
    open();
    const std::string opened = box();
    frames(2, 3);
    loop.advance(TrafficWindow::kFlushMs - 1);
    EXPECT_EQ(box(), opened) << "frames on a shown window are written together, a little later";
    loop.advance(1);
    EXPECT_EQ(box(), "00:00:00.000  General  sent  A5 0\n01:02:03.004  EDID  received  A5 1\n"
                     "01:02:03.004  Matrix  sent  A5 2\n");
    w.onOk(); // Enter leaves it open, Escape and the window's close only hide it
    EXPECT_TRUE(w.isVisible());
    w.onCancel();
    EXPECT_FALSE(w.isVisible());

    const std::string before = box();
    frames(3, 8); // the recorder keeps the newest 4 of them
    EXPECT_EQ(box(), before) << "a hidden window writes nothing";
    open();
    EXPECT_EQ(box().substr(0, 34), "01:02:03.104  General  sent  A5 4\n") << "starts anew, no gap";
    EXPECT_EQ(lines(box()), 4);
    w.onCancel();
    frames(8, 10);
    open();
    EXPECT_EQ(box().substr(box().size() - 35), "01:02:03.104  EDID  received  A5 9\n");
    EXPECT_EQ(lines(box()), 6) << "the missed frames follow what it showed";
    w.click(TrafficWindow::kCopyAll);
    EXPECT_EQ(ui.clipboard, box());

    // A long hidden stretch shows the newest lines that fit the box, whole lines only.
    TrafficRecorder big(loop);
    TrafficWindow w2(loop, ui, big);
    for (int n = 0; n < 30'000; ++n) {
        big.record(1, TrafficDirection::Sent, "A5 " + std::to_string(n));
    }
    w2.open(Rect{}, Rect{0, 0, 1280, 800});
    const std::string& text = w2.text(TrafficWindow::kText);
    EXPECT_LE(text.size(), Window::kTextKept);
    EXPECT_GT(text.size(), Window::kTextKept - 50);
    EXPECT_EQ(text.substr(0, 14), "01:02:03.104  ");
    EXPECT_EQ(text.substr(text.size() - 9), "A5 29999\n");
    // A frame's line ends in what it means.
    big.record(3, TrafficDirection::Sent, cmd::routeInput(3, 2).hex());
    EXPECT_EQ(TrafficWindow::line(big.at(big.endSeq() - 1)),
              "01:02:03.104  Matrix  sent  A5 5B 02 03 03 00 02 00 00 00 00 00 F6  route input 3 "
              "to output B");
}
