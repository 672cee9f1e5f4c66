#include "MatrixLayout.h"

#include "MatrixIds.h"
#include "MatrixPageTemplate.h"
#include "platform/Window.h"

namespace zentrel {

namespace {

// The eight-output groups, in dialog units: 78 x 72, four across, the second row 74 lower.
constexpr int kGroupW = 78;
constexpr int kGroupH = 72;
constexpr int kStepX = 80;
constexpr int kStepY = 74;
// The panels start below the second row; the list ends at the page's bottom.
constexpr int kPanelsY = 150;
constexpr int kListH = 74;

Rect du(int x, int y, int w, int h) {
    return dialogUnitsToPixels(x, y, w, h);
}

} // namespace

void MatrixLayout::apply(const MatrixSize& size) {
    if (shown_ && *shown_ == size) {
        return;
    }
    const bool first = !shown_;
    shown_ = size;
    if (!first) {
        restoreTemplate();
    }
    const bool eight = size.outputs == MatrixSize::kLarge;
    if (eight) {
        placeEightOutputs();
    }
    for (int k = 1; k <= ops::kOutputs; ++k) {
        const bool output = k <= size.outputs;
        for (int id : {mtx::numberBox(k), mtx::groupBox(k), mtx::prevArrow(k), mtx::nextArrow(k)}) {
            page_.showControl(id, output);
        }
        for (int i = 1; i <= mtx::kInputs; ++i) {
            page_.showControl(mtx::inputButton(k, i), output && i <= size.inputs);
        }
        if (output && !eight && size.inputs == MatrixSize::kSmall) {
            // The arrows take the places of input buttons 6 and 7, next to the first row.
            page_.setRect(mtx::prevArrow(k), page_.control(mtx::inputButton(k, 6)).rect);
            page_.setRect(mtx::nextArrow(k), page_.control(mtx::inputButton(k, 7)).rect);
        }
    }
}

void MatrixLayout::restoreTemplate() {
    for (const ControlTemplate& c : matrixPageTemplate().controls) {
        if (page_.hasControl(c.id)) {
            page_.setRect(c.id, du(c.x, c.y, c.w, c.h));
        }
    }
}

void MatrixLayout::placeEightOutputs() {
    for (int k = 1; k <= ops::kOutputs; ++k) {
        const int gx = 3 + kStepX * ((k - 1) % 4);
        const int gy = 2 + kStepY * ((k - 1) / 4);
        page_.setRect(mtx::groupBox(k), du(gx, gy, kGroupW, kGroupH));
        page_.setRect(mtx::nameLabel(k), du(gx + 4, gy + 8, 70, 6));
        page_.setRect(mtx::prevArrow(k), du(gx + 3, gy + 16, 12, 16));
        page_.setRect(mtx::numberBox(k), du(gx + 16, gy + 14, 46, 20));
        page_.setRect(mtx::nextArrow(k), du(gx + 63, gy + 16, 12, 16));
        for (int i = 1; i <= mtx::kInputs; ++i) {
            page_.setRect(mtx::inputButton(k, i),
                          du(gx + 4 + 18 * ((i - 1) % 4), gy + 35 + 17 * ((i - 1) / 4), 16, 14));
        }
    }
    const int y = kPanelsY;
    page_.setRect(mtx::kConfigGroup, du(3, y, 319, 30));
    page_.setRect(mtx::kSelectOutputLabel, du(9, y + 13, 46, 10));
    page_.setRect(mtx::kSelectOutput, du(56, y + 11, 64, 130));
    for (int n = 1; n <= mtx::kInputs; ++n) {
        page_.setRect(mtx::panelButton(n), du(128 + 23 * (n - 1), y + 10, 20, 14));
    }
    page_.setRect(mtx::kSettingsList, du(3, y + 34, 272, kListH));
    page_.setRect(mtx::kEdit, du(280, y + 36, 42, 14));
    page_.setRect(mtx::kSet, du(280, y + 54, 42, 14));
}

} // namespace zentrel
