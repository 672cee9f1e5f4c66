#pragma once
// The event model the behaviour relies on: window timers by id, posted and sent messages, modal
// loops that keep delivering everything to every window. Two backends implement it: the
// virtual clock for tests and the Qt event loop for the real program.
#include "Messages.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stop_token>

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

    // Runs w's handler now on the UI thread. From another thread it blocks until the UI thread
    // has handled the message, or until `abort` is requested (then the message is dropped and
    // 0 returned), so a thread that is being stopped can never deadlock on the UI thread.
    virtual LParam sendMessage(Window& w, unsigned msg, WParam wp, LParam lp,
                               std::stop_token abort = {}) = 0;

    // Sends msg once for each wParam of `each`, in order, as one hand-over to the UI thread, so a
    // thread that receives bytes in bursts pays one thread switch per burst rather than per byte.
    // Stops early when `abort` is requested; returns how many messages were handled.
    virtual std::size_t sendMessages(Window& w, unsigned msg, std::span<const WParam> each,
                                     LParam lp, std::stop_token abort = {}) {
        std::size_t handled = 0;
        for (WParam wp : each) {
            if (abort.stop_requested()) {
                break;
            }
            sendMessage(w, msg, wp, lp, abort);
            ++handled;
        }
        return handled;
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

    // The application's main window, the target of the serial threads' failure reports.
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
