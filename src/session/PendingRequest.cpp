#include "PendingRequest.h"

#include "platform/Window.h"

#include <utility>

namespace zentrel {

PendingRequest::PendingRequest(Window& window, RequestTimers timers, Send send, Action onGiveUp,
                               Action onRepeat)
    : window_(window), timers_(timers), send_(std::move(send)), onGiveUp_(std::move(onGiveUp)),
      onRepeat_(std::move(onRepeat)) {}

void PendingRequest::start(const CommandFrame& frame) {
    frame_ = frame;
    send_(frame_);
    window_.setTimer(timers_.first, timers_.firstMs);
}

void PendingRequest::await(const CommandFrame& frame) {
    frame_ = frame;
    window_.setTimer(timers_.first, timers_.firstMs);
}

void PendingRequest::stop() {
    window_.killTimer(timers_.first);
    window_.killTimer(timers_.second);
}

bool PendingRequest::answered() {
    const bool was = waiting();
    stop();
    return was;
}

bool PendingRequest::waiting() const {
    return window_.timerRunning(timers_.first) || window_.timerRunning(timers_.second);
}

bool PendingRequest::onTimer(int id) {
    if (id == timers_.first) {
        window_.killTimer(id);
        send_(frame_);
        window_.setTimer(timers_.second, timers_.secondMs);
        if (onRepeat_) {
            onRepeat_();
        }
        return true;
    }
    if (id == timers_.second) {
        window_.killTimer(id);
        if (onGiveUp_) {
            onGiveUp_();
        }
        return true;
    }
    return false;
}

} // namespace zentrel
