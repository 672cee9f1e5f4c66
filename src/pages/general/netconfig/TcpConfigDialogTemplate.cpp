#include "TcpConfigDialogTemplate.h"

#include "resources/TemplateParts.h"

#include "TcpConfigIds.h"
#include "resources/ResourceIds.h"

#include <string>
#include <utility>

namespace zentrel {

namespace {

using K = ControlKind;
using namespace tpl;

ControlTemplate field(int id, int x, int y, int w, std::string name) {
    ControlTemplate t = item(id, K::Edit, "", x, y, w, 12);
    t.accessibleName = std::move(name);
    return t;
}

ControlTemplate separator(int id, const char* text, int x, int y) {
    ControlTemplate t = item(id, K::Static, text, x, y, 4, 10);
    t.centred = true;
    return t;
}

DialogTemplate build() {
    DialogTemplate t{nc::kTemplateId, nc::kTitleText, 188, 167, {}};
    auto& c = t.controls;
    c.push_back(item(nc::kTitle, K::Static, nc::kTitleText, 0, 0, 177, 12));
    ControlTemplate close = item(nc::kClose, K::Button, "", 177, 0, 11, 12);
    close.icon = res::kCloseIcon;
    close.accessibleName = "Close";
    c.push_back(close);

    c.push_back(item(nc::kGroup, K::GroupBox, "Device Information", 8, 20, 172, 104));
    ControlTemplate autoIp = item(nc::kAutoIp, K::Radio, "Auto IP", 24, 36, 60, 10);
    autoIp.group = 1;
    c.push_back(autoIp);
    ControlTemplate staticIp = item(nc::kStaticIp, K::Radio, "Static IP", 100, 36, 60, 10);
    staticIp.group = 1;
    c.push_back(staticIp);

    c.push_back(item(nc::kIpLabel, K::Static, "IP Address", 16, 62, 40, 10));
    for (int k = 1; k <= nc::kOctets; ++k) {
        const int x = 60 + 28 * (k - 1);
        c.push_back(field(nc::octet(k), x, 60, 22, "IP address octet " + std::to_string(k)));
        if (k < nc::kOctets) {
            c.push_back(separator(nc::kFirstDot + k - 1, ".", x + 23, 62));
        }
    }
    c.push_back(item(nc::kMacLabel, K::Static, "MAC", 16, 92, 40, 10));
    for (int k = 1; k <= nc::kMacBytes; ++k) {
        const int x = 60 + 19 * (k - 1);
        c.push_back(field(nc::macByte(k), x, 90, 15, "MAC byte " + std::to_string(k)));
        if (k < nc::kMacBytes) {
            c.push_back(separator(nc::kFirstDash + k - 1, "-", x + 15, 92));
        }
    }

    c.push_back(item(nc::kOk, K::Button, "OK", 30, 138, 50, 16));
    c.push_back(item(nc::kCancel, K::Button, "Cancel", 108, 138, 50, 16));

    // The receive log lies beyond the dialog's edge and the spare static is never shown.
    ControlTemplate log = item(nc::kReceiveLog, K::Edit, "", 200, 0, 120, 60);
    log.multiline = true;
    log.readOnly = true;
    log.visible = false;
    log.accessibleName = "Received configuration bytes";
    c.push_back(log);
    ControlTemplate unused = item(nc::kUnused, K::Static, "", 0, 160, 10, 6);
    unused.visible = false;
    c.push_back(unused);
    return t;
}

} // namespace

const DialogTemplate& tcpConfigDialogTemplate() {
    static const DialogTemplate t = build();
    return t;
}

} // namespace zentrel
