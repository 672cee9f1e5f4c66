#pragma once
// The maintenance commands at the bottom of the General page: Factory Reset, Reboot, Enable
// Beep, the hidden Enable IR Control, and Power On, with their progress box and notices. The
// check boxes change only when the matrix confirms; the replies to the state queries set them.
#include "operations/FactoryReset.h"
#include "operations/MaintenanceCommands.h"

namespace zentrel {

class GeneralPage;

class MaintenancePanel : public FactoryResetListener, public MaintenanceListener {
public:
    explicit MaintenancePanel(GeneralPage& page);

    bool onCommand(int id);
    bool onTimer(int id);
    // Acts on a maintenance or state reply; false when the frame is not one.
    bool onReply(const CommandFrame& f);
    // The matrix has gone to standby: a running factory reset and the reboot and power-on
    // waits end without a time-out.
    void stopForStandby();

    bool resetRunning() const { return reset_.running(); }

    // --- FactoryResetListener -----------------------------------------------------------------
    void onResetDone() override;
    void onResetTimedOut() override;
    // --- MaintenanceListener ------------------------------------------------------------------
    void onIrState(bool on) override;
    void onBeepState(bool on) override;
    void onPowerState(bool on) override;
    void onBeepAnswer(bool done) override;
    void onIrAnswer(bool done) override;
    void onPowerAnswer(bool done) override;
    void onRebooting() override;
    void onRebootDone() override;
    void onPowerOnDone() override;
    void onCommandTimedOut() override;

private:
    // A check box toggles itself when clicked; it shows the matrix's state, so the click is
    // undone before anything is sent.
    bool restoreAndCheckReady(int id);
    void toggle(int id);

    GeneralPage& page_;
    FactoryReset reset_;
    MaintenanceCommands commands_;
};

} // namespace zentrel
