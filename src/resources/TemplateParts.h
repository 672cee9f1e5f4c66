#pragma once
// The pieces every dialog template is written with, so a page's template reads as its layout:
// a control at its place in dialog units, then what sets it apart (hidden, disabled, announced
// by the label beside it, a hidden hexadecimal log box).
#include "platform/DialogTemplate.h"

#include <string>
#include <utility>

namespace zentrel::tpl {

inline ControlTemplate item(int id, ControlKind kind, std::string caption, int x, int y, int w,
                            int h) {
    ControlTemplate t;
    t.id = id;
    t.kind = kind;
    t.caption = std::move(caption);
    t.x = x;
    t.y = y;
    t.w = w;
    t.h = h;
    return t;
}

inline ControlTemplate hidden(ControlTemplate t) {
    t.visible = false;
    return t;
}

inline ControlTemplate disabled(ControlTemplate t) {
    t.enabled = false;
    return t;
}

// Controls without a caption of their own are announced by the label beside them.
inline ControlTemplate named(ControlTemplate t, std::string name) {
    t.accessibleName = std::move(name);
    return t;
}

// A page's send or receive log: a read-only box, filled but never shown.
inline ControlTemplate log(int id, int x, int y, int w, std::string name) {
    ControlTemplate t =
        hidden(named(item(id, ControlKind::Edit, "", x, y, w, 22), std::move(name)));
    t.multiline = true;
    t.readOnly = true;
    return t;
}

} // namespace zentrel::tpl
