#pragma once
// The real application on the virtual clock with a simulated four-by-four matrix on COM3 and at
// 192.168.1.100:8000 (the General page's fixture: frames(), the pop-up record). A test connects
// on the General page as a user does, shows the Matrix tab, clicks by control id, advances the
// clock, and reads the frames each way, the grid, and the pop-ups the user saw.
#include "GeneralFixture.h"
#include "pages/matrix/MatrixIds.h"
#include "pages/matrix/MatrixPage.h"
#include "protocol/Commands.h"

#include <functional>

namespace zentrel::testing {

// Switches "I>K" (input I to output K), space-separated, as frames.
inline Names switches(const std::string& list) {
    Names out;
    std::istringstream in(list);
    for (std::string one; in >> one;) {
        const int input = std::stoi(one.substr(0, one.find('>')));
        const int output = std::stoi(one.substr(one.find('>') + 1));
        out.push_back(cmd::routeInput(input, output).hex());
    }
    return out;
}

struct MatrixFixture {
    explicit MatrixFixture(sim::SimulatedMatrixHarness::Options options = {})
        : harness(std::move(options)) {
        harness.loop().setObserver(&seen);
        app.start();
        main = app.mainWindow();
        main->open();
        general = &main->page(kPageGeneral).window();
        page = &dynamic_cast<MatrixPage&>(main->page(kPageMatrix));
    }
    ~MatrixFixture() { harness.loop().setObserver(nullptr); }

    sim::SimulatedMatrixHarness harness;
    FakeUiServices ui;
    Platform platform{harness.loop(), harness.network(), harness.serialPorts(), ui};
    ControllerApp app{platform, AppOptions{Rect{0, 0, 1280, 800},
                                           GeneralFixture::pages<MatrixPage>(kPageMatrix)}};
    PopupRecorder seen{harness.loop()};
    MainWindow* main = nullptr;
    Window* general = nullptr;
    MatrixPage* page = nullptr;

    SharedState& state() { return app.state(); }
    std::int64_t now() { return harness.loop().nowMs(); }
    void advance(std::int64_t ms) { harness.advance(ms); }
    Names sent() const { return harness.toMatrix(); }
    void clearFrames() { harness.clearFrames(); }
    void onFault(sim::FaultRule rule) { harness.faults().add(std::move(rule)); }
    void onFault(sim::FaultRule::Kind kind, sim::FrameMatch match, int times = -1) {
        onFault(sim::FaultRule{kind, std::move(match), times});
    }
    // Every switch of output k goes unanswered.
    void silenceOutput(int k) {
        onFault(sim::FaultRule::Kind::Silent,
                sim::FrameMatch::of(cmd::kSwitch.group, cmd::kSwitch.command)
                    .with(6, static_cast<std::uint8_t>(k)));
    }

    // A click in the middle of a tab caption (1 General .. 4 FW Upgrade), as the user makes it.
    void clickCaption(int caption) {
        const Rect r = main->control(caption).rect;
        main->onLButtonDown(Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    // The General page connected over COM3 with its own first answers in.
    void connectCom() {
        general->click(gen::kComConnect);
        advance(100);
        clearFrames();
    }
    void connectTcp() {
        general->click(gen::kTcpRadio);
        general->click(gen::kSearch);
        advance(50);
        general->click(gen::kTcpConnect);
        advance(200);
        clearFrames();
    }
    // The Matrix tab chosen, its routing read back, the frames of that forgotten.
    void showMatrix() {
        clickCaption(ctl::kMatrixCaption);
        advance(300);
        clearFrames();
    }
    void openOnCom() {
        connectCom();
        showMatrix();
    }
    void openOnTcp() {
        connectTcp();
        showMatrix();
    }

    // What the grid shows: each output's box, then the pressed inputs, "A:3[3] B:1[1] ...".
    std::string grid() const {
        std::string out;
        for (int k = 1; k <= mtx::kShown; ++k) {
            out += std::string(out.empty() ? "" : " ") + static_cast<char>('A' + k - 1) + ":" +
                   page->text(mtx::numberBox(k)) + "[";
            for (int i = 1; i <= mtx::kInputs; ++i) {
                if (page->isChecked(mtx::inputButton(k, i))) {
                    out += std::to_string(i);
                }
            }
            out += "]";
        }
        return out;
    }
    void clickInput(int k, int i) { page->click(mtx::inputButton(k, i)); }
    // Runs `look` at the start of every modal loop, the shared pop-ups' included.
    void whenDialogOpensAny(std::function<void(Window&)> look) {
        harness.loop().setModalHook(std::move(look));
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

struct MatrixTest : ::testing::Test, MatrixFixture {};

} // namespace zentrel::testing
