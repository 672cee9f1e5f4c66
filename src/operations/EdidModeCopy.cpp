#include "EdidModeCopy.h"

#include "EdidChangeRequest.h"
#include "platform/Window.h"
#include "protocol/Commands.h"
#include "session/PageLink.h"
#include "state/SharedState.h"

namespace zentrel::edid {

EdidModeCopy::EdidModeCopy(OperationHost host, const EdidTargets& targets,
                           EdidChangeListener& listener, std::function<void()> requestAccess)
    : host_(host), targets_(targets), listener_(listener), requestAccess_(std::move(requestAccess)),
      defaultAll_(changeRequest(host, listener, kDefaultAllTimer, kDefaultAllGiveUp)),
      builtInAll_(changeRequest(host, listener, kBuiltInAllTimer, kBuiltInAllGiveUp)),
      defaultOne_(changeRequest(host, listener, kDefaultOneTimer, kDefaultOneGiveUp)),
      builtInOne_(changeRequest(host, listener, kBuiltInOneTimer, kBuiltInOneGiveUp)),
      copyAll_(changeRequest(host, listener, kCopyAllTimer, kCopyAllGiveUp)),
      copyOne_(changeRequest(host, listener, kCopyOneTimer, kCopyOneGiveUp)) {}

void EdidModeCopy::queryOutput() {
    host_.link.sender().send(cmd::queryOutput(targets_.copySource + 1));
    host_.window.setTimer(kOutputCheckTimer, kReplyWaitMs);
}

void EdidModeCopy::onAccessGranted(Operation op) {
    const EdidTargets& t = targets_;
    const int all = host_.state.size().inputs;
    if (op == Operation::SetMode) {
        const bool byDefault = t.choice == kDefaultChoice;
        if (t.modeTarget == all) {
            byDefault ? defaultAll_.start(cmd::defaultEdidAll())
                      : builtInAll_.start(cmd::builtInEdidAll(t.choice + 1));
        } else {
            byDefault ? defaultOne_.start(cmd::defaultEdid(t.modeTarget + 1))
                      : builtInOne_.start(cmd::builtInEdid(t.choice + 1, t.modeTarget + 1));
        }
        return;
    }
    const int output = t.copySource + 1;
    if (t.copyTarget == all) {
        copyAll_.start(cmd::copyEdidAll(output));
    } else {
        copyOne_.start(cmd::copyEdid(output, t.copyTarget + 1));
    }
}

bool EdidModeCopy::onReply(const CommandFrame& f) {
    const EdidTargets& t = targets_;
    const auto port = reply::portState(f);
    const auto builtInOne = reply::answer(cmd::kEdidBuiltIn, f);
    const auto copyOne = reply::answer(cmd::kEdidCopy, f);
    // An answer counts only while its request waits: a doubled one, or one that comes after the
    // give-up or after a standby ended the waits, would report the change a second time, or
    // after its failure.
    if (port && !port->input && port->port == t.copySource + 1) {
        if (host_.window.timerRunning(kOutputCheckTimer)) {
            onOutputCheck(*port);
        }
    } else if (builtInOne && builtInOne->port == t.modeTarget + 1) {
        if (builtInOne_.answered()) {
            listener_.onModeSet(true, false);
        }
    } else if (cmd::kEdidDefault.matches(f)) {
        if (defaultOne_.answered()) {
            listener_.onModeSet(false, false);
        }
    } else if (cmd::kEdidBuiltInAll.matches(f)) {
        if (builtInAll_.answered()) {
            listener_.onModeSet(true, true);
        }
    } else if (cmd::kEdidDefaultAll.matches(f)) {
        if (defaultAll_.answered()) {
            listener_.onModeSet(false, true);
        }
    } else if (const auto copyAll = reply::answer(cmd::kEdidCopyAll, f)) {
        // The matrix says whether the copy worked, for all inputs as for one.
        if (copyAll_.answered()) {
            listener_.onCopied(true, copyAll->done);
        }
    } else if (copyOne && copyOne->port == t.copyTarget + 1) {
        if (copyOne_.answered()) {
            listener_.onCopied(false, copyOne->done);
        }
    } else {
        return false;
    }
    return true;
}

void EdidModeCopy::onOutputCheck(const reply::PortState& output) {
    host_.window.killTimer(kOutputCheckTimer);
    if (!output.connected) {
        listener_.onOutputMissing(targets_.copySource);
        return;
    }
    requestAccess_();
}

bool EdidModeCopy::onTimer(int id) {
    if (id == kOutputCheckTimer) {
        host_.window.killTimer(id);
        listener_.onOutputCheckTimedOut();
        return true;
    }
    for (PendingRequest* r :
         {&defaultAll_, &builtInAll_, &defaultOne_, &builtInOne_, &copyAll_, &copyOne_}) {
        if (r->onTimer(id)) {
            return true;
        }
    }
    return false;
}

void EdidModeCopy::stopAll() {
    host_.window.killTimer(kOutputCheckTimer);
    for (PendingRequest* r :
         {&defaultAll_, &builtInAll_, &defaultOne_, &builtInOne_, &copyAll_, &copyOne_}) {
        r->stop();
    }
}

} // namespace zentrel::edid
