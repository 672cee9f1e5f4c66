#pragma once
// "Set EDID Mode" gives one input or all of them a built-in EDID or the default one; "Copy EDID
// From" gives them the EDID of the display on an output, after checking that a display is there.
// Both change an input only once the matrix has granted EDID access; every request after that is
// repeated once and then given up.
#include "EdidChangeListener.h"
#include "EdidWaits.h"
#include "OperationHost.h"
#include "protocol/Replies.h"
#include "session/PendingRequest.h"

#include <functional>

namespace zentrel::edid {

class EdidModeCopy {
public:
    EdidModeCopy(OperationHost host, const EdidTargets& targets, EdidChangeListener& listener,
                 std::function<void()> requestAccess);

    // Asks whether the copy's source output has a display (timer 58, no repeat); with one, the
    // access request follows.
    void queryOutput();
    // Access granted while setting (SetMode) or copying (Copy): the change itself.
    void onAccessGranted(Operation op);
    // Acts on the output check and on the results of the changes; false for any other frame.
    bool onReply(const CommandFrame& f);
    bool onTimer(int id);
    // Every wait of these changes ends (standby, a refused switch).
    void stopAll();

private:
    void onOutputCheck(const reply::PortState& output);

    OperationHost host_;
    const EdidTargets& targets_;
    EdidChangeListener& listener_;
    std::function<void()> requestAccess_;
    PendingRequest defaultAll_;
    PendingRequest builtInAll_;
    PendingRequest defaultOne_;
    PendingRequest builtInOne_;
    PendingRequest copyAll_;
    PendingRequest copyOne_;
};

} // namespace zentrel::edid
