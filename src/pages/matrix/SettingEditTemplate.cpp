#include "SettingEditTemplate.h"

#include "resources/TemplateParts.h"

#include "MatrixIds.h"
#include "resources/ResourceIds.h"

#include <string>
#include <utility>

namespace zentrel {

namespace {

using K = ControlKind;
using namespace tpl;

constexpr int kWidth = 200;
constexpr int kHeight = 148;
constexpr int kFirstLabel = 9420; // the captions beside the fields, which nothing refers to

// A field with its caption beside it; the field is announced by that caption.
void field(DialogTemplate& t, int& labelId, int id, K kind, const std::string& caption, int x,
           int y, int labelW, int w) {
    t.controls.push_back(item(labelId++, K::Static, caption, x, y + 2, labelW, 10));
    ControlTemplate f = item(id, kind, "", x + labelW + 2, y, w, kind == K::ComboBox ? 120 : 12);
    f.accessibleName = caption;
    t.controls.push_back(f);
}

DialogTemplate build() {
    DialogTemplate t{res::kNoticeDialog, "", kWidth, kHeight, {}};
    int labelId = kFirstLabel;
    ControlTemplate message = item(mtx::kEditMessage, K::Static, "", 4, 3, 178, 10);
    message.centred = true;
    t.controls.push_back(message);
    ControlTemplate close = item(mtx::kEditClose, K::Button, "", 186, 2, 10, 10);
    close.icon = res::kCloseIcon;
    close.accessibleName = "Close";
    t.controls.push_back(close);

    field(t, labelId, mtx::kEditName, K::Edit, "Setting name", 8, 18, 50, 128);
    for (int n = 1; n <= ops::kOutputs; ++n) {
        const int x = n <= 4 ? 8 : 104;
        const int y = 38 + 16 * ((n - 1) % 4);
        field(t, labelId, mtx::outFrom(n), K::ComboBox, "Out" + std::to_string(n) + " from", x, y,
              38, 46);
    }
    field(t, labelId, mtx::kAllOutputsFrom, K::ComboBox, "All Outputs from", 8, 106, 62, 70);
    t.controls.push_back(item(mtx::kEditOk, K::Button, "OK", 48, 128, 46, 14));
    t.controls.push_back(item(mtx::kEditCancel, K::Button, "Cancel", 106, 128, 46, 14));
    return t;
}

} // namespace

const DialogTemplate& settingEditTemplate() {
    static const DialogTemplate t = build();
    return t;
}

} // namespace zentrel
