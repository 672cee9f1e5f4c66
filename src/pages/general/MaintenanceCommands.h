#pragma once
// The maintenance commands at the bottom of the General page: Factory Reset (the routing put
// back port by port, the EDID access, the default EDID and the beeper, one step after each
// reply), Reboot, Enable Beep, the hidden Enable IR Control, and Power On. The check boxes
// change only when the matrix confirms; the replies to the state queries set them.
#include "protocol/CommandFrame.h"
#include "session/PendingRequest.h"

#include <vector>

namespace zentrel {

class GeneralPage;

class MaintenanceCommands {
public:
    explicit MaintenanceCommands(GeneralPage& page);

    bool onCommand(int id);
    bool onTimer(int id);
    // Acts on a maintenance or state reply; false when the frame is not one.
    bool onReply(const CommandFrame& f);
    // The matrix has gone to standby: a running factory reset and the reboot and power-on
    // waits end without a time-out.
    void stopForStandby();

    bool resetRunning() const { return resetRunning_; }

private:
    void startFactoryReset();
    bool onResetReply(const CommandFrame& f);
    // Step 0..7 puts input k+1 back on output k+1; then the EDID access, the default EDID and
    // the beeper.
    void startResetStep(std::size_t step);
    void finishReset();
    void giveUpReset();
    // A check box toggles itself when clicked; it shows the matrix's state, so the click is
    // undone before anything is sent.
    bool restoreAndCheckReady(int id);

    GeneralPage& page_;
    std::vector<PendingRequest> resetSteps_;
    bool resetRunning_ = false;
};

} // namespace zentrel
