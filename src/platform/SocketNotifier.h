#pragma once
// The notification bookkeeping every socket backend shares: which window hears the socket, for
// which events, and whether an FD_READ is already waiting for its recv. A read is announced once;
// the recv that takes it re-announces while data remains, so a handler that reads one piece per
// notification still drains the socket.
#include "EventLoop.h"

namespace zentrel {

class SocketNotifier {
public:
    SocketNotifier(EventLoop& loop, WParam handle) : loop_(loop), handle_(handle) {}

    WParam handle() const { return handle_; }

    // Directs the notifications of `events` to w as msg; a new target has no read announced.
    void select(Window& w, unsigned msg, int events) {
        window_ = &w;
        msg_ = msg;
        events_ = events;
        readAnnounced_ = false;
    }
    // After a close nothing more is posted.
    void silence() { window_ = nullptr; }

    // Posts `event` (with `error`) when it is among the selected events.
    void notify(int event, int error = 0) const {
        if (window_ != nullptr && (events_ & event) != 0) {
            loop_.postMessage(*window_, msg_, handle_, selectLParam(event, error));
        }
    }
    // Data arrived or remains: announce a read unless one is already waiting.
    void announceRead() {
        if (!readAnnounced_) {
            readAnnounced_ = true;
            notify(FD_READ);
        }
    }
    // A recv takes the waiting announcement.
    void readTaken() { readAnnounced_ = false; }

private:
    EventLoop& loop_;
    WParam handle_;
    Window* window_ = nullptr;
    unsigned msg_ = 0;
    int events_ = 0;
    bool readAnnounced_ = false;
};

} // namespace zentrel
