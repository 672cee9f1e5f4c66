#include "MaintenanceCommands.h"

#include "GeneralIds.h"
#include "GeneralPage.h"
#include "protocol/CommandBuilders.h"

namespace zentrel {

namespace {

using When = PagePopups::When;

constexpr int kRebootWaitMs = 2000;
constexpr int kRebootDoneMs = 4000;
constexpr int kPowerOnWaitMs = 2000;
constexpr int kPowerOnDoneMs = 4000;
constexpr std::uint8_t kDefaultEdid = 0x04;

std::uint8_t u8(int v) {
    return static_cast<std::uint8_t>(v);
}

// The frame of the factory-reset step that timer `timer` guards.
CommandFrame resetStep(int timer) {
    switch (timer) {
    case gen::kResetEdidAccessTimer:
        return commandFrame(0x03, 0x08, gen::kOff);
    case gen::kResetEdidTimer:
        return commandFrameB5(0x03, 0x01, kDefaultEdid, gen::kOff);
    case gen::kResetBeepTimer:
        return commandFrame(0x06, 0x01, gen::kOn);
    default: {
        // Routing step k puts input k back on output k.
        const int k = (timer - gen::resetStepTimer(1)) / 2 + 1;
        return commandFrameB6(0x02, 0x03, u8(k), u8(k));
    }
    }
}

bool zeroResult(const CommandFrame& f) {
    return f[4] == 0 && f[6] == 0;
}

} // namespace

MaintenanceCommands::MaintenanceCommands(GeneralPage& page) : page_(page) {}

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
            send.sendCommand(0x08, 0x0D, 0x00);
            page_.setTimer(gen::kRebootTimer, kRebootWaitMs);
        }
        return true;
    case gen::kBeep:
        if (restoreAndCheckReady(id)) {
            send.sendCommand(0x06, 0x01, page_.isChecked(id) ? gen::kOff : gen::kOn);
        }
        return true;
    case gen::kIrControl:
        if (restoreAndCheckReady(id)) {
            send.sendCommand(0x05, 0x01, page_.isChecked(id) ? gen::kOff : gen::kOn);
        }
        return true;
    case gen::kPower:
        if (restoreAndCheckReady(id)) {
            if (page_.isChecked(id)) {
                send.sendCommand(0x08, 0x0B, gen::kOff); // to standby
            } else {
                send.sendCommand(0x08, 0x0B, gen::kOn);
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
    sendResetStep(gen::resetStepTimer(1));
    page_.popups().setProgressText("Setting . . .");
    page_.setTimer(gen::kResetAnimation, gen::kAnimationMs);
    page_.popups().openProgress();
}

void MaintenanceCommands::sendResetStep(int timer) {
    page_.sender().send(resetStep(timer));
    page_.setTimer(timer, gen::kReplyWaitMs);
}

bool MaintenanceCommands::onTimer(int id) {
    if (id == gen::kResetAnimation) {
        page_.popups().tickProgress(gen::kSetting);
        return true;
    }
    if (id > gen::kFirstResetTimer && id <= gen::kLastResetTimer) {
        page_.killTimer(id);
        if (id % 2 == 1) {
            page_.sender().send(resetStep(id));
            page_.setTimer(id + 1, gen::kReplyWaitMs);
        } else {
            giveUpReset(id);
        }
        return true;
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
        page_.sender().sendCommand(0x01, 0x0B, 0x00);
        page_.popups().notice(gen::kInitializingOk, 2000, When::IfClosed);
        return true;
    default:
        return false;
    }
}

void MaintenanceCommands::giveUpReset(int timer) {
    page_.killTimer(timer);
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
    const int g = f.group();
    const int c = f.command();
    if (g == 0x02 && c == 0x03 && f[4] == 0) {
        const int k = f[6];
        if (k < 1 || k > gen::kMaxPorts) {
            return false;
        }
        page_.killTimer(gen::resetStepTimer(k));
        page_.killTimer(gen::resetStepTimer(k) + 1);
        // A four-by-four unit ends its routing at output 4, a larger one at output 8.
        if (k == gen::kChainPorts || k == gen::kMaxPorts) {
            sendResetStep(gen::kResetEdidAccessTimer);
        } else {
            sendResetStep(gen::resetStepTimer(k + 1));
        }
        return true;
    }
    if (g == 0x03 && c == 0x08 && zeroResult(f)) {
        page_.killTimer(gen::kResetEdidAccessTimer);
        page_.killTimer(gen::kResetEdidAccessTimer + 1);
        sendResetStep(gen::kResetEdidTimer);
        return true;
    }
    if (g == 0x03 && c == 0x01 && zeroResult(f)) {
        page_.killTimer(gen::kResetEdidTimer);
        page_.killTimer(gen::kResetEdidTimer + 1);
        sendResetStep(gen::kResetBeepTimer);
        return true;
    }
    if (g == 0x06 && c == 0x01 && zeroResult(f)) {
        page_.killTimer(gen::kResetBeepTimer);
        page_.killTimer(gen::kResetBeepTimer + 1);
        finishReset();
        return true;
    }
    return false;
}

bool MaintenanceCommands::onReply(const CommandFrame& f) {
    const int g = f.group();
    const int c = f.command();
    if (g == 0x01 && c == 0x0A) {
        page_.setChecked(gen::kIrControl, f[6] != gen::kAbsent);
        page_.sender().sendCommand(0x01, 0x0B, 0x00);
        return true;
    }
    if (g == 0x01 && c == 0x0B) {
        page_.setChecked(gen::kBeep, f[6] != gen::kAbsent);
        return true;
    }
    if (resetRunning_ && onResetReply(f)) {
        return true;
    }
    if (g == 0x06 && c == 0x01 && f[4] == 0) {
        page_.setChecked(gen::kBeep, !page_.isChecked(gen::kBeep));
        return true;
    }
    if (g == 0x05 && c == 0x01 && f[6] == 0) {
        page_.setChecked(gen::kIrControl, !page_.isChecked(gen::kIrControl));
        return true;
    }
    if (g == 0x08 && c == 0x0D && zeroResult(f)) {
        page_.killTimer(gen::kRebootTimer);
        page_.setTimer(gen::kRebootDoneTimer, kRebootDoneMs);
        page_.popups().notice(gen::kRebooting, 0, When::IfClosed);
        return true;
    }
    if (g == 0x08 && c == 0x0B && f[4] == 0) {
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
    if (g == 0x08 && c == 0x0C) {
        if (f[4] == gen::kOn) {
            page_.setChecked(gen::kPower, true);
            page_.sender().sendCommand(0x01, 0x0B, 0x00);
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
    for (int id = gen::kFirstResetTimer; id <= gen::kLastResetTimer; ++id) {
        page_.killTimer(id);
    }
    page_.killTimer(gen::kRebootTimer);
    page_.killTimer(gen::kPowerOnTimer);
}

} // namespace zentrel
