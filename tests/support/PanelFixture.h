#pragma once
// The real application on the virtual clock in front of a simulated matrix on COM3 and at
// 192.168.1.100:8000, the one fixture every page test and page fuzz target builds on. A test
// connects on the General page as a user does, clicks by control id, advances the clock, sets the
// matrix's failure modes, and reads the frames each way and the pop-ups the user saw.
#include "FakePlatform.h"
#include "HexFrames.h"
#include "PopupRecorder.h"
#include "SpyPage.h"
#include "app/ControllerApp.h"
#include "app/MainWindow.h"
#include "pages/general/GeneralIds.h"
#include "pages/general/GeneralPage.h"
#include "sim/harness/SimulatedMatrixHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <type_traits>

namespace zentrel::testing {

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

// The General page and, when asked, one other real page among stand-ins, so a page's tests see
// only what the pages under test do.
template <class Other = void> PageFactory pagesWith(int otherNumber = 0) {
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

// The simulated unit with eight inputs and eight outputs.
inline sim::SimulatedMatrixHarness::Options eightByEight() {
    sim::SimulatedMatrixHarness::Options o;
    o.state = sim::MatrixState::factory(8, 8);
    return o;
}

struct PanelFixture {
    // `profiles`, when given, is where the panel keeps what it keeps.
    explicit PanelFixture(sim::SimulatedMatrixHarness::Options options = {},
                          PageFactory pageSet = pagesWith(), ProfileStore* profiles = nullptr)
        : harness(std::move(options)),
          app(platform, AppOptions{Rect{0, 0, 1280, 800}, std::move(pageSet), profiles}) {
        harness.loop().setObserver(&popups);
        app.start();
        main = app.mainWindow();
        main->open();
        general = &dynamic_cast<GeneralPage&>(main->page(kPageGeneral));
    }
    ~PanelFixture() { harness.loop().setObserver(nullptr); }
    PanelFixture(const PanelFixture&) = delete;
    PanelFixture& operator=(const PanelFixture&) = delete;

    sim::SimulatedMatrixHarness harness;
    FakeUiServices ui;
    Platform platform{harness.loop(), harness.network(), harness.serialPorts(), ui};
    ControllerApp app;
    PopupRecorder popups{harness.loop()};
    MainWindow* main = nullptr;
    GeneralPage* general = nullptr;

    SharedState& state() { return app.state(); }
    sim::MatrixModel& matrix() { return harness.matrix(); }
    VirtualNetwork& net() { return harness.network(); }
    std::int64_t now() { return harness.loop().nowMs(); }
    void advance(std::int64_t ms) { harness.advance(ms); }
    Names sent() const { return harness.toMatrix(); }
    void clearFrames() { harness.clearFrames(); }

    // Runs `fn` as soon as the matrix has received `count` units since the frames were cleared.
    void whenReceived(std::size_t count, std::function<void()> fn) {
        harness.loop().schedule(1, [this, count, fn = std::move(fn)]() mutable {
            if (sent().size() >= count) {
                fn();
            } else {
                whenReceived(count, std::move(fn));
            }
        });
    }
    // The matrix's failure modes, as the simulator's --fault rules.
    void onFault(sim::FaultRule rule) { harness.faults().add(std::move(rule)); }
    void onFault(sim::FaultRule::Kind kind, sim::FrameMatch match, int times = -1) {
        onFault(sim::FaultRule{kind, std::move(match), times});
    }

    // A click in the middle of a tab caption, as the user makes it.
    void clickCaption(int caption) {
        const Rect r = main->control(caption).rect;
        main->onLButtonDown(Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    // Connected over COM3 with the power and beeper queries answered, their frames forgotten.
    void connectCom() {
        general->click(gen::kComConnect);
        advance(100);
        clearFrames();
    }
    // Search from TCP mode, as a user starts, with the answer in.
    void search() {
        general->click(gen::kTcpRadio);
        general->click(gen::kSearch);
        advance(50);
        clearFrames();
    }
    void connectTcp() {
        search();
        general->click(gen::kTcpConnect);
        advance(200);
        clearFrames();
    }
    // Runs `answer` in the modal loop of the next window that is not a shared pop-up.
    void whenDialogOpens(std::function<void(Window&)> answer) {
        harness.loop().setModalHook([this, answer](Window& w) {
            if (&w != &main->notice() && &w != &main->progress()) {
                answer(w);
            }
        });
    }
};

} // namespace zentrel::testing
