#include "PagePopups.h"

#include "NoticePopup.h"
#include "ProgressPopup.h"
#include "platform/Window.h"
#include "session/SessionTexts.h"
#include "state/SharedState.h"

namespace zentrel {

PagePopups::PagePopups(Window& page, SharedState& state, NoticePopup& notice,
                       ProgressPopup& progress, const Options& options)
    : page_(page), state_(state), notice_(notice), progress_(progress), options_(options) {}

void PagePopups::notice(const std::string& text, int closeAfterMs, When when) {
    if (options_.shownPage != 0 && state_.ActivePage != options_.shownPage) {
        return;
    }
    if (closeAfterMs > 0) {
        page_.setTimer(options_.noticeTimer, closeAfterMs);
    }
    const bool open = state_.NoticeShown != 0;
    if (when == When::IfClosed && open) {
        if (options_.replacesHiddenText) {
            state_.NoticeText = text;
        }
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
    page_.killTimer(options_.noticeTimer);
    closeNotice();
}

void PagePopups::noticeInstead(const std::string& text, int closeAfterMs) {
    if (noticeShown()) {
        closeNotice();
    }
    notice(text, closeAfterMs, When::IfClosed);
}

bool PagePopups::noticeShown() const {
    return state_.NoticeShown != 0;
}

bool PagePopups::noticeShows(const std::string& text) const {
    return state_.NoticeShown != 0 && state_.NoticeText == text;
}

void PagePopups::closeNoticeShowing(const std::string& text) {
    if (noticeShows(text)) {
        closeNotice();
    }
}

void PagePopups::startAnimation(const std::string& text) {
    state_.ProgressText = text;
    page_.setTimer(options_.animationTimer, session::kAnimationMs);
}

void PagePopups::stopAnimation() {
    page_.killTimer(options_.animationTimer);
    progress_.close();
}

void PagePopups::openProgress() {
    progress_.openIfClosed();
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
