// The real loop in real time, in what the virtual clock cannot show: sends from other
// threads, with short bounded waits.
#include "platform/qt/QtEventLoop.h"
#include "platform/Window.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace zentrel;

namespace {

int argc = 1;
char arg0[] = "test";
char* argv[] = {arg0, nullptr};

class Target : public Window {
public:
    using Window::Window;
    LParam onMessage(unsigned msg, WParam wp, LParam) override {
        received.push_back(static_cast<int>(wp));
        if (onByte) {
            onByte(static_cast<int>(wp));
        }
        if (msg == WM_USER + 1 && closeOnMessage != nullptr) {
            closeOnMessage->endDialog(IDOK);
        }
        return static_cast<LParam>(wp) * 2;
    }
    std::vector<int> received;
    Window* closeOnMessage = nullptr;
    std::function<void(int)> onByte;
};

const DialogTemplate kBox{
    146, "notice", 133, 50, {{1137, ControlKind::Static, "", 1, 17, 130, 15}}};

} // namespace

TEST(QtEventLoop, SendFromAThreadBlocksUntilHandledAndDeliversInOrder) {
    QCoreApplication app(argc, argv);
    QtEventLoop loop;
    Target target(loop);
    Window box(loop);
    target.closeOnMessage = &box;
    std::vector<LParam> results;
    std::thread sender([&] {
        for (int i = 1; i <= 3; ++i) {
            results.push_back(loop.sendMessage(target, WM_USER + 7, static_cast<WParam>(i), 1));
        }
        loop.postMessage(target, WM_USER + 1, 4, 0);
    });
    box.doModal(kBox); // the nested loop delivers the sends, then the post closes the box
    sender.join();
    EXPECT_EQ(target.received, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(results, (std::vector<LParam>{2, 4, 6}));
}

TEST(QtEventLoop, ABurstIsHandedOverAtOnceInOrderAndAStopInsideItDropsTheRest) {
    QCoreApplication app(argc, argv);
    QtEventLoop loop;
    Target target(loop);
    Window box(loop);
    std::stop_source stop;
    std::size_t handled = 0;
    std::thread sender([&] {
        const std::vector<WParam> burst{1, 2, 3, 4, 5};
        handled = loop.sendMessages(target, WM_USER + 7, burst, 3, stop.get_token());
        const std::vector<WParam> next{6, 7};
        loop.sendMessages(target, WM_USER + 7, next, 3, stop.get_token()); // after the stop
        loop.postMessage(target, WM_USER + 1, 0, 0);
    });
    target.closeOnMessage = &box;
    target.onByte = [&](int b) {
        if (b == 3) {
            stop.request_stop(); // as a page does when it stops its channel while handling
        }
    };
    box.doModal(kBox);
    sender.join();
    EXPECT_EQ(target.received, (std::vector<int>{1, 2, 3, 0}));
    EXPECT_LE(handled, 3u); // the sender may give up waiting before the UI thread reports back
}

TEST(QtEventLoop, AStoppedSenderNeverWaitsForABusyUiThread) {
    QCoreApplication app(argc, argv);
    QtEventLoop loop;
    Target target(loop);
    std::stop_source stop;
    std::atomic<bool> returned{false};
    std::thread sender([&] {
        loop.sendMessage(target, WM_USER + 7, 9, 1, stop.get_token());
        returned = true;
    });
    // The UI thread does not run its loop here: it stops and joins, as a channel's destructor does.
    stop.request_stop();
    sender.join();
    EXPECT_TRUE(returned);
    QCoreApplication::processEvents();
    EXPECT_TRUE(target.received.empty()); // the abandoned byte is not delivered afterwards
}
