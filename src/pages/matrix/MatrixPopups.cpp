#include "MatrixPopups.h"

#include "MatrixIds.h"
#include "app/NoticePopup.h"
#include "app/ProgressPopup.h"
#include "platform/Window.h"
#include "state/SharedState.h"

namespace zentrel {

MatrixPopups::MatrixPopups(Window& page, SharedState& state, NoticePopup& notice,
                           ProgressPopup& progress)
    : page_(page), state_(state), notice_(notice), progress_(progress) {}

void MatrixPopups::notice(const std::string& text, int closeAfterMs) {
    page_.setTimer(mtx::kNoticeTimer, closeAfterMs);
    if (state_.NoticeShown != 0) {
        return;
    }
    state_.NoticeText = text;
    state_.NoticeShown = 1;
    notice_.open();
}

void MatrixPopups::closeNotice() {
    notice_.close();
}

void MatrixPopups::onNoticeTimer() {
    page_.killTimer(mtx::kNoticeTimer);
    closeNotice();
}

void MatrixPopups::startWaiting() {
    state_.ProgressText = std::string(mtx::kPleaseWait) + ". . .";
    page_.setTimer(mtx::kAnimationTimer, mtx::kAnimationMs);
    progress_.openIfClosed();
}

void MatrixPopups::onAnimationTimer() {
    progress_.tick(mtx::kPleaseWait);
}

void MatrixPopups::stopWaiting() {
    page_.killTimer(mtx::kAnimationTimer);
    progress_.close();
}

} // namespace zentrel
