#include "StatusRefresh.h"

#include "platform/Window.h"
#include "protocol/Commands.h"
#include "session/PageLink.h"
#include "session/TabLock.h"
#include "state/SharedState.h"

namespace zentrel {

StatusRefresh::StatusRefresh(OperationHost host, RefreshListener& listener)
    : host_(host), listener_(listener) {
    for (int k = 1; k <= ops::kOutputs; ++k) {
        // Output 1 is asked only at the start of a refresh, where the first wait is shorter.
        const int firstMs = k == 1 ? ops::kRefreshFirstWaitMs : ops::kWaitMs;
        requests_[static_cast<std::size_t>(k - 1)] = std::make_unique<PendingRequest>(
            host_.window,
            RequestTimers{ops::statusFirstTimer(k), firstMs, ops::statusSecondTimer(k),
                          ops::kWaitMs},
            [this](const CommandFrame& f) { host_.link.sender().send(f); },
            [this] {
                end();
                listener_.onRefreshTimedOut();
            },
            [this] { listener_.onWaiting(); });
    }
}

void StatusRefresh::start() {
    host_.state.MatrixBusy = true;
    query(1);
}

void StatusRefresh::query(int k) {
    waiting_ = k;
    request(k).start(cmd::queryRouting(k));
}

bool StatusRefresh::onReply(int k, std::uint8_t input, bool serial) {
    if (k < 1 || k > ops::kOutputs || k != waiting_) {
        return false;
    }
    request(k).stop();
    listener_.onRoutingRead(k, input, serial);
    if (k >= host_.state.size().outputs) {
        end();
        listener_.onRefreshDone();
        return true;
    }
    if (!serial) {
        postTabLock(host_.window, true);
    }
    query(k + 1);
    return true;
}

void StatusRefresh::end() {
    waiting_ = 0;
    host_.state.MatrixBusy = false;
    postTabLock(host_.window, false);
}

bool StatusRefresh::onTimer(int id) {
    for (auto& r : requests_) {
        if (r->owns(id)) {
            return r->onTimer(id);
        }
    }
    return false;
}

} // namespace zentrel
