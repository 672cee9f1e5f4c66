#include "EdidStatusList.h"

#include "EdidPage.h"
#include "EdidTexts.h"
#include "protocol/Replies.h"

namespace zentrel::edid {

EdidStatusList::EdidStatusList(EdidPage& page) : page_(page) {
    queries_.reserve(kMaxInputs);
    for (std::size_t i = 0; i < kMaxInputs; ++i) {
        queries_.emplace_back(
            page, RequestTimers{kStatusTimers[i], kReplyWaitMs, kStatusGiveUps[i], kReplyWaitMs},
            [&page](const CommandFrame& f) { page.sender().send(f); },
            [&page] { page.timeOutC(); });
    }
}

void EdidStatusList::start() {
    page_.setOperation(Operation::Status);
    if (!page_.linkReady()) {
        return;
    }
    page_.popups().startAnimation(progressStart(Operation::Status));
    queries_[0].start(cmd::queryEdidStatus(1));
    page_.setBusy(true);
    page_.popups().openProgress();
}

void EdidStatusList::refresh() {
    page_.setOperation(Operation::Refresh);
    queryOne(1);
}

void EdidStatusList::queryOne(int input) {
    page_.sender().send(cmd::queryEdidStatus(input));
}

bool EdidStatusList::onReply(const CommandFrame& f) {
    const std::optional<reply::EdidStatus> status = reply::edidStatus(f);
    if (!status || status->input < 1 || status->input > kMaxInputs) {
        return false;
    }
    const int k = status->input;
    queries_[static_cast<std::size_t>(k - 1)].stop();
    page_.setText(statusLine(k), statusText(status->code));
    if (k % kInputCount != 0) {
        if (page_.operation() == Operation::Refresh) {
            queryOne(k + 1);
        } else if (page_.operation() == Operation::Status) {
            queries_[static_cast<std::size_t>(k)].start(cmd::queryEdidStatus(k + 1));
        }
        return true;
    }
    // Input 4 (or 8) ends the chain.
    page_.popups().stopAnimation();
    page_.setBusy(false);
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
