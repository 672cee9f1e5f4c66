#include "QtEventLoop.h"

#include "platform/Window.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <condition_variable>

namespace zentrel {

QtEventLoop::QtEventLoop() {
    clock_.start();
}

QtEventLoop::~QtEventLoop() {
    for (auto& [key, timer] : timers_) {
        delete timer;
    }
}

bool QtEventLoop::onUiThread() const {
    return QThread::currentThread() == thread();
}

void QtEventLoop::setTimer(Window& w, int id, int ms) {
    QTimer*& timer = timers_[{&w, id}];
    if (timer == nullptr) {
        timer = new QTimer;
        // Coarse timers may fire 5 % late; the pages' timings are exact to the millisecond.
        timer->setTimerType(Qt::PreciseTimer);
        Window* target = &w;
        QObject::connect(timer, &QTimer::timeout, this, [target, id] { target->onTimer(id); });
    }
    timer->start(ms < 1 ? 1 : ms); // restarts a running timer, as on the platform we follow
}

void QtEventLoop::killTimer(Window& w, int id) {
    auto it = timers_.find({&w, id});
    if (it == timers_.end()) {
        return;
    }
    // A handler usually kills its own timer from inside the timeout signal: delete later.
    it->second->stop();
    it->second->deleteLater();
    timers_.erase(it);
}

bool QtEventLoop::timerRunning(const Window& w, int id) const {
    return timers_.count({&w, id}) != 0;
}

void QtEventLoop::adopt(Window& w) {
    std::lock_guard lock(mutex_);
    generations_[&w] = nextGeneration_++;
}

void QtEventLoop::queue(Window& w, std::function<void(Window&)> fn) {
    std::uint64_t generation;
    {
        std::lock_guard lock(mutex_);
        auto it = generations_.find(&w);
        if (it == generations_.end()) {
            return; // the window is gone: a stale pointer in a thread must not bring it back
        }
        generation = it->second;
    }
    Window* target = &w;
    QMetaObject::invokeMethod(
        this,
        [this, target, generation, fn = std::move(fn)] {
            {
                std::lock_guard lock(mutex_);
                auto it = generations_.find(target);
                if (it == generations_.end() || it->second != generation) {
                    return; // the window was destroyed after the message was posted
                }
            }
            fn(*target);
        },
        Qt::QueuedConnection);
}

void QtEventLoop::postMessage(Window& w, unsigned msg, WParam wp, LParam lp) {
    queue(w, [msg, wp, lp](Window& target) { target.onMessage(msg, wp, lp); });
}

std::optional<LParam>
QtEventLoop::runAndWait(Window& w, std::function<LParam(Window&, const std::function<bool()>&)> fn,
                        std::stop_token abort) {
    struct Call {
        std::mutex m;
        std::condition_variable cv;
        bool done = false;
        bool abandoned = false;
        LParam result = 0;
    };
    auto call = std::make_shared<Call>();
    queue(w, [call, abort, fn = std::move(fn)](Window& target) {
        const std::function<bool()> abandoned = [&] {
            std::lock_guard lock(call->m);
            return call->abandoned || abort.stop_requested();
        };
        if (abandoned()) {
            return; // the sender was stopped while this waited in the queue
        }
        const LParam r = fn(target, abandoned);
        std::lock_guard lock(call->m);
        call->result = r;
        call->done = true;
        call->cv.notify_all();
    });
    // Registered before the lock is taken: a stop already requested runs the callback at once.
    std::stop_callback wake(abort, [call] {
        std::lock_guard inner(call->m);
        call->cv.notify_all();
    });
    std::unique_lock lock(call->m);
    call->cv.wait(lock, [&] { return call->done || abort.stop_requested(); });
    if (!call->done) {
        call->abandoned = true;
        return std::nullopt;
    }
    return call->result;
}

LParam QtEventLoop::sendMessage(Window& w, unsigned msg, WParam wp, LParam lp,
                                std::stop_token abort) {
    if (onUiThread()) {
        return w.onMessage(msg, wp, lp);
    }
    const auto result = runAndWait(
        w, [msg, wp, lp](Window& target, const auto&) { return target.onMessage(msg, wp, lp); },
        abort);
    return result.value_or(0);
}

std::size_t QtEventLoop::sendMessages(Window& w, unsigned msg, std::span<const WParam> each,
                                      LParam lp, std::stop_token abort) {
    if (onUiThread()) {
        return EventLoop::sendMessages(w, msg, each, lp, abort);
    }
    std::vector<WParam> items(each.begin(), each.end());
    const auto handled = runAndWait(
        w,
        [msg, lp, items = std::move(items)](Window& target,
                                            const std::function<bool()>& abandoned) {
            LParam count = 0;
            for (WParam wp : items) {
                if (abandoned()) {
                    break; // a handler stopped the channel: the rest of the burst is dropped
                }
                target.onMessage(msg, wp, lp);
                ++count;
            }
            return count;
        },
        abort);
    return static_cast<std::size_t>(handled.value_or(0));
}

void QtEventLoop::runModal(Window& w) {
    if (quit_ || w.modalEnded()) {
        return;
    }
    QEventLoop nested;
    modalLoops_.emplace_back(&w, &nested);
    // An exit asked for by an earlier closing may reach this loop while the dialog is open
    // again: it goes on until the dialog has closed.
    while (!quit_ && !w.modalEnded()) {
        nested.exec();
    }
    std::erase_if(modalLoops_, [&](const auto& entry) { return entry.second == &nested; });
}

void QtEventLoop::modalEndRequested(Window& w) {
    for (auto& [window, loop] : modalLoops_) {
        if (window == &w) {
            loop->exit(0);
        }
    }
}

void QtEventLoop::postQuit() {
    quit_ = true;
    for (auto& [window, loop] : modalLoops_) {
        loop->exit(0);
    }
}

void QtEventLoop::forget(Window& w) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->first.first == &w) {
            it->second->stop();
            it->second->deleteLater();
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
    std::lock_guard lock(mutex_);
    // Nothing posted to this window from now on is queued, and what is queued is dropped; a
    // later window at the same address is adopted with a fresh generation.
    generations_.erase(&w);
}

} // namespace zentrel
