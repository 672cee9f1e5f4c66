#include "EdidPageTemplate.h"

#include "resources/TemplateParts.h"

#include "EdidIds.h"
#include "resources/ResourceIds.h"
#include "state/MatrixSize.h"

#include <string>
#include <utility>

namespace zentrel {

namespace {

using K = ControlKind;
using namespace tpl;

// The template is laid out for eight inputs: its list frames reach 75 units (150 pixels) past the
// page's edge and the Status button sits out there, until the page's opening lays the list out for
// the unit.
constexpr int kCut = edid::kCutPixels / 2;

// Controls that share a caption carry their row first ("Copy EDID From: Set").
ControlTemplate inRow(ControlTemplate t, std::string row) {
    t.accessiblePrefix = std::move(row);
    return t;
}

ControlTemplate combo(int id, int x, int y, int w, std::string name) {
    return named(item(id, K::ComboBox, "", x, y, w, 120), std::move(name));
}

std::string inputName(int k) {
    return "IN" + std::to_string(k) + ":";
}

DialogTemplate build() {
    DialogTemplate t = page(res::kEdidPage, "EDID");
    auto& c = t.controls;

    // "Manual Mode": one row per way of giving the inputs an EDID.
    c.push_back(item(edid::kManualGroup, K::GroupBox, "Manual Mode", 5, 4, 315, 82));

    c.push_back(item(edid::kModeLabel, K::Static, "Set EDID Mode", 13, 21, 62, 10));
    c.push_back(combo(edid::kModeChoice, 76, 19, 112, "Set EDID Mode"));
    c.push_back(item(edid::kModeTo, K::Static, "to", 193, 21, 10, 10));
    c.push_back(combo(edid::kModeTarget, 206, 19, 58, "Set EDID Mode to"));
    c.push_back(inRow(item(edid::kModeSet, K::Button, "Set", 272, 18, 40, 14), "Set EDID Mode:"));

    c.push_back(item(edid::kCopyLabel, K::Static, "Copy EDID From", 13, 43, 62, 10));
    c.push_back(combo(edid::kCopySource, 76, 41, 112, "Copy EDID From"));
    c.push_back(item(edid::kCopyTo, K::Static, "to", 193, 43, 10, 10));
    c.push_back(combo(edid::kCopyTarget, 206, 41, 58, "Copy EDID to"));
    c.push_back(inRow(item(edid::kCopySet, K::Button, "Set", 272, 40, 40, 14), "Copy EDID From:"));

    c.push_back(item(edid::kFileLabel, K::Static, "Open EDID ", 13, 65, 40, 10));
    ControlTemplate open =
        named(item(edid::kOpenFile, K::Button, "", 54, 62, 18, 15), "Open EDID file");
    open.icon = res::kOpenFileIcon;
    c.push_back(open);
    ControlTemplate path = named(item(edid::kFilePath, K::Edit, "", 76, 63, 112, 13), "EDID file");
    path.readOnly = true;
    c.push_back(path);
    c.push_back(item(edid::kFileTo, K::Static, "to", 193, 65, 10, 10));
    c.push_back(combo(edid::kDownloadTarget, 206, 63, 58, "Open EDID to"));
    c.push_back(inRow(item(edid::kDownloadSet, K::Button, "Set", 272, 62, 40, 14), "Open EDID:"));

    // "Input EDID List": inputs 1..4 on the left, 5..8 right of the separator.
    c.push_back(item(edid::kListGroup, K::GroupBox, "Input EDID List", 5, 92, 315 + kCut, 98));
    c.push_back(item(edid::kListLine, K::Frame, "", 13, 106, 299 + kCut, 1));
    for (int k = 1; k <= edid::kTemplatePorts; ++k) {
        const bool left = k <= MatrixSize::kSmall;
        const int x = left ? 13 : 13 + 150;
        const int y = 113 + 17 * ((k - 1) % MatrixSize::kSmall);
        c.push_back(item(edid::inputLabel(k), K::Static, inputName(k), x, y, 20, 10));
        c.push_back(
            inRow(item(edid::statusLine(k), K::Static, edid::kDefaultEdidText, x + 22, y, 118, 10),
                  inputName(k)));
    }
    c.push_back(item(edid::kSeparator, K::Frame, "", 158, 110, 1, 66));
    c.push_back(item(edid::kStatus, K::Button, "Status", 264 + kCut, 170, 48, 14));

    // Below the list: what the EDID file chosen says, once there is one.
    c.push_back(hidden(item(edid::kFileSummary, K::Static, "", 13, 196, 248, 22)));
    c.push_back(
        hidden(item(edid::kFileDetails, K::Button, edid::kDetailsButton, 264, 197, 48, 14)));

    // The hexadecimal logs: filled, never shown.
    tpl::addHiddenLogs(
        c,
        {edid::kReceiveFrame, edid::kReceiveLog, edid::kSendFrame, edid::kSendLog, edid::kLogClear},
        5, 165, 196, 155, 196);
    return t;
}

} // namespace

const DialogTemplate& edidPageTemplate() {
    static const DialogTemplate t = build();
    return t;
}

} // namespace zentrel
