#include "NoticePopup.h"

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
    setColors(ctl::kNoticeLabel, rgb(255, 255, 255), std::nullopt);
    setCornerEllipse(kCorner);
    setOpacity(kAlpha);
    // Centred on the main window wherever the user has moved it.
    const Rect& main = state_.MainClientRect;
    const Rect g = geometry();
    const int x = main.left + (main.right - main.left - g.width()) / 2;
    const int y = main.top + (main.bottom - main.top - g.height()) / 2;
    setGeometry(Rect{x, y, x + g.width(), y + g.height()});
}

} // namespace zentrel
