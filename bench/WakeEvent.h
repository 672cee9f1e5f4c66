#pragma once
// A level-triggered wake-up for a benchmark thread that waits in poll(): signal() from any
// thread makes fd() readable until clear(). Signals before a clear() collapse into one.
namespace zentrel {

class WakeEvent {
public:
    WakeEvent();
    ~WakeEvent();
    WakeEvent(const WakeEvent&) = delete;
    WakeEvent& operator=(const WakeEvent&) = delete;

    void signal();
    void clear();
    int fd() const { return fd_; }

private:
    int fd_;
};

} // namespace zentrel
