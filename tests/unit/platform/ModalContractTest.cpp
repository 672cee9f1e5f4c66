// Every opening of a modal dialog returns only once the dialog it opened has closed: code that
// follows an opening runs after that closing, the latest opening first, also when the dialog
// was already open or had been closed earlier in the same handler.
#include "platform/Window.h"
#include "platform/WindowObserver.h"
#include "platform/sim/VirtualEventLoop.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <new>
#include <string>
#include <vector>

using namespace zentrel;

namespace {

const DialogTemplate kNotice{
    146, "notice", 133, 50, {{1137, ControlKind::Static, "", 1, 17, 130, 15}}};

// A notice with a text: each opening shows its text, the owner's timer closes it.
class Notice : public Window {
public:
    using Window::Window;
    void open(const std::string& t) {
        text = t;
        doModal(kNotice);
    }
    void onInitDialog() override { setText(1137, text); }
    std::string text;
};

// The caller of the notices: timers by id run the steps a test gives them.
class Caller : public Window {
public:
    using Window::Window;
    void onTimer(int id) override {
        killTimer(id);
        steps.at(id)();
    }
    std::map<int, std::function<void()>> steps;
};

// What the view hears: every opening and closing, with its time and the text shown.
class ModalLog : public WindowObserver {
public:
    explicit ModalLog(VirtualEventLoop& loop) : loop_(loop) {}
    void windowCreated(Window&) override {}
    void windowChanged(Window&) override {}
    void controlChanged(Window&, int) override {}
    void windowDestroyed(Window&) override {}
    void modalStarted(Window& w) override { seen.push_back(at() + " shown " + w.text(1137)); }
    void modalEnded(Window& w) override { seen.push_back(at() + " closed " + w.text(1137)); }
    std::string at() const { return std::to_string(loop_.nowMs()); }
    std::vector<std::string> seen;

private:
    VirtualEventLoop& loop_;
};

class ModalContract : public ::testing::Test {
protected:
    ModalContract() { loop.setObserver(&log); }
    ~ModalContract() override { loop.setObserver(nullptr); }
    // The step after an opening: what the test reads to know when each opening returned.
    void returned(const std::string& what) { log.seen.push_back(log.at() + " " + what); }
    // `text` with a close after `ms`, then the note that its opening returned.
    void show(const std::string& text, int closeAfterMs, int timer) {
        caller.setTimer(timer, closeAfterMs);
        notice.open(text);
        returned("after " + text);
    }

    VirtualEventLoop loop;
    ModalLog log{loop};
    Notice notice{loop};
    Caller caller{loop};
};

} // namespace

TEST_F(ModalContract, AReopeningInTheClosingHandlerReturnsWhenItsOwnNoticeCloses) {
    // "Please wait..." closes at 1000 ms; the same handler shows "Time out!" for 1500 ms.
    caller.steps[55] = [&] {
        notice.endDialog(IDOK);
        show("Time out!", 1500, 56);
    };
    caller.steps[56] = [&] { notice.endDialog(IDOK); };
    show("Please wait...", 1000, 55);
    const std::vector<std::string> expected{"0 shown Please wait...", "1000 closed Please wait...",
                                            "1000 shown Time out!",   "2500 after Time out!",
                                            "2500 closed Time out!",  "2500 after Please wait..."};
    EXPECT_EQ(log.seen, expected);
    EXPECT_FALSE(notice.inModal());
    EXPECT_FALSE(notice.isVisible());
}

TEST(BoundedText, AppendedTextKeepsItsLatestTailAtALineStartAndTellsTheViewWhatIsNew) {
    VirtualEventLoop loop;
    struct Appends : WindowObserver {
        void windowCreated(Window&) override {}
        void windowChanged(Window&) override {}
        void controlChanged(Window&, int) override { ++changes; }
        void windowDestroyed(Window&) override {}
        void textAppended(Window&, int) override { ++appends; }
        int changes = 0, appends = 0;
    } seen;
    loop.setObserver(&seen);
    Window w(loop);
    w.create(DialogTemplate{145, "page", 100, 50, {{1044, ControlKind::Edit, "", 0, 0, 50, 50}}});

    std::string all;
    int cuts = 0;
    std::uint64_t revision = w.control(1044).textRevision;
    for (int frame = 0; frame < 20000; ++frame) {
        for (int b = 0; b < 13; ++b) {
            const std::string piece = b == 12 ? "5B \r\n" : "A5 ";
            w.appendText(1044, piece);
            all += piece;
            ASSERT_LE(w.text(1044).size(), Window::kTextLimit);
            if (w.control(1044).textRevision != revision) {
                revision = w.control(1044).textRevision;
                ++cuts;
            }
        }
    }
    const std::string kept = w.text(1044);
    EXPECT_GE(kept.size(), Window::kTextKept - 64);
    EXPECT_EQ(all.substr(all.size() - kept.size()), kept) << "the latest text, unchanged";
    EXPECT_EQ(kept.substr(0, 3), "A5 ") << "begins with a whole line";
    // A cut now and then, not one per append: each one moves the text once.
    EXPECT_GT(cuts, 0);
    EXPECT_LE(cuts, static_cast<int>(all.size() / (Window::kTextLimit - Window::kTextKept)) + 1);
    EXPECT_EQ(seen.appends, 20000 * 13);
    EXPECT_EQ(seen.changes, 0);

    w.setText(1044, "");
    EXPECT_NE(w.control(1044).textRevision, revision) << "a new text is not an addition";
    loop.setObserver(nullptr);
}

TEST(PostsToDestroyedWindows, NeverArriveNorReachALaterWindowAtTheSameAddress) {
    VirtualEventLoop loop;
    struct Counter : Window {
        using Window::Window;
        LParam onMessage(unsigned, WParam, LParam) override {
            ++received;
            return 0;
        }
        int received = 0;
    };
    alignas(Counter) unsigned char place[sizeof(Counter)];
    auto* first = new (place) Counter(loop);
    loop.postMessage(*first, WM_USER + 1, 0, 0); // posted while it lived
    first->~Counter();
    loop.postMessage(*first, WM_USER + 2, 0, 0); // a stale pointer, after it died
    auto* second = new (place) Counter(loop);
    loop.settle();
    EXPECT_EQ(second->received, 0);
    loop.postMessage(*second, WM_USER + 3, 0, 0);
    loop.settle();
    EXPECT_EQ(second->received, 1);
    second->~Counter();
}
