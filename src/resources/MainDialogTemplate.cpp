#include "ControlIds.h"
#include "DialogTemplates.h"
#include "ResourceIds.h"

namespace zentrel {

// The template is wider than the window that is shown: the window cuts itself to 600 pixels
// plus the two caption buttons, so the hidden controls on the right are never seen.
const DialogTemplate& mainDialogTemplate() {
    using K = ControlKind;
    static const DialogTemplate t{
        res::kMainDialog,
        "Zentrel",
        580,
        275,
        {
            // Caption bar, left to right.
            {ctl::kCaptionIcon, K::Icon, "", 0, 0, 12, 14, true, true, 0, res::kCaptionIcon, false,
             false, false, "Zentrel"},
            {ctl::kTitle, K::Static, "", 12, 0, 308, 14},
            {ctl::kGeneralCaption, K::Static, "General", 75, 0, 50, 14, true, true, 0, 0, false,
             false, true},
            {ctl::kEdidCaption, K::Static, "EDID", 125, 0, 50, 14, true, true, 0, 0, false, false,
             true},
            {ctl::kMatrixCaption, K::Static, "Matrix", 173, 0, 50, 14, true, true, 0, 0, false,
             false, true},
            {ctl::kFirmwareCaption, K::Static, "FW Upgrade", 223, 0, 50, 14, true, true, 0, 0,
             false, false, true},
            {ctl::kStrip, K::Static, "", 275, 0, 25, 14, true, true, 0, 0, false, false, false,
             "Caption bar"},
            {ctl::kMinimize, K::Button, "", 400, 0, 13, 14, true, true, 0, res::kMinimizeIcon,
             false, false, false, "Minimize"},
            {ctl::kClose, K::Button, "", 413, 0, 13, 14, true, true, 0, res::kCloseIcon, false,
             false, false, "Close"},
            // Tab buttons: command targets only, never shown.
            {ctl::kGeneralTab, K::Button, "General", 330, 40, 50, 14, false},
            {ctl::kEdidTab, K::Button, "Edid", 330, 56, 50, 14, false},
            {ctl::kMatrixTab, K::Button, "Matrix", 330, 72, 50, 14, false},
            {ctl::kFirmwareTab, K::Button, "FW upgrade", 330, 88, 50, 14, false},
            {ctl::kLinkButton, K::Button, "", 330, 104, 14, 14, false, true, 0, res::kLinkIcon,
             false, false, false, "Link"},
            {ctl::kHiddenButton, K::Button, "", 330, 120, 14, 14, false, true, 0, 0, false, false,
             false, "Spare button"},
            {ctl::kHiddenStatic, K::Static, "", 330, 136, 50, 10, false, true, 0, 0, false, false,
             false, "Spare label"},
            {ctl::kHiddenIcon, K::Icon, "", 330, 150, 12, 12, false, true, 0, res::kCaptionIcon,
             false, false, false, "Zentrel"},
        }};
    return t;
}

} // namespace zentrel
