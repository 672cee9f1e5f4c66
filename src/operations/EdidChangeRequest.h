#pragma once
// A wait of an EDID change: its two timers at the page's reply period, the frame sent on the
// page's link, and a give-up that ends the change with "Time out!".
#include "EdidChangeListener.h"
#include "EdidWaits.h"
#include "OperationHost.h"
#include "session/PageLink.h"
#include "session/PendingRequest.h"

namespace zentrel::edid {

inline PendingRequest changeRequest(OperationHost host, EdidChangeListener& listener, int first,
                                    int second) {
    return PendingRequest(
        host.window, RequestTimers{first, kReplyWaitMs, second, kReplyWaitMs},
        [&link = host.link](const CommandFrame& f) { link.sender().send(f); },
        [&listener] { listener.onChangeTimedOut(kTimeOut); });
}

} // namespace zentrel::edid
