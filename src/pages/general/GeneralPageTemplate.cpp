#include "GeneralPageTemplate.h"

#include "resources/TemplateParts.h"

#include "GeneralIds.h"

#include <string>
#include <utility>

namespace zentrel {

namespace {

using K = ControlKind;
using namespace tpl;

constexpr int kPageTemplateId = 145;

// A port line: centred in its half of the blue panel, clear of the panel's edges.
ControlTemplate portLine(int id, int x, int y, int w, std::string name) {
    ControlTemplate t = named(item(id, K::Static, "", x, y, w, 13), std::move(name));
    t.centred = true;
    return t;
}

ControlTemplate radio(int id, std::string caption, int x, int y) {
    ControlTemplate t = item(id, K::Radio, std::move(caption), x, y, 110, 11);
    t.group = 1;
    return t;
}

ControlTemplate icon(int id, int x, int y, std::string name) {
    ControlTemplate t = item(id, K::Icon, "", x, y, 12, 12);
    t.icon = gen::kIconDisconnected;
    t.accessibleName = std::move(name);
    return t;
}

std::string portName(const char* kind, int k) {
    return std::string(kind) + " " + std::to_string(k);
}

DialogTemplate build() {
    DialogTemplate t = page(kPageTemplateId, "General");
    auto& c = t.controls;

    // Left column: the connection panel.
    c.push_back(item(gen::kModeGroup, K::GroupBox, "Control Mode Select", 5, 4, 140, 44));
    c.push_back(radio(gen::kComRadio, "COM Control Mode", 15, 17));
    c.push_back(radio(gen::kTcpRadio, "TCP Control Mode", 15, 31));

    c.push_back(item(gen::kComGroup, K::GroupBox, "COM Control Mode", 5, 54, 140, 44));
    c.push_back(item(gen::kPortLabel, K::Static, "Port", 13, 72, 18, 10));
    c.push_back(named(item(gen::kPortCombo, K::ComboBox, "", 32, 70, 52, 100), "Port"));
    c.push_back(icon(gen::kComIcon, 87, 70, "COM link state"));
    c.push_back(item(gen::kComConnect, K::Button, gen::kConnect, 101, 69, 40, 14));

    c.push_back(disabled(item(gen::kTcpGroup, K::GroupBox, "TCP Control Mode", 5, 104, 140, 78)));
    c.push_back(disabled(item(gen::kIpLabel, K::Static, "Matrix  IP", 13, 122, 36, 10)));
    c.push_back(
        disabled(named(item(gen::kIpCombo, K::ComboBox, "", 50, 120, 90, 100), "Matrix  IP")));
    c.push_back(disabled(item(gen::kSearch, K::Button, "Search", 13, 140, 40, 14)));
    c.push_back(disabled(item(gen::kConfig, K::Button, "Config...", 57, 140, 40, 14)));
    c.push_back(icon(gen::kTcpIcon, 87, 162, "TCP link state"));
    c.push_back(disabled(item(gen::kTcpConnect, K::Button, gen::kConnect, 101, 161, 40, 14)));
    c.push_back(hidden(item(gen::kClosePage, K::Button, "", 0, 0, 1, 1)));

    // Right column: what the matrix reports about itself.
    c.push_back(item(gen::kDeviceGroup, K::GroupBox, "Device Information", 151, 4, 169, 178));
    c.push_back(item(gen::kStatus, K::Button, "Status", 159, 18, 44, 14));
    c.push_back(item(gen::kClear, K::Button, "Clear", 207, 18, 44, 14));
    c.push_back(hidden(item(gen::kStatusRadio, K::Radio, "Status", 255, 20, 40, 10)));
    c.push_back(hidden(item(gen::kHiddenEdit, K::Edit, "", 300, 20, 10, 10)));
    c.push_back(
        named(item(gen::kDeviceLine, K::Static, gen::kNotKnown, 159, 38, 155, 10), "Device"));
    c.push_back(
        named(item(gen::kVersionLine, K::Static, gen::kNotKnown, 159, 50, 155, 10), "Version"));
    c.push_back(item(gen::kPortPanel, K::Static, "", 159, 64, 155, 4));
    for (int k = 1; k <= ops::kMaxPorts; ++k) {
        const int y = 68 + 13 * (k - 1);
        c.push_back(portLine(gen::inputLine(k), 159, y, 78, portName("Input", k)));
        c.push_back(portLine(gen::outputLine(k), 237, y, 77, portName("Output", k)));
    }

    // Bottom: the maintenance commands.
    c.push_back(item(gen::kMaintenanceGroup, K::GroupBox, "", 5, 188, 315, 32));
    c.push_back(item(gen::kFactoryReset, K::Button, "Factory Reset", 15, 197, 60, 16));
    c.push_back(item(gen::kReboot, K::Button, "Reboot", 83, 197, 50, 16));
    c.push_back(item(gen::kBeep, K::CheckBox, "Enable Beep ", 145, 199, 60, 12));
    c.push_back(item(gen::kPower, K::CheckBox, "Power On", 213, 199, 50, 12));
    c.push_back(hidden(item(gen::kIrControl, K::CheckBox, "Enable IR Control", 265, 199, 50, 12)));

    // The hexadecimal logs: filled, never shown.
    tpl::addHiddenLogs(
        c, {gen::kReceiveFrame, gen::kReceiveLog, gen::kSendFrame, gen::kSendLog, gen::kLogClear},
        5, 165, 224, 155, 224);
    return t;
}

} // namespace

const DialogTemplate& generalPageTemplate() {
    static const DialogTemplate t = build();
    return t;
}

} // namespace zentrel
