#pragma once
// The shared panel fixture with the Matrix page under test: a test connects on the General page,
// shows the Matrix tab, and reads the grid beside the frames and pop-ups.
#include "PanelFixture.h"
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

struct MatrixFixture : PanelFixture {
    explicit MatrixFixture(sim::SimulatedMatrixHarness::Options options = {})
        : PanelFixture(std::move(options), pagesWith<MatrixPage>(kPageMatrix)) {}

    MatrixPage* page = &dynamic_cast<MatrixPage&>(main->page(kPageMatrix));

    // Every switch of output k goes unanswered.
    void silenceOutput(int k) {
        onFault(sim::FaultRule::Kind::Silent,
                sim::FrameMatch::of(cmd::kSwitch.group, cmd::kSwitch.command)
                    .with(6, static_cast<std::uint8_t>(k)));
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
    std::string grid(int outputs = ops::kShown) const {
        std::string out;
        for (int k = 1; k <= outputs; ++k) {
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
};

struct MatrixTest : ::testing::Test, MatrixFixture {};

} // namespace zentrel::testing
