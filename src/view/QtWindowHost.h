#pragma once
// The Qt view of every Window: one widget per window, built from the window's controls, kept in
// step with every change, and forwarding what the user does back to the window. It knows no
// window in particular; skinned windows tell it more through WindowSkin.
#include "platform/WindowObserver.h"

#include <QPointer>

#include <map>

namespace zentrel {

class EventLoop;
class UiServices;
class Window;
class WindowWidget;

class QtWindowHost : public WindowObserver {
public:
    // Installs itself as the loop's observer; windows created from now on are shown.
    QtWindowHost(EventLoop& loop, UiServices& ui);
    ~QtWindowHost() override;
    QtWindowHost(const QtWindowHost&) = delete;
    QtWindowHost& operator=(const QtWindowHost&) = delete;

    WindowWidget* widgetFor(const Window& w) const;
    UiServices& ui() const { return ui_; }

    void windowCreated(Window& w) override;
    void windowChanged(Window& w) override;
    void controlChanged(Window& w, int id) override;
    void textAppended(Window& w, int id) override;
    void windowDestroyed(Window& w) override;
    void modalStarted(Window& w) override;
    void modalEnded(Window& w) override;

private:
    EventLoop& loop_;
    UiServices& ui_;
    std::map<const Window*, QPointer<WindowWidget>> widgets_;
};

} // namespace zentrel
