#include "ProgressPopup.h"

#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"

namespace zentrel {

ProgressPopup::ProgressPopup(EventLoop& loop, SharedState& state, Window* parent)
    : Window(loop, parent), state_(state) {}

void ProgressPopup::open() {
    doModal(progressDialogTemplate());
}

void ProgressPopup::openIfClosed() {
    if (state_.ProgressShown == 0) {
        state_.ProgressShown = 1;
        open();
    } else {
        refreshText();
    }
}

void ProgressPopup::tick(const std::string& base) {
    state_.ProgressText = base + state_.nextProgressEnding();
    refreshText();
}

void ProgressPopup::refreshText() {
    // Before its first opening the label does not exist yet; the opening copies the text.
    if (created()) {
        setText(ctl::kProgressLabel, state_.ProgressText);
    }
}

void ProgressPopup::close() {
    state_.ProgressShown = 0;
    if (inModal()) {
        endDialog(IDOK);
    }
}

void ProgressPopup::onInitDialog() {
    setText(ctl::kProgressLabel, state_.ProgressText);
    setColors(ctl::kProgressLabel, rgb(255, 255, 255), std::nullopt);
    setCornerEllipse(kCorner);
    setOpacity(kAlpha);
    const Rect& main = state_.MainClientRect;
    const Rect g = geometry();
    const int x = main.left + kOffsetX * kPixelsPerDialogUnit;
    const int y = main.top + kOffsetY * kPixelsPerDialogUnit;
    setGeometry(Rect{x, y, x + g.width(), y + g.height()});
}

} // namespace zentrel
