#pragma once
// The real application on the virtual clock with the General page and a simulated matrix on
// COM3 and at 192.168.1.100:8000. Tests click by control id, advance the clock, and read the
// frames each way and the pop-ups the user saw, with their times.
#include "FakePlatform.h"
#include "HexFrames.h"
#include "SpyPage.h"
#include "app/ControllerApp.h"
#include "app/MainWindow.h"
#include "pages/general/GeneralIds.h"
#include "pages/general/GeneralPage.h"
#include "platform/WindowObserver.h"
#include "resources/ControlIds.h"
#include "sim/harness/SimulatedMatrixHarness.h"

#include <gtest/gtest.h>

#include <sstream>
#include <type_traits>

namespace zentrel::testing {

using Names = std::vector<std::string>;

// Frames from their bytes 2.. in hex, '|' between frames; the checksums are filled in.
inline Names frames(const std::string& list) {
    Names out;
    std::istringstream all(list);
    for (std::string one; std::getline(all, one, '|');) {
        out.push_back(test::frameFrom2(one).hex());
    }
    return out;
}
inline Names operator+(Names a, const Names& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// One opening of a shared pop-up.
struct Shown {
    std::string text;
    std::int64_t openedMs = 0, closedMs = -1;
    std::int64_t durationMs() const { return closedMs - openedMs; }
};

class PopupRecorder : public WindowObserver {
public:
    explicit PopupRecorder(EventLoop& loop) : loop_(loop) {}
    void windowCreated(Window&) override {}
    void windowChanged(Window&) override {}
    void windowDestroyed(Window&) override {}
    void controlChanged(Window& w, int id) override {
        if (w.templateId() == res::kProgressDialog && id == ctl::kProgressLabel) {
            progressLabels.push_back(w.text(id));
        }
    }
    void modalStarted(Window& w) override {
        if (w.templateId() == res::kNoticeDialog) {
            notices.push_back({w.text(ctl::kNoticeLabel), loop_.nowMs()});
        } else if (w.templateId() == res::kProgressDialog) {
            progress.push_back({w.text(ctl::kProgressLabel), loop_.nowMs()});
        }
    }
    void modalEnded(Window& w) override {
        auto& list = w.templateId() == res::kNoticeDialog ? notices : progress;
        if (!list.empty() && list.back().closedMs < 0) {
            list.back().closedMs = loop_.nowMs();
        }
    }
    // The notices' texts, each with how long it stayed when `timed`: "TEXT (MS ms)".
    Names noticeTexts(bool timed = false) const {
        Names out;
        for (const Shown& s : notices) {
            out.push_back(timed ? s.text + " (" + std::to_string(s.durationMs()) + " ms)" : s.text);
        }
        return out;
    }

    std::vector<Shown> notices;
    std::vector<Shown> progress;
    std::vector<std::string> progressLabels;

private:
    EventLoop& loop_;
};

struct GeneralFixture {
    // The General page and, when asked, one other real page among stand-ins, so a page's tests
    // see only what the pages under test do.
    template <class Other = void> static PageFactory pages(int otherNumber = 0) {
        return [otherNumber](int number, PageContext& ctx) -> std::unique_ptr<Page> {
            if (number == kPageGeneral) {
                return std::make_unique<GeneralPage>(ctx);
            }
            if constexpr (!std::is_void_v<Other>) {
                if (number == otherNumber) {
                    return std::make_unique<Other>(ctx);
                }
            }
            return std::make_unique<SpyPage>(number, ctx);
        };
    }

    explicit GeneralFixture(sim::SimulatedMatrixHarness::Options options = {},
                            PageFactory pageSet = pages())
        : harness(std::move(options)),
          app(platform, AppOptions{Rect{0, 0, 1280, 800}, std::move(pageSet)}) {
        harness.loop().setObserver(&popups);
        app.start();
        main = app.mainWindow();
        main->open();
        page = &dynamic_cast<GeneralPage&>(main->page(kPageGeneral));
    }
    ~GeneralFixture() { harness.loop().setObserver(nullptr); }

    sim::SimulatedMatrixHarness harness;
    FakeUiServices ui;
    Platform platform{harness.loop(), harness.network(), harness.serialPorts(), ui};
    ControllerApp app;
    PopupRecorder popups{harness.loop()};
    MainWindow* main = nullptr;
    GeneralPage* page = nullptr;

    SharedState& state() { return app.state(); }
    std::int64_t now() { return harness.loop().nowMs(); }
    void advance(std::int64_t ms) { harness.advance(ms); }
    // A click as the user makes it: returns once the pop-ups it opened have closed.
    void click(int id) { page->click(id); }
    Names sent() const { return harness.toMatrix(); }
    VirtualNetwork& net() { return harness.network(); }
    void onFault(sim::FaultRule::Kind kind, sim::FrameMatch match, int times = -1) {
        harness.faults().add(sim::FaultRule{kind, std::move(match), times});
    }
    // Whether the progress box had left the screen when the next notice opened.
    void watchProgressAtNotice(bool& gone) {
        harness.loop().setModalHook([this, &gone](Window& w) {
            if (w.templateId() == res::kNoticeDialog) {
                gone = !main->progress().isVisible();
            }
        });
    }

    // The click, its answer in after `ms`, and the record of frames emptied.
    void settle(int id, int ms) {
        click(id);
        advance(ms);
        harness.clearFrames();
    }
    // Connected over COM3 with the power and beeper queries answered.
    void connectCom() { settle(gen::kComConnect, 100); }
    // Search from TCP mode, as a user starts, with the answer in.
    void search() {
        click(gen::kTcpRadio);
        settle(gen::kSearch, 50);
    }
    void connectTcp() {
        search();
        settle(gen::kTcpConnect, 200);
    }
};

// The same, as a gtest fixture for cases that need no options.
struct GeneralTest : ::testing::Test, GeneralFixture {};

} // namespace zentrel::testing
