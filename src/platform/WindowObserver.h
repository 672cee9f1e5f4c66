#pragma once
// What a view learns about windows: creation, changes of a control or of the window, destruction.
namespace zentrel {

class Window;

class WindowObserver {
public:
    virtual ~WindowObserver() = default;
    virtual void windowCreated(Window& w) = 0;
    virtual void windowChanged(Window& w) = 0;
    virtual void controlChanged(Window& w, int id) = 0;
    virtual void windowDestroyed(Window& w) = 0;
    // A modal loop is about to run for w / has ended.
    virtual void modalStarted(Window&) {}
    virtual void modalEnded(Window&) {}
};

} // namespace zentrel
