#pragma once
// `beep`, `ir`, `power`, `reboot` and `factory-reset` on the General page's maintenance
// operations. A run ends where the page's would show its outcome: reboot and power-on once the
// unit counts as back, a factory reset once its beeper step is confirmed. The beeper, the IR
// control and power-off are not waited for on the page; the tool gives their answer the reply
// wait of every other command, so a silent matrix still ends the run.
#include "CtlSession.h"

#include "operations/FactoryReset.h"
#include "operations/MaintenanceCommands.h"

#include <string>

namespace zentrel::cli {

class UnitRun : public MaintenanceListener, public FactoryResetListener {
public:
    explicit UnitRun(CtlSession& session)
        : session_(session), commands_(session.host(), *this), reset_(session.host(), *this) {}

    // `command` is beep, ir, power (with `on`), reboot or factory-reset.
    CtlSession::Outcome run(const std::string& command, bool on);
    // What the page would have said on success.
    const std::string& doneText() const { return doneText_; }

    void onIrState(bool /*on*/) override {}
    void onBeepState(bool /*on*/) override {}
    void onPowerState(bool /*on*/) override {}
    void onBeepAnswer(bool done) override { answered(done); }
    void onIrAnswer(bool done) override { answered(done); }
    void onPowerAnswer(bool done) override;
    void onRebooting() override {}
    void onRebootDone() override;
    void onPowerOnDone() override;
    void onCommandTimedOut() override;
    void onResetDone() override;
    void onResetTimedOut() override;

private:
    void answered(bool done);
    void start(const std::string& command, bool on);

    CtlSession& session_;
    MaintenanceCommands commands_;
    FactoryReset reset_;
    std::string what_;
    bool powerOn_ = false;
    std::string doneText_;
};

} // namespace zentrel::cli
