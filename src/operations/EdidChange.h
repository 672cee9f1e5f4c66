#pragma once
// A change of an input's EDID, as the page and zentrel-ctl run it: the EDID access request every
// change begins with, then the built-in or default EDID, the copy or the download. The host says
// which exchange runs; the grant leads to that one's change. The unit's EDID switch may answer in
// place of a request: a report that still allows changes asks again for what it came in place
// of, a refusal ends the change and every wait with it.
#include "EdidChangeListener.h"
#include "EdidDownload.h"
#include "EdidModeCopy.h"
#include "EdidWaits.h"
#include "OperationHost.h"
#include "session/PendingRequest.h"

namespace zentrel::edid {

class EdidChange {
public:
    EdidChange(OperationHost host, const EdidTargets& targets, const EdidFileBuffer& file,
               EdidChangeListener& listener);

    // The EDID access request (timers 5 and 6).
    void requestAccess();
    // The copy's output check, which leads to the access request.
    void queryOutput() { modeCopy_.queryOutput(); }
    // The grant and the changes' answers, for the exchange `current`; false for other frames.
    bool onReply(const CommandFrame& f, Operation current);
    // A report of the unit's EDID switch; false for any other frame.
    bool onSwitchReport(const CommandFrame& f, Operation current);
    bool onTimer(int id);

private:
    void onAccessGranted(Operation current);

    EdidChangeListener& listener_;
    PendingRequest access_;
    EdidModeCopy modeCopy_;
    EdidDownload download_;
};

} // namespace zentrel::edid
