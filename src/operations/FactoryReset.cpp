#include "FactoryReset.h"

#include "state/SharedState.h"

#include "StatusChain.h"
#include "protocol/Commands.h"
#include "protocol/Replies.h"
#include "session/PageLink.h"

namespace zentrel {

namespace {

constexpr int kDefaultEdid = 4;

constexpr std::size_t kEdidAccessStep = 8;
constexpr std::size_t kEdidStep = 9;
constexpr std::size_t kBeepStep = 10;

CommandFrame stepFrame(std::size_t step) {
    switch (step) {
    case kEdidAccessStep:
        return cmd::edidAccess();
    case kEdidStep:
        return cmd::builtInEdidAll(kDefaultEdid);
    case kBeepStep:
        return cmd::setBeep(true);
    default: {
        const int k = static_cast<int>(step) + 1;
        return cmd::routeInput(k, k);
    }
    }
}

// The answer of a command about the whole unit that was done.
bool doneForAll(Command c, const CommandFrame& f) {
    const std::optional<reply::Answer> a = reply::answer(c, f);
    return a && a->doneForAll();
}

} // namespace

FactoryReset::FactoryReset(OperationHost host, FactoryResetListener& listener)
    : state_(host.state), listener_(listener) {
    auto add = [&](RequestTimers timers) {
        steps_.emplace_back(
            host.window, timers,
            [&link = host.link](const CommandFrame& f) { link.sender().send(f); },
            [this] {
                running_ = false;
                listener_.onResetTimedOut();
            });
    };
    for (const RequestTimers& t : ops::kResetRouteWaits) {
        add(t);
    }
    add(ops::kResetEdidAccessWait);
    add(ops::kResetEdidWait);
    add(ops::kResetBeepWait);
}

void FactoryReset::start() {
    running_ = true;
    startStep(0);
}

void FactoryReset::startStep(std::size_t step) {
    steps_[step].start(stepFrame(step));
}

bool FactoryReset::onTimer(int id) {
    for (PendingRequest& step : steps_) {
        if (step.onTimer(id)) {
            return true;
        }
    }
    return false;
}

void FactoryReset::advance(std::size_t step, std::size_t next) {
    if (!steps_[step].answered()) {
        return; // a repeated answer: its next step is already out
    }
    startStep(next);
}

bool FactoryReset::onReply(const CommandFrame& f) {
    if (!running_) {
        return false;
    }
    if (const auto ack = reply::switchAck(f); ack && ack->ok) {
        const int k = ack->output;
        if (k < 1 || k > ops::kMaxPorts) {
            return false;
        }
        const auto step = static_cast<std::size_t>(k - 1);
        // A four-by-four unit ends its routing at output 4, a larger one at output 8.
        const bool last = k >= state_.size().outputs;
        advance(step, last ? kEdidAccessStep : step + 1);
        return true;
    }
    if (doneForAll(cmd::kEdidAccess, f)) {
        advance(kEdidAccessStep, kEdidStep);
        return true;
    }
    if (doneForAll(cmd::kEdidBuiltInAll, f)) {
        advance(kEdidStep, kBeepStep);
        return true;
    }
    if (doneForAll(cmd::kBeep, f)) {
        steps_[kBeepStep].stop();
        running_ = false;
        listener_.onResetDone();
        return true;
    }
    return false;
}

void FactoryReset::stop() {
    running_ = false;
    for (PendingRequest& step : steps_) {
        step.stop();
    }
}

} // namespace zentrel
