#pragma once
// The state of one control of a window. The behaviour reads and writes it; the view observes it.
#include "DialogTemplate.h"
#include "Geometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zentrel {

struct Control {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    std::string text;
    // Counts the changes of `text` other than additions at its end (a new text, a cut front),
    // so a view that shows the text can add just what is new while this stays the same.
    std::uint64_t textRevision = 0;
    int checked = 0; // 0 unchecked, 1 checked
    bool enabled = true;
    bool visible = true;
    Rect rect; // pixels, relative to the window's client area
    int group = 0;
    int icon = 0; // icon resource shown (Icon controls, icon buttons)
    bool multiline = false;
    bool readOnly = false;
    bool centred = false;
    bool pushLike = false; // a check box drawn as a button that stays pressed when checked
    std::string accessibleName;
    std::string accessiblePrefix; // group or row put before what the control shows
    std::string accessibleSuffix; // put after it: the name people gave what it stands for
    std::string tooltip;
    std::optional<Color> textColor;
    std::optional<Color> backColor;
    std::vector<std::string> items;                 // combo box entries
    int selection = -1;                             // combo box or list view selection, -1 for none
    std::vector<std::string> columns;               // list view column captions
    std::vector<std::vector<std::string>> rows;     // list view cells
    int rangeMin = 0, rangeMax = 100, position = 0; // progress bar
};

} // namespace zentrel
