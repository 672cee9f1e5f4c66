#include "QtEventLoop.h"

#include "QtDescriptorWatch.h"
#include "platform/Window.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace zentrel {

QtEventLoop::QtEventLoop() {
    clock_.start();
}

QtEventLoop::~QtEventLoop() {
    for (auto& [key, timer] : timers_) {
        delete timer;
    }
    // Killed timers and ended descriptor watches wait for a turn of the loop to be deleted;
    // a loop that ends outside its event loop (a test, zentrel-ctl) must not leave them behind.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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

LParam QtEventLoop::sendMessage(Window& w, unsigned msg, WParam wp, LParam lp) {
    return w.onMessage(msg, wp, lp);
}

std::unique_ptr<DescriptorWatch> QtEventLoop::watch(int fd, DescriptorWatch::Direction direction,
                                                    std::function<void()> ready) {
    return std::make_unique<QtDescriptorWatch>(fd, direction, std::move(ready));
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
