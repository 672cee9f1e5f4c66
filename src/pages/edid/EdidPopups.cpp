#include "EdidPopups.h"

#include "EdidTexts.h"
#include "app/NoticePopup.h"
#include "app/ProgressPopup.h"
#include "platform/Window.h"
#include "state/SharedState.h"

namespace zentrel::edid {

EdidPopups::EdidPopups(Window& page, SharedState& state, NoticePopup& notice,
                       ProgressPopup& progress)
    : page_(page), state_(state), notice_(notice), progress_(progress) {}

void EdidPopups::notice(const std::string& text, When when, int closeAfterMs) {
    page_.setTimer(kNoticeTimer, closeAfterMs);
    const bool open = state_.NoticeShown != 0;
    state_.NoticeText = text;
    if (when == When::IfClosed && open) {
        return;
    }
    state_.NoticeShown = 1;
    // An open notice only takes the new text; a closed one runs its modal loop here.
    notice_.open();
}

void EdidPopups::closeNotice() {
    notice_.close();
}

bool EdidPopups::noticeShown() const {
    return state_.NoticeShown != 0;
}

bool EdidPopups::waitingNoticeShown() const {
    return state_.NoticeShown != 0 && state_.NoticeText == kPleaseWait;
}

void EdidPopups::closeWaitingNotice() {
    if (waitingNoticeShown()) {
        closeNotice();
    }
}

void EdidPopups::onNoticeTimer() {
    page_.killTimer(kNoticeTimer);
    closeNotice();
}

void EdidPopups::startProgress(Operation op) {
    state_.ProgressText = progressStart(op);
    page_.setTimer(kAnimationTimer, kAnimationMs);
}

void EdidPopups::openProgress() {
    progress_.openIfClosed();
}

void EdidPopups::tick(Operation op) {
    const std::string base = progressBase(op);
    if (!base.empty()) {
        progress_.tick(base);
    }
}

void EdidPopups::endProgress() {
    page_.killTimer(kAnimationTimer);
    progress_.close();
}

} // namespace zentrel::edid
