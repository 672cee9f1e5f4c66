#include "ConfigProgressBox.h"

#include "PopupLook.h"
#include "operations/ConfigSearchAgain.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"

namespace zentrel {

ConfigProgressBox::ConfigProgressBox(EventLoop& loop, SharedState& state, Window* parent)
    : Window(loop, parent), state_(state) {}

void ConfigProgressBox::open() {
    doModal(configBoxDialogTemplate());
}

void ConfigProgressBox::onInitDialog() {
    // A new record has been sent and nothing has answered it yet: an acceptance of an earlier
    // run must not turn this run's time-out into a success.
    state_.ConfigResult = 0;
    setText(ctl::kConfigLabel, "Configuring . . .");
    setTimer(kAnimationTimer, 500);
    setTimer(kTimeoutTimer, ConfigExchange::kAnswerPatienceMs);
    dressAsPopup(*this, ctl::kConfigLabel, kCorner, kAlpha);
    moveTo(state_.MainClientRect.left, state_.MainClientRect.top);
}

void ConfigProgressBox::onTimer(int id) {
    switch (id) {
    case kAnimationTimer:
        switch (step_) {
        case 1:
            setText(ctl::kConfigLabel, "Configuring . .  ");
            step_ = 2;
            break;
        case 2:
            setText(ctl::kConfigLabel, "Configuring . . .");
            step_ = 3;
            break;
        default:
            setText(ctl::kConfigLabel, "Configuring .    ");
            step_ = 1;
            break;
        }
        break;
    case kTimeoutTimer:
        killTimer(kAnimationTimer);
        killTimer(kTimeoutTimer);
        if (state_.ConfigResult == 0) {
            setText(ctl::kConfigLabel, ConfigExchange::kFailedText);
        } else {
            state_.ConfigResult = 0;
            setText(ctl::kConfigLabel, ConfigSearchAgain::kConfiguredText);
        }
        setTimer(kCloseTimer, 2000);
        break;
    case kCloseTimer:
        killTimer(kCloseTimer);
        close();
        break;
    default:
        break;
    }
}

void ConfigProgressBox::finishWith(const std::string& text) {
    killTimer(kAnimationTimer);
    killTimer(kTimeoutTimer);
    // The result may come when the box has never been opened: then there is no label to set.
    if (created()) {
        setText(ctl::kConfigLabel, text);
    }
}

void ConfigProgressBox::stopTimers() {
    killTimer(kAnimationTimer);
    killTimer(kTimeoutTimer);
    killTimer(kCloseTimer);
}

void ConfigProgressBox::close() {
    // A closed box keeps no timers: they would go on animating and time out unseen.
    stopTimers();
    if (inModal()) {
        endDialog(IDOK);
    }
}

void ConfigProgressBox::onCancel() {
    stopTimers();
    endDialog(IDCANCEL);
}

} // namespace zentrel
