#pragma once
// The order in which Tab walks a window's controls: as the user reads the window, top to
// bottom and left to right, a framed group or a page at a time, whatever the controls' ids.
#include <QWidget>

#include <vector>

namespace zentrel {

// The controls of `container` (a window's widget) that can take the keyboard focus, in reading
// order, those of the pages shown inside it included at the page's place. A control inside a
// group box comes with the rest of its group. Hidden controls and hidden pages are left out;
// disabled ones are kept, so the order does not change when they are enabled.
std::vector<QWidget*> readingOrder(const QWidget& container);

} // namespace zentrel
