#include "EdidChange.h"

#include "protocol/Commands.h"
#include "protocol/Replies.h"
#include "session/PageLink.h"

namespace zentrel::edid {

EdidChange::EdidChange(OperationHost host, const EdidTargets& targets, const EdidFileBuffer& file,
                       EdidChangeListener& listener)
    : listener_(listener),
      access_(
          host.window, RequestTimers{kAccessTimer, kReplyWaitMs, kAccessGiveUp, kReplyWaitMs},
          [&link = host.link](const CommandFrame& f) { link.sender().send(f); },
          [&listener] { listener.onChangeTimedOut(kTimeOut); }),
      modeCopy_(host, targets, listener, [this] { requestAccess(); }),
      download_(host, targets, file, listener) {}

void EdidChange::requestAccess() {
    access_.start(cmd::edidAccess());
    listener_.onAccessRequested();
}

bool EdidChange::onReply(const CommandFrame& f, Operation current) {
    if (cmd::kEdidAccess.matches(f)) {
        onAccessGranted(current);
        return true;
    }
    return modeCopy_.onReply(f) || download_.onReply(f);
}

void EdidChange::onAccessGranted(Operation current) {
    // A second grant (a doubled reply, or the answer to the repeat after the first answer)
    // would start the change a second time.
    if (!access_.answered()) {
        return;
    }
    switch (current) {
    case Operation::SetMode:
    case Operation::Copy:
        modeCopy_.onAccessGranted(current);
        break;
    case Operation::Download:
        download_.onAccessGranted();
        break;
    default:
        listener_.onAccessGranted(false);
        return;
    }
    listener_.onAccessGranted(true);
}

bool EdidChange::onSwitchReport(const CommandFrame& f, Operation current) {
    const auto report = reply::switchReport(f);
    if (!report) {
        return false;
    }
    if (!report->refused()) {
        if (current == Operation::SetMode || current == Operation::Download) {
            requestAccess();
        } else if (current == Operation::Copy) {
            modeCopy_.queryOutput();
        }
        return true;
    }
    // The unit refuses the change: a repeat would only be refused again, and a give-up later
    // would report a time-out for what was refused.
    access_.stop();
    modeCopy_.stopAll();
    download_.stopAll();
    listener_.onChangeRefused();
    return true;
}

bool EdidChange::onTimer(int id) {
    return access_.onTimer(id) || modeCopy_.onTimer(id) || download_.onTimer(id);
}

} // namespace zentrel::edid
