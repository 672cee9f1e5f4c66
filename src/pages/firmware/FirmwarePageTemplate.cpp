#include "FirmwarePageTemplate.h"

#include "resources/TemplateParts.h"

#include "FirmwareIds.h"
#include "resources/ResourceIds.h"

#include <string>
#include <utility>

namespace zentrel {

namespace {

using K = ControlKind;
using namespace tpl;

ControlTemplate edit(int id, int x, int y, int w, int h, bool multiline, std::string name) {
    ControlTemplate t = named(item(id, K::Edit, "", x, y, w, h), std::move(name));
    t.multiline = multiline;
    t.readOnly = true;
    return t;
}

DialogTemplate build() {
    DialogTemplate t = page(res::kFirmwarePage, "FW Upgrade");
    auto& c = t.controls;

    // The file and the upgrade.
    c.push_back(item(fw::kFileGroup, K::GroupBox, "Firmware File", 5, 4, 315, 58));
    c.push_back(edit(fw::kPath, 13, 18, 262, 14, false, "Firmware file path"));
    // The picture button: its picture is the "..." of a file chooser, its name says what it does.
    c.push_back(named(item(fw::kOpen, K::Button, "...", 281, 17, 32, 16), fw::kOpenName));
    c.push_back(item(fw::kUpgrade, K::Button, "Upgrade", 13, 38, 60, 16));
    c.push_back(named(item(fw::kProgress, K::Progress, "", 81, 40, 232, 12), "Upgrade progress"));

    // What the upgrade reports, line by line.
    c.push_back(item(fw::kMessagesGroup, K::GroupBox, "Messages", 5, 66, 315, 140));
    c.push_back(edit(fw::kMessages, 13, 78, 300, 106, true, "Messages"));
    c.push_back(item(fw::kClear, K::Button, "Clear", 263, 187, 50, 14));

    // The device and its firmware version, filled when the tab is chosen.
    c.push_back(item(fw::kDeviceLine, K::Static, "", 8, 212, 312, 10));

    // The hexadecimal logs: filled, never shown.
    c.push_back(hidden(item(fw::kReceiveFrame, K::GroupBox, "接收命令", 5, 226, 155, 32)));
    c.push_back(hidden(edit(fw::kReceiveLog, 9, 236, 147, 20, true, "Received frames")));
    c.push_back(hidden(item(fw::kSendFrame, K::GroupBox, "发送命令", 165, 226, 155, 32)));
    c.push_back(hidden(edit(fw::kSendLog, 169, 236, 147, 20, true, "Sent frames")));
    c.push_back(hidden(item(fw::kLogClear, K::Button, "Clear", 290, 226, 30, 10)));

    // The merge area: in the template, hidden when the page opens.
    c.push_back(item(fw::kMergeGroup, K::GroupBox, "Merge FW", 330, 4, 200, 200));
    for (int id : fw::kMergeArea) {
        if (id != fw::kMergeGroup) {
            c.push_back(item(id, K::Static, "", 340, 20, 10, 10));
        }
    }
    return t;
}

} // namespace

const DialogTemplate& firmwarePageTemplate() {
    static const DialogTemplate t = build();
    return t;
}

} // namespace zentrel
