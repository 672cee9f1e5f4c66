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
    // Text was added at the end of control id's text (and its front perhaps cut): a view that
    // shows the text can add just the new part.
    virtual void textAppended(Window& w, int id) { controlChanged(w, id); }
    virtual void windowDestroyed(Window& w) = 0;
    // A modal loop is about to run for w / has ended.
    virtual void modalStarted(Window&) {}
    virtual void modalEnded(Window&) {}
};

} // namespace zentrel
