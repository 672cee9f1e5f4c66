#include "SwitchEngine.h"

#include "platform/Window.h"
#include "protocol/Commands.h"
#include "session/PageLink.h"
#include "session/TabLock.h"
#include "state/SharedState.h"

#include <algorithm>

namespace zentrel {

SwitchEngine::SwitchEngine(OperationHost host, SwitchListener& listener)
    : host_(host), listener_(listener) {}

void SwitchEngine::send(int k, int input, int waitMs) {
    auto& slot = requests_[static_cast<std::size_t>(k - 1)];
    // The first wait depends on who asked (the grid is quicker to repeat than the panels), so
    // the request is made afresh for each switch.
    slot.emplace(
        host_.window,
        RequestTimers{ops::switchFirstTimer(k), waitMs, ops::switchSecondTimer(k), ops::kWaitMs},
        [this](const CommandFrame& f) { host_.link.sender().send(f); }, [this] { giveUp(); },
        [this] { listener_.onWaiting(); });
    waiting_ = k;
    slot->start(cmd::routeInput(input, k));
}

void SwitchEngine::startSwitch(int k, int input, int waitMs) {
    pendingInput_ = input;
    send(k, input, waitMs);
}

void SwitchEngine::startSequence() {
    single_ = false;
    send(1, working(1) + 1, ops::kWaitMs);
}

bool SwitchEngine::guardsFree() const {
    return sequenceReady_ &&
           std::all_of(buttonReady_.begin(), buttonReady_.end(), [](bool b) { return b; });
}

void SwitchEngine::releaseGuards() {
    buttonReady_.fill(true);
    sequenceReady_ = true;
}

bool SwitchEngine::onAcknowledgment(int k, bool sound) {
    if (k < 1 || k > ops::kOutputs || k != waiting_) {
        return false;
    }
    listener_.onAcknowledged();
    request(k).stop();
    if (k > host_.state.size().outputs) {
        // Outputs the unit lacks are not checked; a sequence ends here.
        finish(k);
        return true;
    }
    if (!sound) {
        onChecksumFailure(k);
    } else if (single_ || k == ops::kOutputs) {
        if (!single_) {
            pendingInput_ = working(k) + 1; // the last step of a sequence over eight outputs
        }
        finish(k);
    } else {
        continueSequence(k);
    }
    return true;
}

void SwitchEngine::onRefusal() {
    if (waiting_ != 0) {
        listener_.onRefused(waiting_);
    }
}

void SwitchEngine::finish(int k) {
    waiting_ = 0;
    retried_ = false;
    releaseGuards();
    host_.state.MatrixBusy = false;
    listener_.onRouted(k, pendingInput_);
    postTabLock(host_.window, false);
}

void SwitchEngine::continueSequence(int k) {
    retried_ = false;
    // The step is confirmed like any switch: box, buttons and the arrows' start all follow it,
    // so the group never shows one input in its box and another on its buttons.
    const int input = working(k) + 1;
    listener_.onRouted(k, input);
    send(k + 1, working(k + 1) + 1, ops::kWaitMs);
}

void SwitchEngine::onChecksumFailure(int k) {
    if (!retried_) {
        retried_ = true;
        host_.link.sender().send(request(k).frame());
        armSecondWait(k);
        return;
    }
    retried_ = false;
    if (single_ || k == ops::kOutputs) {
        // Nothing more is sent; a sound acknowledgment may still come, else this ends it.
        armSecondWait(k);
        return;
    }
    // The sequence skips output k and goes on with the next one, on its second wait.
    const int next = k + 1;
    send(next, working(next) + 1, ops::kWaitMs);
    request(next).stop();
    armSecondWait(next);
}

void SwitchEngine::armSecondWait(int k) {
    const RequestTimers& t = request(k).timers();
    host_.window.setTimer(t.second, t.secondMs);
}

bool SwitchEngine::onTimer(int id) {
    for (auto& r : requests_) {
        if (r && r->owns(id)) {
            return r->onTimer(id);
        }
    }
    return false;
}

void SwitchEngine::giveUp() {
    waiting_ = 0;
    retried_ = false;
    releaseGuards();
    host_.state.MatrixBusy = false;
    postTabLock(host_.window, false);
    listener_.onSwitchTimedOut();
}

void SwitchEngine::abandon() {
    waiting_ = 0;
    retried_ = false;
    releaseGuards();
}

} // namespace zentrel
