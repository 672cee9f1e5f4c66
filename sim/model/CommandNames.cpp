#include "CommandNames.h"

#include "protocol/Commands.h"

#include <cstdio>

namespace zentrel::sim {

namespace {

std::string num(int v) {
    return std::to_string(v);
}

std::string hex2(int v) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", v & 0xFF);
    return buf;
}

std::string onOff(std::uint8_t s) {
    return s == cmd::kOn ? "on" : s == cmd::kOff ? "off" : "state " + hex2(s);
}

std::string yesNo(std::uint8_t b6, const char* yes, const char* no) {
    return b6 == 0xFF ? no : yes;
}

} // namespace

std::string CommandNames::describe(const CommandFrame& frame, Direction direction) {
    if (!frame.hasHeader()) {
        return "not a frame";
    }
    std::string name = direction == Direction::ToMatrix ? request(frame) : reply(frame);
    if (!frame.checksumOk()) {
        name += " (bad checksum)";
    }
    return name;
}

std::string CommandNames::request(const CommandFrame& f) {
    const int a = f[4];
    const int i6 = f[6];
    switch (Command::codeOf(f)) {
    case cmd::kDeviceType.code():
        return "device type query";
    case cmd::kModel.code():
        return "model query";
    case cmd::kVersion.code():
        return "firmware version query";
    case cmd::kInputStatus.code():
        return "input " + num(a) + " connection query";
    case cmd::kOutputStatus.code():
        return "output " + num(a) + " connection query";
    case cmd::kIrState.code():
        return "IR control state query";
    case cmd::kBeepState.code():
        return "beep state query";
    case cmd::kEdidStatus.code():
        return "input " + num(a) + " EDID status query";
    case cmd::kRouting.code():
        return "routing query of output " + num(a);
    case cmd::kSwitch.code():
        return "switch input " + num(a) + " to output " + num(i6);
    case cmd::kEdidBuiltInAll.code():
        return "built-in EDID " + num(a) + " on all inputs";
    case cmd::kEdidBuiltIn.code():
        return "built-in EDID " + num(a) + " on input " + num(i6);
    case cmd::kEdidCopyAll.code():
        return "copy EDID of output " + num(a) + " to all inputs";
    case cmd::kEdidCopy.code():
        return "copy EDID of output " + num(a) + " to input " + num(i6);
    case cmd::kEdidDownloadAll.code():
        return a == cmd::kEdidDataMark ? "EDID data header, all inputs"
                                       : "EDID download request, all inputs";
    case cmd::kEdidDownload.code():
        return a == cmd::kEdidDataMark ? "EDID data header, one input"
                                       : "EDID download request, input " + num(a);
    case cmd::kEdidAccess.code():
        return "EDID access request";
    case cmd::kEdidDefaultAll.code():
        return "default EDID on all inputs";
    case cmd::kEdidDefault.code():
        return "default EDID on input " + num(a);
    case cmd::kIrControl.code():
        return "IR control " + onOff(f[4]);
    case cmd::kBeep.code():
        return "beep " + onOff(f[4]);
    case cmd::kPower.code():
        return f[4] == cmd::kOff ? "standby" : f[4] == cmd::kOn ? "power on" : "power " + hex2(a);
    case cmd::kPowerState.code():
        return "power state query";
    case cmd::kReboot.code():
        return "reboot";
    default:
        break;
    }
    if (f.group() == cmd::kFirmwareGroup) {
        return firmwareRequest(f);
    }
    return "unknown command " + hex2(f.group()) + " " + hex2(f.command());
}

std::string CommandNames::firmwareRequest(const CommandFrame& f) {
    const std::string part = "part " + num(f.command());
    if (f[4] == 0xAA && f[7] == 1 && f[8] == 1) {
        return "firmware block header, " + part + ", id " + hex2(f[10]) +
               (f[9] == 0xB0 ? " (bank mark B0)" : "");
    }
    if (f[4] == 0x56 && f[6] == 0xFE) {
        return "firmware last-block header, " + part + ", id " + hex2(f[10]);
    }
    switch ((f.command() << 8) | f[4]) {
    case cmd::kDeviceType.code():
        return "firmware Part_1 start";
    case 0x0180:
        return "firmware Part_1 preparation 1";
    case 0x0110:
        return "firmware Part_1 preparation 2";
    case cmd::kRouting.code():
        return "firmware Part_2 start";
    case cmd::kSwitch.code():
        return "firmware Part 3 start";
    case 0x0401:
        return "firmware Part 4 start";
    default:
        return "firmware command " + hex2(f.command()) + " " + hex2(f[4]);
    }
}

