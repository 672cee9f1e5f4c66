#include "EdidStatusList.h"

#include "protocol/Commands.h"
#include "protocol/Replies.h"
#include "session/PageLink.h"
#include "state/SharedState.h"

namespace zentrel::edid {

EdidStatusList::EdidStatusList(OperationHost host, EdidStatusListener& listener)
    : host_(host), listener_(listener) {
    queries_.reserve(kMaxInputs);
    for (std::size_t i = 0; i < kMaxInputs; ++i) {
        queries_.emplace_back(
            host.window,
            RequestTimers{kStatusTimers[i], kReplyWaitMs, kStatusGiveUps[i], kReplyWaitMs},
            [&link = host.link](const CommandFrame& f) { link.sender().send(f); },
            [this] { listener_.onStatusTimedOut(); });
    }
}

void EdidStatusList::start() {
    queries_[0].start(cmd::queryEdidStatus(1));
}

void EdidStatusList::queryOne(int input) {
    host_.link.sender().send(cmd::queryEdidStatus(input));
}

bool EdidStatusList::onReply(const CommandFrame& f, Operation current) {
    // The unit's last input ends the chain; a reply for an input it lacks is not the chain's
    // and would only lead it on to queries of more inputs the unit does not have.
    const int last = host_.state.size().inputs;
    const std::optional<reply::EdidStatus> status = reply::edidStatus(f);
    if (!status || status->input < 1 || status->input > last) {
        return false;
    }
    const int k = status->input;
    queries_[static_cast<std::size_t>(k - 1)].stop();
    listener_.onStatusRead(k, status->code);
    if (k < last) {
        if (current == Operation::Refresh) {
            queryOne(k + 1);
        } else if (current == Operation::Status) {
            queries_[static_cast<std::size_t>(k)].start(cmd::queryEdidStatus(k + 1));
        }
        return true;
    }
    listener_.onStatusDone();
    return true;
}

bool EdidStatusList::onTimer(int id) {
    for (PendingRequest& q : queries_) {
        if (q.onTimer(id)) {
            return true;
        }
    }
    return false;
}

} // namespace zentrel::edid
