#pragma once
// The commands about the whole unit: the beeper, the IR control, power and reboot, and the state
// queries of the first three. The beeper and the IR control are sent once and not waited for;
// reboot and power-on wait 2 s for their answer and are never repeated, as the matrix may already
// be restarting; once answered, the unit is given 4 s to come back.
#include "OperationHost.h"

namespace zentrel {

class CommandFrame;

namespace ops {

// What a reboot and a power-on the matrix confirmed say, on the page and in zentrel-ctl.
constexpr const char* kRebootOk = "Reboot successfully!";
constexpr const char* kInitializingOk = "Initializing successfully!";

constexpr int kRebootTimer = 201;
constexpr int kRebootDoneTimer = 202;
constexpr int kPowerOnTimer = 203;
constexpr int kPowerOnDoneTimer = 204;

} // namespace ops

class MaintenanceListener {
public:
    // The state replies.
    virtual void onIrState(bool on) = 0;
    virtual void onBeepState(bool on) = 0;
    virtual void onPowerState(bool on) = 0;
    // The answers: the beeper's and power's say whether they were done; the IR control's is told
    // by its port byte alone.
    virtual void onBeepAnswer(bool done) = 0;
    virtual void onIrAnswer(bool done) = 0;
    virtual void onPowerAnswer(bool done) = 0;
    // Reboot was answered; 4 s later the unit counts as back.
    virtual void onRebooting() = 0;
    virtual void onRebootDone() = 0;
    // After the power-on's answer, the unit counts as back (its beeper state is asked).
    virtual void onPowerOnDone() = 0;
    // Reboot or power-on went unanswered.
    virtual void onCommandTimedOut() = 0;

protected:
    virtual ~MaintenanceListener() = default;
};

class MaintenanceCommands {
public:
    MaintenanceCommands(OperationHost host, MaintenanceListener& listener)
        : host_(host), listener_(listener) {}

    void setBeep(bool on);
    void setIrControl(bool on);
    void reboot();
    void powerOn();
    void powerOff();
    // The power-on was answered: the unit is given its time to come back.
    void awaitPowerOn();
    void queryBeepState();

    bool onTimer(int id);
    // Acts on a state reply or an answer; false when the frame is not one.
    bool onReply(const CommandFrame& f);
    // The matrix went to standby: the reboot and power-on waits end without a time-out.
    void stop();

private:
    OperationHost host_;
    MaintenanceListener& listener_;
};

} // namespace zentrel
