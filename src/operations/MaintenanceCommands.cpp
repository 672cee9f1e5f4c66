#include "MaintenanceCommands.h"

#include "platform/Window.h"
#include "protocol/Commands.h"
#include "protocol/Replies.h"
#include "session/PageLink.h"

namespace zentrel {

namespace {

constexpr int kRebootWaitMs = 2000;
constexpr int kRebootDoneMs = 4000;
constexpr int kPowerOnWaitMs = 2000;
constexpr int kPowerOnDoneMs = 4000;

} // namespace

void MaintenanceCommands::setBeep(bool on) {
    host_.link.sender().send(cmd::setBeep(on));
}

void MaintenanceCommands::setIrControl(bool on) {
    host_.link.sender().send(cmd::setIrControl(on));
}

void MaintenanceCommands::reboot() {
    host_.link.sender().send(cmd::reboot());
    host_.window.setTimer(ops::kRebootTimer, kRebootWaitMs);
}

void MaintenanceCommands::powerOn() {
    host_.link.sender().send(cmd::setPower(true));
    host_.window.setTimer(ops::kPowerOnTimer, kPowerOnWaitMs);
}

void MaintenanceCommands::powerOff() {
    host_.link.sender().send(cmd::setPower(false)); // to standby
}

void MaintenanceCommands::awaitPowerOn() {
    host_.window.killTimer(ops::kPowerOnTimer);
    host_.window.setTimer(ops::kPowerOnDoneTimer, kPowerOnDoneMs);
}

void MaintenanceCommands::queryBeepState() {
    host_.link.sender().send(cmd::queryBeepState());
}

bool MaintenanceCommands::onTimer(int id) {
    switch (id) {
    case ops::kRebootTimer:
    case ops::kPowerOnTimer:
        host_.window.killTimer(id);
        listener_.onCommandTimedOut();
        return true;
    case ops::kRebootDoneTimer:
        host_.window.killTimer(id);
        listener_.onRebootDone();
        return true;
    case ops::kPowerOnDoneTimer:
        host_.window.killTimer(id);
        listener_.onPowerOnDone();
        return true;
    default:
        return false;
    }
}

bool MaintenanceCommands::onReply(const CommandFrame& f) {
    if (const auto ir = reply::irControlState(f)) {
        listener_.onIrState(ir->on);
        queryBeepState();
        return true;
    }
    if (const auto beep = reply::beepState(f)) {
        listener_.onBeepState(beep->on);
        return true;
    }
    if (const auto beep = reply::answer(cmd::kBeep, f)) {
        listener_.onBeepAnswer(beep->done);
        return true;
    }
    // The IR control's answer is told by its byte 6 alone, the one a unit sets there.
    if (const auto ir = reply::answer(cmd::kIrControl, f); ir && ir->port == 0) {
        listener_.onIrAnswer(ir->done);
        return true;
    }
    if (const auto a = reply::answer(cmd::kReboot, f); a && a->doneForAll()) {
        host_.window.killTimer(ops::kRebootTimer);
        host_.window.setTimer(ops::kRebootDoneTimer, kRebootDoneMs);
        listener_.onRebooting();
        return true;
    }
    if (const auto power = reply::answer(cmd::kPower, f)) {
        listener_.onPowerAnswer(power->done);
        return true;
    }
    if (const auto power = reply::powerState(f)) {
        listener_.onPowerState(power->on);
        return true;
    }
    return false;
}

void MaintenanceCommands::stop() {
    host_.window.killTimer(ops::kRebootTimer);
    host_.window.killTimer(ops::kPowerOnTimer);
}

} // namespace zentrel
