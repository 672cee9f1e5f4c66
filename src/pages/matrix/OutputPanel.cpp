#include "OutputPanel.h"

#include "MatrixPage.h"

namespace zentrel {

OutputPanel::OutputPanel(MatrixPage& page) : page_(page) {}

void OutputPanel::open() {
    for (int k = 1; k <= ops::kOutputs; ++k) {
        page_.addItem(mtx::kSelectOutput, "Output" + std::to_string(k));
    }
    page_.addItem(mtx::kSelectOutput, "All Output");
    page_.addItem(mtx::kSelectOutput, "Port to Port");
    page_.setSelection(mtx::kSelectOutput, choice_);
}

void OutputPanel::onChoice() {
    const int chosen = page_.selection(mtx::kSelectOutput);
    if (chosen < 0) {
        return;
    }
    choice_ = chosen;
    SwitchEngine& engine = page_.engine();
    if (choice_ != mtx::kPortToPortChoice || !page_.panelsFree()) {
        return;
    }
    engine.takeSequence();
    for (int k = 1; k <= ops::kOutputs; ++k) {
        engine.setWorking(k, k - 1);
    }
    engine.startSequence();
}

void OutputPanel::onButton(int n) {
    if (page_.state().MatrixBusy || !page_.panelLinkReady()) {
        return;
    }
    if (choice_ == mtx::kPortToPortChoice || !page_.panelsFree()) {
        return;
    }
    SwitchEngine& engine = page_.engine();
    engine.takeButton(n);
    engine.setSingle(true);
    engine.setPendingInput(n);
    if (choice_ == mtx::kAllOutputChoice) {
        for (int k = 1; k <= ops::kOutputs; ++k) {
            engine.setWorking(k, n - 1);
        }
        engine.startSequence();
        return;
    }
    engine.startSwitch(choice_ + 1, n, ops::kWaitMs);
}

} // namespace zentrel
