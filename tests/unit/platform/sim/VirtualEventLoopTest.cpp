#include "platform/sim/VirtualEventLoop.h"
#include "platform/Window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zentrel;

namespace {

// Records what reaches it as "t=<ms> timer <id>" / "t=<ms> msg <n>".
class Recorder : public Window {
public:
    explicit Recorder(VirtualEventLoop& loop) : Window(loop), vloop(loop) {}
    void onTimer(int id) override {
        log.push_back("t=" + std::to_string(vloop.nowMs()) + " timer " + std::to_string(id));
        if (onTimerHook) {
            onTimerHook(id);
        }
    }
    LParam onMessage(unsigned msg, WParam wp, LParam) override {
        log.push_back("t=" + std::to_string(vloop.nowMs()) + " msg " +
                      std::to_string(msg - WM_USER) + "/" + std::to_string(wp));
        return 7;
    }
    VirtualEventLoop& vloop;
    std::vector<std::string> log;
    std::function<void(int)> onTimerHook;
};

const DialogTemplate kPopup{
    189, "pop", 66, 16, {{1181, ControlKind::Static, "text", 0, 3, 64, 11}}};

} // namespace

TEST(VirtualEventLoop, ModalLoopWithNothingLeftFailsInsteadOfHanging) {
    VirtualEventLoop loop;
    Window popup(loop);
    EXPECT_THROW(popup.doModal(kPopup), ModalStall);

    VirtualEventLoop loop2;
    Recorder ticking(loop2);
    Window popup2(loop2);
    ticking.setTimer(66, 500); // a periodic timer alone never closes the pop-up
    loop2.setModalLimitMs(60'000);
    EXPECT_THROW(popup2.doModal(kPopup), ModalStall);
}

TEST(VirtualEventLoop, QuitEndsEveryNestedModalLoop) {
    VirtualEventLoop loop;
    Window outer(loop);
    Window inner(loop);
    Recorder quitter(loop);
    quitter.onTimerHook = [&](int) { loop.postQuit(); };
    quitter.setTimer(1, 10);
    loop.setModalHook([&](Window& w) {
        if (&w == &outer) {
            inner.doModal(kPopup);
        }
    });
    outer.doModal(kPopup);
    EXPECT_TRUE(loop.quitRequested());
    EXPECT_FALSE(inner.inModal());
}

TEST(VirtualEventLoop, ForgottenWindowGetsNothingMore) {
    VirtualEventLoop loop;
    int fired = 0;
    {
        Recorder w(loop);
        w.setTimer(1, 10);
        w.postMessage(WM_USER + 1);
        loop.schedule(
            5, [&] { ++fired; }, &w);
    }
    loop.advance(100); // would crash or count if anything still pointed at the dead window
    EXPECT_EQ(fired, 0);
}
