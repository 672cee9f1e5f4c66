#pragma once
// The look the three pop-ups share: a black box with rounded corners, seen through at `alpha`,
// its one label in white.
#include "platform/Window.h"

#include <optional>

namespace zentrel {

inline void dressAsPopup(Window& popup, int label, int corner, int alpha) {
    popup.setColors(label, rgb(255, 255, 255), std::nullopt);
    popup.setCornerEllipse(corner);
    popup.setOpacity(alpha);
}

} // namespace zentrel
