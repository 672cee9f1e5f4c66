#include "OutputGrid.h"

#include "platform/Window.h"

namespace zentrel {

namespace {

constexpr Color kBoxText = rgb(0, 0, 0);
constexpr Color kBoxBack = rgb(0, 255, 0);

} // namespace

OutputGrid::OutputGrid(Window& page) : page_(page) {}

void OutputGrid::open() {
    for (int k = 1; k <= ops::kOutputs; ++k) {
        page_.setColors(mtx::numberBox(k), kBoxText, kBoxBack);
        showBox(k, "1");
    }
}

std::optional<OutputGrid::Target> OutputGrid::inputButtonAt(int id) const {
    for (int k = 1; k <= ops::kOutputs; ++k) {
        for (int i = 1; i <= mtx::kInputs; ++i) {
            if (mtx::inputButton(k, i) == id) {
                return Target{k, i};
            }
        }
    }
    return std::nullopt;
}

std::optional<OutputGrid::Target> OutputGrid::arrowAt(int id) const {
    for (int k = 1; k <= ops::kOutputs; ++k) {
        const int s = source(k);
        if (id == mtx::nextArrow(k)) {
            return Target{k, s < inputs_ ? s + 1 : 1};
        }
        if (id == mtx::prevArrow(k)) {
            return Target{k, s < 2 ? inputs_ : s - 1};
        }
    }
    return std::nullopt;
}

void OutputGrid::showInput(int k, int i) {
    if (i < 1 || i > mtx::kInputs) {
        return;
    }
    for (int n = 1; n <= mtx::kInputs; ++n) {
        page_.setChecked(mtx::inputButton(k, n), n == i);
    }
}

void OutputGrid::showBox(int k, const std::string& text) {
    page_.setText(mtx::numberBox(k), text);
}

} // namespace zentrel
