#include "NoticePopup.h"

#include "PopupLook.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"

namespace zentrel {

NoticePopup::NoticePopup(EventLoop& loop, SharedState& state, Window* parent)
    : Window(loop, parent), state_(state) {}

void NoticePopup::open() {
    doModal(noticeDialogTemplate());
}

void NoticePopup::show(const std::string& text) {
    state_.NoticeText = text;
    state_.NoticeShown = 1;
    open();
}

void NoticePopup::close() {
    state_.NoticeShown = 0;
    if (inModal()) {
        endDialog(IDOK);
    }
}

void NoticePopup::onInitDialog() {
    setText(ctl::kNoticeLabel, state_.NoticeText);
    dressAsPopup(*this, ctl::kNoticeLabel, kCorner, kAlpha);
    // Centred on the main window wherever the user has moved it.
    centreOn(state_.MainClientRect);
}

} // namespace zentrel
