#include "UnitRun.h"

#include "platform/Window.h"
#include "session/SessionTexts.h"

namespace zentrel::cli {

namespace {

// The tool's own wait for an answer the page does not wait for; above the operations' ids.
constexpr int kAnswerTimer = 9002;

} // namespace

CtlSession::Outcome UnitRun::run(const std::string& command, bool on) {
    what_ = command == "reboot" || command == "factory-reset" ? command
                                                              : command + (on ? " on" : " off");
    start(command, on);
    return session_.run(
        [this](const LinkedFrame& r) {
            return reset_.onReply(r.frame) || commands_.onReply(r.frame);
        },
        [this](int id) {
            if (id == kAnswerTimer) {
                session_.killTimer(id);
                onCommandTimedOut();
                return true;
            }
            return reset_.onTimer(id) || commands_.onTimer(id);
        });
}

void UnitRun::start(const std::string& command, bool on) {
    if (command == "factory-reset") {
        reset_.start();
        return;
    }
    if (command == "reboot") {
        commands_.reboot();
        return;
    }
    if (command == "power" && on) {
        powerOn_ = true;
        commands_.powerOn();
        return;
    }
    if (command == "power") {
        commands_.powerOff();
    } else if (command == "beep") {
        commands_.setBeep(on);
    } else {
        commands_.setIrControl(on);
    }
    session_.setTimer(kAnswerTimer, session::kReplyWaitMs);
}

void UnitRun::answered(bool done) {
    session_.killTimer(kAnswerTimer);
    if (done) {
        session_.finish({});
    } else {
        session_.finish({ExitCode::Refused, what_ + ": refused by the matrix", ""});
    }
}

void UnitRun::onPowerAnswer(bool done) {
    if (powerOn_ && done) {
        commands_.awaitPowerOn(); // the page's "Initializing..." while the unit comes back
        return;
    }
    answered(done);
}

void UnitRun::onRebootDone() {
    doneText_ = ops::kRebootOk;
    session_.finish({});
}

void UnitRun::onPowerOnDone() {
    doneText_ = ops::kInitializingOk;
    session_.finish({});
}

void UnitRun::onCommandTimedOut() {
    session_.finish({ExitCode::NoAnswer, session::kTimeOut, "(" + what_ + ")"});
}

void UnitRun::onResetDone() {
    doneText_ = session::kSetOk;
    session_.finish({});
}

void UnitRun::onResetTimedOut() {
    session_.finish({ExitCode::NoAnswer, session::kTimeOut, "(factory-reset)"});
}

} // namespace zentrel::cli
