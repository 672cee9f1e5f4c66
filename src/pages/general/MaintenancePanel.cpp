#include "MaintenancePanel.h"

#include "GeneralIds.h"
#include "GeneralPage.h"

namespace zentrel {

namespace {

using When = PagePopups::When;

} // namespace

MaintenancePanel::MaintenancePanel(GeneralPage& page)
    : page_(page), reset_(page.host(), *this), commands_(page.host(), *this) {}

bool MaintenancePanel::restoreAndCheckReady(int id) {
    page_.setChecked(id, !page_.isChecked(id));
    return !page_.connection().refuseUnlessReady();
}

void MaintenancePanel::toggle(int id) {
    page_.setChecked(id, !page_.isChecked(id));
}

bool MaintenancePanel::onCommand(int id) {
    switch (id) {
    case gen::kFactoryReset:
        if (!page_.connection().refuseUnlessReady()) {
            reset_.start();
            page_.popups().setProgressText("Setting . . .");
            page_.setTimer(gen::kResetAnimation, session::kAnimationMs);
            page_.popups().openProgress();
        }
        return true;
    case gen::kReboot:
        if (!page_.connection().refuseUnlessReady()) {
            commands_.reboot();
        }
        return true;
    case gen::kBeep:
        if (restoreAndCheckReady(id)) {
            commands_.setBeep(!page_.isChecked(id));
        }
        return true;
    case gen::kIrControl:
        if (restoreAndCheckReady(id)) {
            commands_.setIrControl(!page_.isChecked(id));
        }
        return true;
    case gen::kPower:
        if (restoreAndCheckReady(id)) {
            if (page_.isChecked(id)) {
                commands_.powerOff();
            } else {
                commands_.powerOn();
            }
        }
        return true;
    default:
        return false;
    }
}

bool MaintenancePanel::onTimer(int id) {
    if (id == gen::kResetAnimation) {
        page_.popups().tickProgress(gen::kSetting);
        return true;
    }
    return reset_.onTimer(id) || commands_.onTimer(id);
}

void MaintenancePanel::onCommandTimedOut() {
    page_.popups().notice(session::kTimeOut, 1000, When::IfClosed);
}

void MaintenancePanel::onRebootDone() {
    page_.popups().closeNotice();
    page_.popups().notice(ops::kRebootOk, session::kNoticeMs, When::IfClosed);
}

void MaintenancePanel::onPowerOnDone() {
    page_.popups().closeNotice();
    commands_.queryBeepState();
    page_.popups().notice(ops::kInitializingOk, 2000, When::IfClosed);
}

void MaintenancePanel::onResetTimedOut() {
    page_.killTimer(gen::kResetAnimation);
    page_.popups().closeProgress();
    page_.popups().notice(session::kTimeOut, 1000, When::IfClosed);
}

void MaintenancePanel::onResetDone() {
    page_.killTimer(gen::kResetAnimation);
    page_.popups().closeProgress();
    // The reset switched the beeper on; the box shows it before the notice takes the screen.
    page_.setChecked(gen::kBeep, true);
    page_.popups().notice(session::kSetOk, session::kNoticeMs, When::IfClosed);
}

bool MaintenancePanel::onReply(const CommandFrame& f) {
    return reset_.onReply(f) || commands_.onReply(f);
}

void MaintenancePanel::onIrState(bool on) {
    page_.setChecked(gen::kIrControl, on);
}

void MaintenancePanel::onBeepState(bool on) {
    page_.setChecked(gen::kBeep, on);
}

void MaintenancePanel::onBeepAnswer(bool done) {
    if (done) {
        toggle(gen::kBeep);
    }
}

void MaintenancePanel::onIrAnswer(bool /*done*/) {
    toggle(gen::kIrControl);
}

void MaintenancePanel::onRebooting() {
    page_.popups().notice(gen::kRebooting, 0, When::IfClosed);
}

void MaintenancePanel::onPowerAnswer(bool done) {
    if (!done) {
        return;
    }
    if (page_.isChecked(gen::kPower)) {
        page_.setChecked(gen::kPower, false);
        return;
    }
    page_.setChecked(gen::kPower, true);
    commands_.awaitPowerOn();
    page_.popups().notice(gen::kInitializing, 0, When::IfClosed);
}

void MaintenancePanel::onPowerState(bool on) {
    page_.setChecked(gen::kPower, on);
    if (on) {
        commands_.queryBeepState();
        page_.sizeQuery().start(); // the connect's power state: the unit is up
    } else {
        page_.popups().notice(gen::kPowerOff, 2000, When::IfClosed);
    }
}

void MaintenancePanel::stopForStandby() {
    reset_.stop();
    page_.killTimer(gen::kResetAnimation);
    commands_.stop();
}

} // namespace zentrel
