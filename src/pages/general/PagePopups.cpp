#include "PagePopups.h"

#include "GeneralIds.h"
#include "app/NoticePopup.h"
#include "app/ProgressPopup.h"
#include "platform/Window.h"
#include "state/SharedState.h"

namespace zentrel {

PagePopups::PagePopups(Window& page, SharedState& state, NoticePopup& notice,
                       ProgressPopup& progress)
    : page_(page), state_(state), notice_(notice), progress_(progress) {}

void PagePopups::notice(const std::string& text, int closeAfterMs, When when) {
    if (state_.ActivePage != kPageGeneral) {
        // Another page is shown: a notice of this page would speak over it, and its close timer
        // would close that page's own notice.
        return;
    }
    if (closeAfterMs > 0) {
        page_.setTimer(gen::kNoticeTimer, closeAfterMs);
    }
    if (when == When::IfClosed && state_.NoticeShown != 0) {
        return;
    }
    state_.NoticeText = text;
    state_.NoticeShown = 1;
    // An open notice only takes the new text; a closed one runs its modal loop here.
    notice_.open();
}

void PagePopups::closeNotice() {
    notice_.close();
}

void PagePopups::onNoticeTimer() {
    page_.killTimer(gen::kNoticeTimer);
    closeNotice();
}

bool PagePopups::noticeShows(const std::string& text) const {
    return state_.NoticeShown != 0 && state_.NoticeText == text;
}

void PagePopups::openProgress() {
    if (state_.ProgressShown != 0) {
        progress_.refreshText();
        return;
    }
    state_.ProgressShown = 1;
    progress_.open();
}

void PagePopups::setProgressText(const std::string& text) {
    state_.ProgressText = text;
    progress_.refreshText();
}

void PagePopups::tickProgress(const std::string& base) {
    progress_.tick(base);
}

void PagePopups::closeProgress() {
    progress_.close();
}

} // namespace zentrel
