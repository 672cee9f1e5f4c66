#include "ControlIds.h"
#include "DialogTemplates.h"
#include "ResourceIds.h"

namespace zentrel {

const DialogTemplate& noticeDialogTemplate() {
    using K = ControlKind;
    // Only the label lies inside the 133 x 50 area; the controls of the preset role sit to
    // the right of it and are not seen while the dialog serves as the notice.
    static const DialogTemplate t{
        res::kNoticeDialog,
        "",
        133,
        50,
        {
            {ctl::kNoticeLabel, K::Static, "", 1, 17, 130, 15, true, true, 0, 0, false, false,
             true},
            {ctl::kPresetTitle, K::Static, "", 140, 2, 120, 10},
            {ctl::kPresetIcon, K::Icon, "", 262, 2, 10, 10, true, true, 0, res::kCaptionIcon},
            {1051, K::ComboBox, "", 140, 16, 60, 80},
            {1052, K::ComboBox, "", 140, 30, 60, 80},
            {1053, K::ComboBox, "", 140, 44, 60, 80},
            {1054, K::ComboBox, "", 140, 58, 60, 80},
            {1055, K::ComboBox, "", 210, 16, 60, 80},
            {1056, K::ComboBox, "", 210, 30, 60, 80},
            {1057, K::ComboBox, "", 210, 44, 60, 80},
            {1058, K::ComboBox, "", 210, 58, 60, 80},
            {1059, K::ComboBox, "", 140, 72, 60, 80},
            {ctl::kPresetName, K::Edit, "", 210, 72, 60, 12},
            {1, K::Button, "OK", 140, 90, 50, 14},
            {ctl::kPresetClose, K::Button, "", 274, 2, 10, 10, true, true, 0, res::kCloseIcon,
             false, false, false, "Close"},
        }};
    return t;
}

const DialogTemplate& progressDialogTemplate() {
    static const DialogTemplate t{res::kProgressDialog,
                                  "",
                                  66,
                                  16,
                                  {
                                      {ctl::kProgressLabel, ControlKind::Static, "", 0, 3, 64, 11,
                                       true, true, 0, 0, false, false, true},
                                  }};
    return t;
}

const DialogTemplate& configBoxDialogTemplate() {
    static const DialogTemplate t{res::kConfigBoxDialog,
                                  "",
                                  168,
                                  55,
                                  {
                                      {ctl::kConfigLabel, ControlKind::Static, "", 1, 23, 166, 9,
                                       true, true, 0, 0, false, false, true},
                                      {1, ControlKind::Button, "OK", 59, 38, 50, 14, false},
                                  }};
    return t;
}

const DialogTemplate& aboutDialogTemplate() {
    using K = ControlKind;
    static const DialogTemplate t{
        res::kAboutDialog,
        "About Zentrel",
        200,
        62,
        {
            {ctl::kAboutIcon, K::Icon, "", 10, 10, 16, 16, true, true, 0, res::kAppIcon},
            {ctl::kAboutName, K::Static, "Zentrel HDMI matrix control panel", 40, 10, 150, 10},
            {ctl::kAboutVersion, K::Static, "Version 6.26", 40, 24, 150, 10},
            {1, K::Button, "OK", 140, 42, 50, 14},
        }};
    return t;
}

} // namespace zentrel
