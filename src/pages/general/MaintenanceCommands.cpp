#include "MaintenanceCommands.h"

#include "GeneralIds.h"
#include "GeneralPage.h"
#include "protocol/Replies.h"

namespace zentrel {

namespace {

using When = PagePopups::When;

constexpr int kRebootWaitMs = 2000;
constexpr int kRebootDoneMs = 4000;
constexpr int kPowerOnWaitMs = 2000;
constexpr int kPowerOnDoneMs = 4000;
constexpr int kDefaultEdid = 4;

constexpr std::size_t kEdidAccessStep = 8;
constexpr std::size_t kEdidStep = 9;
constexpr std::size_t kBeepStep = 10;

CommandFrame resetFrame(std::size_t step) {
    switch (step) {
    case kEdidAccessStep:
        return cmd::edidAccess();
    case kEdidStep:
        return cmd::builtInEdidAll(kDefaultEdid);
    case kBeepStep:
        return cmd::setBeep(true);
    default: {
        const int k = static_cast<int>(step) + 1;
        return cmd::routeInput(k, k);
    }
    }
}

// The answer of a command about the whole unit that was done.
bool doneForAll(Command c, const CommandFrame& f) {
    const std::optional<reply::Answer> a = reply::answer(c, f);
    return a && a->doneForAll();
}

} // namespace

MaintenanceCommands::MaintenanceCommands(GeneralPage& page) : page_(page) {
    auto add = [&](RequestTimers timers) {
        resetSteps_.emplace_back(
            page, timers, [&page](const CommandFrame& f) { page.sender().send(f); },
            [this] { giveUpReset(); });
    };
    for (const RequestTimers& t : gen::kResetRouteWaits) {
        add(t);
    }
    add(gen::kResetEdidAccessWait);
    add(gen::kResetEdidWait);
    add(gen::kResetBeepWait);
}

bool MaintenanceCommands::restoreAndCheckReady(int id) {
    page_.setChecked(id, !page_.isChecked(id));
    return !page_.connection().refuseUnlessReady();
}

bool MaintenanceCommands::onCommand(int id) {
    FrameSender& send = page_.sender();
    switch (id) {
    case gen::kFactoryReset:
        if (!page_.connection().refuseUnlessReady()) {
            startFactoryReset();
        }
        return true;
    case gen::kReboot:
        if (!page_.connection().refuseUnlessReady()) {
            send.send(cmd::reboot());
            page_.setTimer(gen::kRebootTimer, kRebootWaitMs);
        }
        return true;
    case gen::kBeep:
        if (restoreAndCheckReady(id)) {
            send.send(cmd::setBeep(!page_.isChecked(id)));
        }
        return true;
    case gen::kIrControl:
        if (restoreAndCheckReady(id)) {
            send.send(cmd::setIrControl(!page_.isChecked(id)));
        }
        return true;
    case gen::kPower:
        if (restoreAndCheckReady(id)) {
            if (page_.isChecked(id)) {
                send.send(cmd::setPower(false)); // to standby
            } else {
                send.send(cmd::setPower(true));
                page_.setTimer(gen::kPowerOnTimer, kPowerOnWaitMs);
            }
        }
        return true;
    default:
        return false;
    }
}

void MaintenanceCommands::startFactoryReset() {
    resetRunning_ = true;
    startResetStep(0);
    page_.popups().setProgressText("Setting . . .");
    page_.setTimer(gen::kResetAnimation, gen::kAnimationMs);
    page_.popups().openProgress();
}

void MaintenanceCommands::startResetStep(std::size_t step) {
    resetSteps_[step].start(resetFrame(step));
}

bool MaintenanceCommands::onTimer(int id) {
    if (id == gen::kResetAnimation) {
        page_.popups().tickProgress(gen::kSetting);
        return true;
    }
    for (PendingRequest& step : resetSteps_) {
        if (step.onTimer(id)) {
            return true;
        }
    }
    switch (id) {
    case gen::kRebootTimer:
    case gen::kPowerOnTimer:
        // Neither is repeated: the matrix may already be rebooting or powering up.
        page_.killTimer(id);
        page_.popups().notice(gen::kTimeOut, 1000, When::IfClosed);
        return true;
    case gen::kRebootDoneTimer:
        page_.killTimer(id);
        page_.popups().closeNotice();
        page_.popups().notice(gen::kRebootOk, 1500, When::IfClosed);
        return true;
    case gen::kPowerOnDoneTimer:
        page_.killTimer(id);
        page_.popups().closeNotice();
        page_.sender().send(cmd::queryBeepState());
        page_.popups().notice(gen::kInitializingOk, 2000, When::IfClosed);
        return true;
    default:
        return false;
    }
}

void MaintenanceCommands::giveUpReset() {
    resetRunning_ = false;
    page_.killTimer(gen::kResetAnimation);
    page_.popups().closeProgress();
    page_.popups().notice(gen::kTimeOut, 1000, When::IfClosed);
}

void MaintenanceCommands::finishReset() {
    resetRunning_ = false;
    page_.killTimer(gen::kResetAnimation);
    page_.popups().closeProgress();
    // The reset switched the beeper on; the box shows it before the notice takes the screen.
    page_.setChecked(gen::kBeep, true);
    page_.popups().notice(gen::kSetOk, 1500, When::IfClosed);
}

bool MaintenanceCommands::onResetReply(const CommandFrame& f) {
    if (const auto ack = reply::switchAck(f); ack && ack->ok) {
        const int k = ack->output;
        if (k < 1 || k > gen::kMaxPorts) {
            return false;
        }
        const auto step = static_cast<std::size_t>(k - 1);
        if (!resetSteps_[step].waiting()) {
            return true; // a repeated answer: its next step is already out
        }
        resetSteps_[step].stop();
        // A four-by-four unit ends its routing at output 4, a larger one at output 8.
        if (k == gen::kChainPorts || k == gen::kMaxPorts) {
            startResetStep(kEdidAccessStep);
        } else {
            startResetStep(step + 1);
        }
        return true;
    }
    if (doneForAll(cmd::kEdidAccess, f)) {
        if (!resetSteps_[kEdidAccessStep].waiting()) {
            return true;
        }
        resetSteps_[kEdidAccessStep].stop();
        startResetStep(kEdidStep);
        return true;
    }
    if (doneForAll(cmd::kEdidBuiltInAll, f)) {
        if (!resetSteps_[kEdidStep].waiting()) {
            return true;
        }
        resetSteps_[kEdidStep].stop();
        startResetStep(kBeepStep);
        return true;
    }
    if (doneForAll(cmd::kBeep, f)) {
        resetSteps_[kBeepStep].stop();
        finishReset();
        return true;
    }
    return false;
}

bool MaintenanceCommands::onReply(const CommandFrame& f) {
    if (const auto ir = reply::irControlState(f)) {
        page_.setChecked(gen::kIrControl, ir->on);
        page_.sender().send(cmd::queryBeepState());
        return true;
    }
    if (const auto beep = reply::beepState(f)) {
        page_.setChecked(gen::kBeep, beep->on);
        return true;
    }
    if (resetRunning_ && onResetReply(f)) {
        return true;
    }
    if (const auto beep = reply::answer(cmd::kBeep, f); beep && beep->done) {
        page_.setChecked(gen::kBeep, !page_.isChecked(gen::kBeep));
        return true;
    }
    // The IR control's answer is told by its byte 6 alone, the one a unit sets there.
    if (const auto ir = reply::answer(cmd::kIrControl, f); ir && ir->port == 0) {
        page_.setChecked(gen::kIrControl, !page_.isChecked(gen::kIrControl));
        return true;
    }
    if (doneForAll(cmd::kReboot, f)) {
        page_.killTimer(gen::kRebootTimer);
        page_.setTimer(gen::kRebootDoneTimer, kRebootDoneMs);
        page_.popups().notice(gen::kRebooting, 0, When::IfClosed);
        return true;
    }
    if (const auto power = reply::answer(cmd::kPower, f); power && power->done) {
        if (page_.isChecked(gen::kPower)) {
            page_.setChecked(gen::kPower, false);
        } else {
            page_.setChecked(gen::kPower, true);
            page_.killTimer(gen::kPowerOnTimer);
            page_.setTimer(gen::kPowerOnDoneTimer, kPowerOnDoneMs);
            page_.popups().notice(gen::kInitializing, 0, When::IfClosed);
        }
        return true;
    }
    if (const auto power = reply::powerState(f)) {
        if (power->on) {
            page_.setChecked(gen::kPower, true);
            page_.sender().send(cmd::queryBeepState());
        } else {
            page_.setChecked(gen::kPower, false);
            page_.popups().notice(gen::kPowerOff, 2000, When::IfClosed);
        }
        return true;
    }
    return false;
}

void MaintenanceCommands::stopForStandby() {
    resetRunning_ = false;
    page_.killTimer(gen::kResetAnimation);
    for (PendingRequest& step : resetSteps_) {
        step.stop();
    }
    page_.killTimer(gen::kRebootTimer);
    page_.killTimer(gen::kPowerOnTimer);
}

} // namespace zentrel