std::string CommandNames::reply(const CommandFrame& f) {
    const int a = f[4];
    const std::uint8_t b6 = f[6];
    const bool ok = f[4] == 0;
    switch (Command::codeOf(f)) {
    case cmd::kDeviceType.code():
        return "device type " + num(a);
    case cmd::kModel.code():
        return "model " + num(a) + "x" + num(b6);
    case cmd::kVersion.code():
        return "firmware version " + num(a) + "." + num(b6);
    case cmd::kInputStatus.code():
        return "input " + num(a) + yesNo(b6, " connected", " disconnected");
    case cmd::kOutputStatus.code():
        return "output " + num(a) + yesNo(b6, " connected", " disconnected");
    case cmd::kIrState.code():
        return std::string("IR control ") + yesNo(b6, "on", "off");
    case cmd::kBeepState.code():
        return std::string("beep ") + yesNo(b6, "on", "off");
    case cmd::kEdidStatus.code():
        return "input " + num(a) + " EDID status " + hex2(b6);
    case cmd::kRouting.code():
        return "output " + num(a) + " fed by input " + num(b6);
    case cmd::kSwitch.code():
        return ok ? "switch done, output " + num(b6) : "switch refused";
    case cmd::kEdidBuiltInAll.code():
        return ok ? "built-in EDID set on all inputs" : "built-in EDID refused";
    case cmd::kEdidBuiltIn.code():
        return ok ? "built-in EDID set on input " + num(b6) : "built-in EDID refused";
    case cmd::kEdidCopyAll.code():
        return ok ? "EDID copied to all inputs" : "EDID copy refused";
    case cmd::kEdidCopy.code():
        return ok ? "EDID copied to input " + num(b6) : "EDID copy refused";
    case cmd::kEdidDownloadAll.code():
    case cmd::kEdidDownload.code():
        if (f[7] == 1) {
            return a == 0 ? "EDID download done" : "EDID download failed";
        }
        return a == 0xAA ? "ready for EDID data" : "EDID download answer " + hex2(a);
    case cmd::kEdidAccess.code():
        return "EDID access granted";
    case cmd::kEdidDefaultAll.code():
        return "default EDID set on all inputs";
    case cmd::kEdidDefault.code():
        return "default EDID set on input " + num(b6);
    case cmd::kEdidSwitchReport.code():
        return "EDID switch report " + hex2(a);
    case cmd::kIrControl.code():
        return "IR control set";
    case cmd::kBeep.code():
        return "beep set";
    case cmd::kPower.code():
        return "power set";
    case cmd::kPowerState.code():
        return f[4] == cmd::kOn ? "power is on" : "power is off (standby)";
    case cmd::kReboot.code():
        return "rebooting";
    case cmd::kStandby.code():
        return "standby announcement";
    default:
        break;
    }
    if (f.group() == cmd::kFirmwareGroup) {
        return firmwareReply(f);
    }
    return "unknown reply " + hex2(f.group()) + " " + hex2(f.command());
}

std::string CommandNames::firmwareReply(const CommandFrame& f) {
    const std::string part = "part " + num(f.command());
    switch (f[4]) {
    case 0xAA:
        return "firmware " + part + " ready";
    case 0xFE:
        return "firmware part 3 ready";
    case 0x44:
        return "firmware " + part + " write failed";
    case 0x00:
        if (f[7] == 1 && f[8] == 1) {
            return "firmware block " + hex2(f[10]) + " acknowledged, " + part +
                   (f[9] == 0xB0 ? " (bank mark B0)" : "");
        }
        if (f[6] == 0xFE && f[8] == 1) {
            return "firmware " + part + " complete";
        }
        return "firmware preparation acknowledged";
    default:
        return "firmware answer " + hex2(f[4]);
    }
}

} // namespace zentrel::sim
