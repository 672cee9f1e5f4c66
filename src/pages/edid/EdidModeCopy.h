#pragma once
// The first two rows of "Manual Mode": "Set EDID Mode" gives one input or all of them a built-in
// EDID or the default one; "Copy EDID From" gives them the EDID of the display on an output,
// after checking that a display is there. Both change an input only once the matrix has granted
// EDID access; every request after that is repeated once and then given up.
#include "EdidIds.h"
#include "protocol/Replies.h"
#include "session/PendingRequest.h"

namespace zentrel {

class EdidPage;

namespace edid {

class EdidModeCopy {
public:
    explicit EdidModeCopy(EdidPage& page);

    // After the page's guard: the access request under the progress box.
    void startSetMode();
    // After the page's guard: the output check first.
    void startCopy();
    // Asks whether the copy's source output has a display (timer 58, no repeat).
    void queryOutput();
    // Access granted while setting (SetMode) or copying (Copy): the change itself.
    void onAccessGranted(Operation op);
    // Acts on the output check and on the results of the changes; false for any other frame.
    bool onReply(const CommandFrame& f);
    bool onTimer(int id);
    // Every wait of these rows ends (standby, a refused switch).
    void stopAll();

private:
    void onOutputCheck(const reply::PortState& output);
    void onSetOne(bool builtIn);
    void onSetAll(bool builtIn);
    void onCopyAll(const reply::Answer& copied);
    void onCopyOne(const reply::Answer& copied);
    // The EDID status query of the input the row targets, when it targets one input.
    void queryTargetInput(int target);

    EdidPage& page_;
    PendingRequest defaultAll_;
    PendingRequest builtInAll_;
    PendingRequest defaultOne_;
    PendingRequest builtInOne_;
    PendingRequest copyAll_;
    PendingRequest copyOne_;
};

} // namespace edid
} // namespace zentrel
