#pragma once
// The pieces every dialog template is written with, so a page's template reads as its layout:
// a control at its place in dialog units, then what sets it apart (hidden, disabled, announced
// by the label beside it, a hidden hexadecimal log box).
#include "platform/DialogTemplate.h"

#include <string>
#include <utility>
#include <vector>

namespace zentrel::tpl {

// A page fills the main window below the caption bar: 325 x 260 dialog units.
constexpr int kPageWidth = 325;
constexpr int kPageHeight = 260;
inline DialogTemplate page(int id, std::string title) {
    return DialogTemplate{id, std::move(title), kPageWidth, kPageHeight, {}};
}

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

// The controls of a page's two hexadecimal logs, all hidden.
struct LogIds {
    int receiveFrame, receiveLog, sendFrame, sendLog, clear;
};

// The receive and send logs side by side in their frames, at height `y`, each frame `w` wide
// with its box inset by 4; the Clear button at (290, `clearY`).
inline void addHiddenLogs(std::vector<ControlTemplate>& c, const LogIds& ids, int receiveX,
                          int sendX, int y, int w, int clearY) {
    c.push_back(
        hidden(item(ids.receiveFrame, ControlKind::GroupBox, "接收命令", receiveX, y, w, 34)));
    c.push_back(log(ids.receiveLog, receiveX + 4, y + 10, w - 8, "Received frames"));
    c.push_back(hidden(item(ids.sendFrame, ControlKind::GroupBox, "发送命令", sendX, y, w, 34)));
    c.push_back(log(ids.sendLog, sendX + 4, y + 10, w - 8, "Sent frames"));
    c.push_back(hidden(item(ids.clear, ControlKind::Button, "Clear", 290, clearY, 30, 10)));
}

} // namespace zentrel::tpl
