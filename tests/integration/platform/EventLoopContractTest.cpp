// What the pages rely on from an event loop, held by both: the virtual clock the tests run on
// and the Qt loop the program runs on, in real time with short waits. A timer's handler may end
// the modal loop it runs in, a killed timer is over, a window that is gone gets nothing that was
// meant for it, and a quit ends every modal loop however deeply nested.
#include "platform/Window.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/sim/VirtualEventLoop.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <type_traits>

using namespace zentrel;

namespace {

int argc = 1;
char arg0[] = "test";
char* argv[] = {arg0, nullptr};

const DialogTemplate kBox{
    146, "notice", 133, 50, {{1137, ControlKind::Static, "", 1, 17, 130, 15}}};

// Runs the step a test gives each timer once, and counts what reaches it.
class Steps : public Window {
public:
    Steps(EventLoop& loop, int* reached = nullptr) : Window(loop), reached_(reached) {}
    void onTimer(int id) override {
        killTimer(id);
        fired.push_back(id);
        count();
        if (steps.count(id) != 0) {
            steps[id]();
        }
    }
    LParam onMessage(unsigned msg, WParam wp, LParam) override {
        count();
        messages.push_back(static_cast<int>(msg - WM_USER) * 10 + static_cast<int>(wp));
        return 0;
    }
    std::map<int, std::function<void()>> steps;
    std::vector<int> fired, messages;

private:
    void count() {
        if (reached_ != nullptr) {
            ++*reached_;
        }
    }
    int* reached_;
};

template <class Loop> class EventLoopContract : public ::testing::Test {
protected:
    std::unique_ptr<QCoreApplication> app = std::is_same_v<Loop, QtEventLoop>
                                                ? std::make_unique<QCoreApplication>(argc, argv)
                                                : nullptr;
    Loop loop;
};

using Backends = ::testing::Types<VirtualEventLoop, QtEventLoop>;
TYPED_TEST_SUITE(EventLoopContract, Backends);

} // namespace

TYPED_TEST(EventLoopContract, TimersFireByTheirDueTimeAndOneMayEndTheModalLoopItRunsIn) {
    Steps caller(this->loop);
    Window box(this->loop);
    caller.steps[55] = [&] { box.endDialog(IDOK); };
    caller.setTimer(55, 30);
    caller.setTimer(3, 5);
    caller.setTimer(4, 10);
    caller.killTimer(4);
    caller.postMessage(WM_USER + 1, 2);
    caller.postMessage(WM_USER + 3, 4);
    EXPECT_TRUE(caller.timerRunning(55));
    EXPECT_FALSE(caller.timerRunning(4));
    EXPECT_EQ(box.doModal(kBox), IDOK);
    EXPECT_EQ(caller.fired, (std::vector<int>{3, 55}));
    EXPECT_EQ(caller.messages, (std::vector<int>{12, 34}));
    EXPECT_FALSE(caller.timerRunning(55));
    EXPECT_FALSE(box.inModal());
}

TYPED_TEST(EventLoopContract, AForgottenWindowGetsNothingMeantForIt) {
    int reached = 0;
    auto doomed = std::make_unique<Steps>(this->loop, &reached);
    doomed->setTimer(1, 1);
    doomed->postMessage(WM_USER + 2, 1);
    doomed.reset();
    Steps closer(this->loop);
    Window box(this->loop);
    closer.steps[9] = [&] { box.endDialog(IDOK); };
    closer.setTimer(9, 30);
    box.doModal(kBox); // would crash or count if the dead window's timer or message came
    EXPECT_EQ(reached, 0);
}

TYPED_TEST(EventLoopContract, QuitEndsEveryNestedModalLoop) {
    Steps caller(this->loop);
    Window outer(this->loop);
    Window inner(this->loop);
    caller.steps[1] = [&] {
        caller.setTimer(2, 10);
        inner.doModal(kBox);
    };
    caller.steps[2] = [&] { this->loop.postQuit(); };
    caller.setTimer(1, 1);
    outer.doModal(kBox);
    EXPECT_TRUE(this->loop.quitRequested());
    EXPECT_FALSE(inner.inModal());
    EXPECT_FALSE(outer.inModal());
}
