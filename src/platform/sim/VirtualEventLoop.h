#pragma once
// The virtual clock: a deterministic, single-threaded event loop. Time moves only when a test
// advances it or a modal loop waits for its next event, so a test can wait five seconds in
// microseconds and see the same order of events on every run.
#include "platform/EventLoop.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <utility>

namespace zentrel {

// Thrown when a modal loop could only wait forever: nothing is left that could end it.
class ModalStall : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class VirtualEventLoop : public EventLoop {
public:
    using ActionId = std::uint64_t;

    std::int64_t nowMs() const override { return now_; }

    void setTimer(Window& w, int id, int ms) override;
    void killTimer(Window& w, int id) override;
    bool timerRunning(const Window& w, int id) const override;
    void postMessage(Window& w, unsigned msg, WParam wp, LParam lp) override;
    LParam sendMessage(Window& w, unsigned msg, WParam wp, LParam lp) override;
    void runModal(Window& w) override;
    void postQuit() override { quit_ = true; }
    bool quitRequested() const override { return quit_; }
    void adopt(Window& w) override { live_.insert(&w); }
    void forget(Window& w) override;

    // Runs everything due within the next `ms` milliseconds, then stands at now + ms.
    void advance(std::int64_t ms);
    // Runs what is due now (posted messages and actions scheduled for this instant).
    void settle() { advance(0); }

    // Runs `fn` after `delayMs` of virtual time; `owner`, when given, cancels it on forget.
    ActionId schedule(std::int64_t delayMs, std::function<void()> fn, const void* owner = nullptr);
    void cancel(ActionId id);

    // Called at the start of every modal loop, after the dialog's initialisation: the place
    // where a test answers a dialog that only a person would close.
    void setModalHook(std::function<void(Window&)> hook) { modalHook_ = std::move(hook); }
    // Longest virtual time one modal loop may wait before it counts as stuck.
    void setModalLimitMs(std::int64_t ms) { modalLimitMs_ = ms; }

private:
    struct Posted {
        Window* target;
        unsigned msg;
        WParam wp;
        LParam lp;
    };
    struct TimerState {
        int period;
        std::int64_t due;
        std::uint64_t seq;
    };
    struct Action {
        std::function<void()> fn;
        const void* owner;
    };
    using Key = std::pair<std::int64_t, std::uint64_t>; // due, sequence

    bool runOne(std::int64_t limit);

    std::int64_t now_ = 0;
    std::uint64_t seq_ = 0;
    bool quit_ = false;
    std::deque<Posted> posted_;
    std::set<const Window*> live_; // posts to any other window are dropped
    std::map<std::pair<const Window*, int>, TimerState> timers_;
    std::map<Key, Action> actions_;
    std::map<ActionId, Key> actionKeys_;
    std::function<void(Window&)> modalHook_;
    std::int64_t modalLimitMs_ = 10 * 60 * 1000;
};

} // namespace zentrel
