#include "ControlIds.h"
#include "DialogTemplates.h"
#include "ResourceIds.h"

namespace zentrel {

namespace {

// A control without a caption of its own, named by the label a person sees beside it.
ControlTemplate named(ControlTemplate t, const char* name) {
    t.accessibleName = name;
    return t;
}

} // namespace

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
            {ctl::kPresetIcon, K::Icon, "", 262, 2, 10, 10, true, true, 0, res::kCaptionIcon, false,
             false, false, "Zentrel"},
            named({1051, K::ComboBox, "", 140, 16, 60, 80}, "Out1 from"),
            named({1052, K::ComboBox, "", 140, 30, 60, 80}, "Out2 from"),
            named({1053, K::ComboBox, "", 140, 44, 60, 80}, "Out3 from"),
            named({1054, K::ComboBox, "", 140, 58, 60, 80}, "Out4 from"),
            named({1055, K::ComboBox, "", 210, 16, 60, 80}, "All Outputs from"),
            named({1056, K::ComboBox, "", 210, 30, 60, 80}, "Out5 from"),
            named({1057, K::ComboBox, "", 210, 44, 60, 80}, "Out6 from"),
            named({1058, K::ComboBox, "", 210, 58, 60, 80}, "Out7 from"),
            named({1059, K::ComboBox, "", 140, 72, 60, 80}, "Out8 from"),
            named({ctl::kPresetName, K::Edit, "", 210, 72, 60, 12}, "Setting name"),
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
            named({ctl::kAboutIcon, K::Icon, "", 10, 10, 16, 16, true, true, 0, res::kAppIcon},
                  "Zentrel"),
            {ctl::kAboutName, K::Static, "Zentrel HDMI matrix control panel", 40, 10, 150, 10},
            {ctl::kAboutVersion, K::Static, "Version 6.26", 40, 24, 150, 10},
            {1, K::Button, "OK", 140, 42, 50, 14},
        }};
    return t;
}

} // namespace zentrel
