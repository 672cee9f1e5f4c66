#pragma once
// After a part's completion the matrix restarts: it is asked for its device type every 3 s
// (timers 4..10), and when timer 11 expires without a start-up report the upgrade gives up.
#include <functional>

namespace zentrel {

class Window;

class RebootWait {
public:
    RebootWait(Window& window, std::function<void()> poll, std::function<void()> giveUp)
        : window_(window), poll_(std::move(poll)), giveUp_(std::move(giveUp)) {}

    // The first poll goes out now.
    void start();
    // The report came, or the upgrade ended: no poll follows.
    void stop();
    // Only this wait expects the matrix to start again; a start-up report at any other time
    // means it reset in the middle of a part.
    bool awaiting() const { return awaiting_; }
    bool onTimer(int id);

private:
    Window& window_;
    std::function<void()> poll_;
    std::function<void()> giveUp_;
    bool awaiting_ = false;
};

} // namespace zentrel
