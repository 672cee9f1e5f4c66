#include "RebootWait.h"

#include "UpgradeIds.h"
#include "platform/Window.h"

namespace zentrel {

void RebootWait::start() {
    awaiting_ = true;
    poll_();
    window_.setTimer(fw::kFirstPollTimer, fw::kPollMs);
}

void RebootWait::stop() {
    awaiting_ = false;
    window_.killTimers(fw::kFirstPollTimer, fw::kRebootGiveUp);
}

bool RebootWait::onTimer(int id) {
    if (id == fw::kRebootGiveUp) {
        window_.killTimer(id);
        giveUp_();
        return true;
    }
    if (id >= fw::kFirstPollTimer && id <= fw::kLastPollTimer) {
        window_.killTimer(id);
        poll_();
        window_.setTimer(id + 1, fw::kPollMs);
        return true;
    }
    return false;
}

} // namespace zentrel
