#include "QtWindowHost.h"

#include "WindowWidget.h"
#include "platform/EventLoop.h"
#include "platform/Window.h"

namespace zentrel {

QtWindowHost::QtWindowHost(EventLoop& loop, UiServices& ui) : loop_(loop), ui_(ui) {
    loop_.setObserver(this);
}

QtWindowHost::~QtWindowHost() {
    if (loop_.observer() == this) {
        loop_.setObserver(nullptr);
    }
    for (auto& [window, widget] : widgets_) {
        if (widget) {
            widget->forgetWindow();
            delete widget.data();
        }
    }
}

WindowWidget* QtWindowHost::widgetFor(const Window& w) const {
    auto it = widgets_.find(&w);
    return it == widgets_.end() ? nullptr : it->second.data();
}

void QtWindowHost::windowCreated(Window& w) {
    if (widgetFor(w) == nullptr) {
        widgets_[&w] = new WindowWidget(w, *this);
    }
}

void QtWindowHost::windowChanged(Window& w) {
    if (WindowWidget* widget = widgetFor(w)) {
        widget->syncWindow();
    }
}

void QtWindowHost::controlChanged(Window& w, int id) {
    if (WindowWidget* widget = widgetFor(w)) {
        widget->syncControl(id);
    }
}

void QtWindowHost::textAppended(Window& w, int id) {
    if (WindowWidget* widget = widgetFor(w)) {
        widget->syncAppended(id);
    }
}

void QtWindowHost::windowDestroyed(Window& w) {
    auto it = widgets_.find(&w);
    if (it == widgets_.end()) {
        return;
    }
    if (it->second) {
        // The window's own parts are already gone: the widget must not reach them again. It
        // goes later, as it may be inside one of its own event handlers now.
        it->second->forgetWindow();
        it->second->hide();
        it->second->deleteLater();
    }
    widgets_.erase(it);
}

void QtWindowHost::modalStarted(Window& w) {
    if (WindowWidget* widget = widgetFor(w)) {
        widget->syncWindow();
        widget->raise();
        widget->activateWindow();
    }
}

void QtWindowHost::modalEnded(Window& w) {
    if (WindowWidget* widget = widgetFor(w)) {
        widget->syncWindow();
    }
}

} // namespace zentrel
