#pragma once
// The event model the behaviour relies on: window timers by id, posted and sent messages, modal
// loops that keep delivering everything to every window, descriptors watched on the UI thread.
// Two backends implement it: the virtual clock for tests and the Qt event loop for the real
// program.
#include "DescriptorWatch.h"
#include "Messages.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace zentrel {

class Window;
class WindowObserver;

class EventLoop {
public:
    virtual ~EventLoop() = default;

    // Milliseconds since the loop started.
    virtual std::int64_t nowMs() const = 0;

    // Starts or restarts the periodic timer `id` of `w`; expiries arrive as w.onTimer(id).
    virtual void setTimer(Window& w, int id, int ms) = 0;
    virtual void killTimer(Window& w, int id) = 0;
    virtual bool timerRunning(const Window& w, int id) const = 0;

    // Queues a message for w. Safe from any thread.
    virtual void postMessage(Window& w, unsigned msg, WParam wp, LParam lp) = 0;

    // Runs w's handler now. UI thread only.
    virtual LParam sendMessage(Window& w, unsigned msg, WParam wp, LParam lp) = 0;

    // Runs `ready` on the UI thread each time `fd` is ready in `direction`, while the watch lives
    // and is enabled. A read watch also fires on a hang-up or an error, which the next read
    // reports. The watch may be destroyed from inside `ready`. None on a loop without
    // descriptors (the virtual clock).
    virtual std::unique_ptr<DescriptorWatch> watch(int /*fd*/, DescriptorWatch::Direction,
                                                   std::function<void()> /*ready*/) {
        return nullptr;
    }

    // Runs a nested loop until w.endDialog() is called or the application quits.
    virtual void runModal(Window& w) = 0;
    // Window::endDialog tells the loop, so a backend that sleeps in its nested loop wakes up.
    virtual void modalEndRequested(Window&) {}

    // Ends every modal loop: the application's quit message.
    virtual void postQuit() = 0;
    virtual bool quitRequested() const = 0;

    // A window made on this loop (its constructor): from now on messages may reach it.
    virtual void adopt(Window&) {}
    // Drops everything pending for a window that is being destroyed; whatever is posted to it
    // afterwards is dropped too, until a new window is adopted at its address.
    virtual void forget(Window& w) = 0;

    // The application's main window, the target of the serial channels' failure reports.
    void setMainWindow(Window* w) { mainWindow_ = w; }
    Window* mainWindow() const { return mainWindow_; }

    // The view host that renders windows (none on the virtual clock).
    void setObserver(WindowObserver* o) { observer_ = o; }
    WindowObserver* observer() const { return observer_; }

private:
    Window* mainWindow_ = nullptr;
    WindowObserver* observer_ = nullptr;
};

} // namespace zentrel
