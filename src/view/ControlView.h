#pragma once
// Widgets for the control kinds of a window, and keeping them in step with the controls.
class QWidget;

namespace zentrel {

struct Control;
class WindowWidget;

// A widget for the control, a child of the window's widget, wired to forward the user's
// clicks, choices and typing to the window.
QWidget* createControlWidget(WindowWidget& owner, const Control& c);
// Writes the control's state into its widget.
void syncControlWidget(WindowWidget& owner, QWidget& widget, const Control& c);

} // namespace zentrel
