#include "VirtualEventLoop.h"

#include "platform/Window.h"

#include <string>

namespace zentrel {

void VirtualEventLoop::setTimer(Window& w, int id, int ms) {
    timers_[{&w, id}] = TimerState{ms < 1 ? 1 : ms, now_ + (ms < 1 ? 1 : ms), ++seq_};
}

void VirtualEventLoop::killTimer(Window& w, int id) {
    timers_.erase({&w, id});
}

bool VirtualEventLoop::timerRunning(const Window& w, int id) const {
    return timers_.count({&w, id}) != 0;
}

void VirtualEventLoop::postMessage(Window& w, unsigned msg, WParam wp, LParam lp) {
    if (live_.count(&w) == 0) {
        return; // destroyed: nothing reaches it, nor a later window at its address
    }
    posted_.push_back(Posted{&w, msg, wp, lp});
}

LParam VirtualEventLoop::sendMessage(Window& w, unsigned msg, WParam wp, LParam lp) {
    return w.onMessage(msg, wp, lp);
}

VirtualEventLoop::ActionId VirtualEventLoop::schedule(std::int64_t delayMs,
                                                      std::function<void()> fn, const void* owner) {
    const Key key{now_ + (delayMs < 0 ? 0 : delayMs), ++seq_};
    actions_[key] = Action{std::move(fn), owner};
    actionKeys_[key.second] = key;
    return key.second;
}

void VirtualEventLoop::cancel(ActionId id) {
    auto it = actionKeys_.find(id);
    if (it != actionKeys_.end()) {
        actions_.erase(it->second);
        actionKeys_.erase(it);
    }
}

void VirtualEventLoop::forget(Window& w) {
    live_.erase(&w);
    for (auto it = timers_.begin(); it != timers_.end();) {
        it = it->first.first == &w ? timers_.erase(it) : std::next(it);
    }
    for (auto it = posted_.begin(); it != posted_.end();) {
        it = it->target == &w ? posted_.erase(it) : std::next(it);
    }
    for (auto it = actions_.begin(); it != actions_.end();) {
        if (it->second.owner == &w) {
            actionKeys_.erase(it->first.second);
            it = actions_.erase(it);
        } else {
            ++it;
        }
    }
}

bool VirtualEventLoop::runOne(std::int64_t limit) {
    // Posted messages come before anything that waits on the clock, as on the platform we
    // stand in for, where timer expiries are only generated when the queue is empty.
    if (!posted_.empty()) {
        Posted p = posted_.front();
        posted_.pop_front();
        p.target->onMessage(p.msg, p.wp, p.lp);
        return true;
    }
    const TimerState* nextTimer = nullptr;
    std::pair<const Window*, int> timerKey{};
    for (const auto& [key, t] : timers_) {
        if (nextTimer == nullptr || Key{t.due, t.seq} < Key{nextTimer->due, nextTimer->seq}) {
            nextTimer = &t;
            timerKey = key;
        }
    }
    const bool haveAction = !actions_.empty();
    const bool actionFirst =
        haveAction &&
        (nextTimer == nullptr || actions_.begin()->first < Key{nextTimer->due, nextTimer->seq});
    if (actionFirst) {
        auto it = actions_.begin();
        if (it->first.first > limit) {
            return false;
        }
        now_ = it->first.first;
        std::function<void()> fn = std::move(it->second.fn);
        actionKeys_.erase(it->first.second);
        actions_.erase(it);
        fn();
        return true;
    }
    if (nextTimer == nullptr || nextTimer->due > limit) {
        return false;
    }
    now_ = nextTimer->due;
    TimerState& t = timers_[timerKey];
    t.due += t.period;
    t.seq = ++seq_;
    const_cast<Window*>(timerKey.first)->onTimer(timerKey.second);
    return true;
}

void VirtualEventLoop::advance(std::int64_t ms) {
    const std::int64_t target = now_ + (ms < 0 ? 0 : ms);
    while (!quit_ && runOne(target)) {
    }
    if (now_ < target) {
        now_ = target;
    }
}

void VirtualEventLoop::runModal(Window& w) {
    if (modalHook_) {
        modalHook_(w);
    }
    const std::int64_t deadline = now_ + modalLimitMs_;
    while (!w.modalEnded() && !quit_) {
        if (posted_.empty() && timers_.empty() && actions_.empty()) {
            throw ModalStall("modal loop of window " + std::to_string(w.templateId()) +
                             " has nothing left to run at " + std::to_string(now_) + " ms");
        }
        if (!runOne(deadline)) {
            throw ModalStall("modal loop of window " + std::to_string(w.templateId()) +
                             " still open after " + std::to_string(modalLimitMs_) + " ms");
        }
    }
}

} // namespace zentrel
