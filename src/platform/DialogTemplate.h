#pragma once
// A dialog template: the controls of a window with their ids, kinds, captions and rectangles in
// dialog units. Windows build their controls from one; the Qt view renders them.
#include <string>
#include <vector>

namespace zentrel {

enum class ControlKind {
    Static,   // label; also painted caption strips
    Icon,     // static showing an icon resource
    Frame,    // static grey frame
    Button,   // push button
    CheckBox, // auto check box: toggles itself when clicked
    Radio,    // auto radio button: checks itself, unchecks its group
    GroupBox, // frame with a caption
    Edit,     // single or multi-line edit box
    ComboBox, // drop-down list
    ListView, // report-style list
    Progress, // progress bar
};

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    std::string caption;
    int x = 0, y = 0, w = 0, h = 0; // dialog units
    bool visible = true;
    bool enabled = true;
    int group = 0;              // radios sharing a non-zero group exclude each other
    int icon = 0;               // icon resource for Icon controls and icon buttons
    bool multiline = false;     // edit boxes
    bool readOnly = false;      // edit boxes
    bool centred = false;       // statics
    std::string accessibleName; // the label beside a control that has no caption
    // Where several controls show the same caption: their group or row, put before what the
    // control shows ("OUTPUT B input" + "3", "Copy EDID From:" + "Set").
    std::string accessiblePrefix;
    bool pushLike = false; // check boxes drawn as buttons that stay pressed when checked
};

struct DialogTemplate {
    int id = 0;
    std::string title;
    int width = 0, height = 0; // dialog units
    std::vector<ControlTemplate> controls;
};

} // namespace zentrel
