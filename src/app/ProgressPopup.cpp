#include "ProgressPopup.h"

#include "PopupLook.h"
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
    dressAsPopup(*this, ctl::kProgressLabel, kCorner, kAlpha);
    moveTo(state_.MainClientRect.left + kOffsetX * kPixelsPerDialogUnit,
           state_.MainClientRect.top + kOffsetY * kPixelsPerDialogUnit);
}

} // namespace zentrel
