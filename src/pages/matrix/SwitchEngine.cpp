#include "SwitchEngine.h"

#include "MatrixPage.h"
#include "protocol/Commands.h"
#include "session/TabLock.h"

#include <algorithm>

namespace zentrel {

SwitchEngine::SwitchEngine(MatrixPage& page) : page_(page) {}

void SwitchEngine::send(int k, int input, int waitMs) {
    auto& slot = requests_[static_cast<std::size_t>(k - 1)];
    // The first wait depends on who asked (the grid is quicker to repeat than the panels), so
    // the request is made afresh for each switch.
    slot.emplace(
        page_,
        RequestTimers{mtx::switchFirstTimer(k), waitMs, mtx::switchSecondTimer(k), mtx::kWaitMs},
        [this](const CommandFrame& f) { page_.sender().send(f); }, [this] { giveUp(); },
        [this] { page_.startWaiting(); });
    waiting_ = k;
    slot->start(cmd::routeInput(input, k));
}

void SwitchEngine::startSwitch(int k, int input, int waitMs) {
    pendingInput_ = input;
    send(k, input, waitMs);
}

void SwitchEngine::startSequence() {
    single_ = false;
    send(1, working(1) + 1, mtx::kWaitMs);
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
    if (k < 1 || k > mtx::kOutputs || k != waiting_) {
        return false;
    }
    page_.popups().stopAnimation();
    request(k).stop();
    if (k > mtx::kShown) {
        // Outputs 5..8 are not checked; a sequence ends here.
        finish(k);
        return true;
    }
    if (!sound) {
        onChecksumFailure(k);
    } else if (single_) {
        finish(k);
    } else {
        continueSequence(k);
    }
    return true;
}

void SwitchEngine::finish(int k) {
    waiting_ = 0;
    retried_ = false;
    releaseGuards();
    page_.state().MatrixBusy = false;
    page_.grid().setSource(k, pendingInput_);
    page_.grid().showBox(k, pendingInput_);
    page_.grid().showInput(k, pendingInput_);
    postTabLock(page_, false);
}

void SwitchEngine::continueSequence(int k) {
    retried_ = false;
    // The step is confirmed like any switch: box, buttons and the arrows' start all follow it,
    // so the group never shows one input in its box and another on its buttons.
    const int input = working(k) + 1;
    page_.grid().setSource(k, input);
    page_.grid().showBox(k, input);
    page_.grid().showInput(k, input);
    send(k + 1, working(k + 1) + 1, mtx::kWaitMs);
}

void SwitchEngine::onChecksumFailure(int k) {
    if (!retried_) {
        retried_ = true;
        page_.sender().send(request(k).frame());
        armSecondWait(k);
        return;
    }
    retried_ = false;
    if (single_) {
        // Nothing more is sent; a sound acknowledgment may still come, else this ends it.
        armSecondWait(k);
        return;
    }
    // The sequence skips output k and goes on with the next one, on its second wait.
    const int next = k + 1;
    send(next, working(next) + 1, mtx::kWaitMs);
    request(next).stop();
    armSecondWait(next);
}

void SwitchEngine::armSecondWait(int k) {
    const RequestTimers& t = request(k).timers();
    page_.setTimer(t.second, t.secondMs);
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
    page_.state().MatrixBusy = false;
    postTabLock(page_, false);
    page_.popups().stopAnimation();
    page_.popups().notice(mtx::kTimeOut, mtx::kNoticeMs, PagePopups::When::IfClosed);
}

void SwitchEngine::abandon() {
    waiting_ = 0;
    retried_ = false;
    releaseGuards();
}

} // namespace zentrel
