#include "EdidLayout.h"

#include "EdidIds.h"
#include "EdidPageTemplate.h"
#include "platform/Window.h"

#include <string>

namespace zentrel {

using namespace edid;

namespace {

// The rows of eight inputs, in dialog units: the first just below the list's line, each 14
// lower, so the fourth ends above the Status button.
constexpr int kLargeRowY = 111;
constexpr int kLargeRowStep = 14;
constexpr int kLargeSeparatorH = 54;

const ControlTemplate& templateOf(int id) {
    for (const ControlTemplate& c : edidPageTemplate().controls) {
        if (c.id == id) {
            return c;
        }
    }
    static const ControlTemplate none{};
    return none;
}

// The template's place of `id`, moved `dx` pixels and made `dw` pixels wider.
Rect placed(int id, int dx = 0, int dw = 0) {
    const ControlTemplate& t = templateOf(id);
    Rect r = dialogUnitsToPixels(t.x, t.y, t.w, t.h);
    r.left += dx;
    r.right += dx + dw;
    return r;
}

// A selection kept where the new lists have it: `all` (the old count) becomes the new count.
int kept(int at, int oldAll, int newAll) {
    if (at == oldAll) {
        return newAll;
    }
    return at < newAll ? at : 0;
}

} // namespace

void EdidLayout::apply(const MatrixSize& size, EdidTargets& selections) {
    if (shown_ && *shown_ == size) {
        return;
    }
    const int oldAll = shown_ ? shown_->inputs : MatrixSize::kSmall;
    shown_ = size;
    fillLists(size);
    placeList(size);
    selections.modeTarget = kept(selections.modeTarget, oldAll, size.inputs);
    selections.copyTarget = kept(selections.copyTarget, oldAll, size.inputs);
    selections.downloadTarget = kept(selections.downloadTarget, oldAll, size.inputs);
    if (selections.copySource >= size.outputs) {
        selections.copySource = 0;
    }
    page_.setSelection(kModeTarget, selections.modeTarget);
    page_.setSelection(kCopySource, selections.copySource);
    page_.setSelection(kCopyTarget, selections.copyTarget);
    page_.setSelection(kDownloadTarget, selections.downloadTarget);
}

void EdidLayout::fillLists(const MatrixSize& size) {
    for (int id : {kModeTarget, kCopyTarget, kDownloadTarget}) {
        page_.clearItems(id);
        for (int k = 1; k <= size.inputs; ++k) {
            page_.addItem(id, inputItem(k));
        }
        page_.addItem(id, kAllInputs);
    }
    page_.clearItems(kCopySource);
    for (int o = 0; o < size.outputs; ++o) {
        page_.addItem(kCopySource, "HDMI OUT " + outputLetter(o));
    }
}

void EdidLayout::placeList(const MatrixSize& size) {
    const bool eight = size.inputs == MatrixSize::kLarge;
    page_.setRect(kStatus, placed(kStatus, -kCutPixels));
    page_.setRect(kListGroup, placed(kListGroup, 0, -kCutPixels));
    page_.setRect(kListLine, placed(kListLine, 0, -kCutPixels));
    Rect separator = placed(kSeparator);
    if (eight) {
        separator.bottom = separator.top + kLargeSeparatorH * kPixelsPerDialogUnit;
    }
    page_.setRect(kSeparator, separator);
    page_.showControl(kSeparator, eight);
    for (int k = 1; k <= kTemplatePorts; ++k) {
        const int row = (k - 1) % MatrixSize::kSmall;
        for (int id : {inputLabel(k), statusLine(k)}) {
            Rect r = placed(id);
            if (eight) {
                const int h = r.bottom - r.top;
                r.top = (kLargeRowY + kLargeRowStep * row) * kPixelsPerDialogUnit;
                r.bottom = r.top + h;
            }
            page_.setRect(id, r);
            page_.showControl(id, k <= size.inputs);
        }
    }
}

} // namespace zentrel
