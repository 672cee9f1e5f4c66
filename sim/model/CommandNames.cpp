#include "CommandNames.h"

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
    return s == 0x0F ? "on" : s == 0xF0 ? "off" : "state " + hex2(s);
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
    switch ((f.group() << 8) | f.command()) {
    case 0x0101:
        return "device type query";
    case 0x0102:
        return "model query";
    case 0x0103:
        return "firmware version query";
    case 0x0104:
        return "input " + num(a) + " connection query";
    case 0x0105:
        return "output " + num(a) + " connection query";
    case 0x010A:
        return "IR control state query";
    case 0x010B:
        return "beep state query";
    case 0x010C:
        return "input " + num(a) + " EDID status query";
    case 0x0201:
        return "routing query of output " + num(a);
    case 0x0203:
        return "switch input " + num(a) + " to output " + num(i6);
    case 0x0301:
        return "built-in EDID " + num(a) + " on all inputs";
    case 0x0302:
        return "built-in EDID " + num(a) + " on input " + num(i6);
    case 0x0303:
        return "copy EDID of output " + num(a) + " to all inputs";
    case 0x0304:
        return "copy EDID of output " + num(a) + " to input " + num(i6);
    case 0x0306:
        return a == 0x56 ? "EDID data header, all inputs" : "EDID download request, all inputs";
    case 0x0307:
        return a == 0x56 ? "EDID data header, one input" : "EDID download request, input " + num(a);
    case 0x0308:
        return "EDID access request";
    case 0x0309:
        return "default EDID on all inputs";
    case 0x030A:
        return "default EDID on input " + num(a);
    case 0x0501:
        return "IR control " + onOff(f[4]);
    case 0x0601:
        return "beep " + onOff(f[4]);
    case 0x080B:
        return f[4] == 0xF0 ? "standby" : f[4] == 0x0F ? "power on" : "power " + hex2(a);
    case 0x080C:
        return "power state query";
    case 0x080D:
        return "reboot";
    default:
        break;
    }
    if (f.group() == 0x20) {
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
    case 0x0101:
        return "firmware Part_1 start";
    case 0x0180:
        return "firmware Part_1 preparation 1";
    case 0x0110:
        return "firmware Part_1 preparation 2";
    case 0x0201:
        return "firmware Part_2 start";
    case 0x0203:
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
    switch ((f.group() << 8) | f.command()) {
    case 0x0101:
        return "device type " + num(a);
    case 0x0102:
        return "model " + num(a) + "x" + num(b6);
    case 0x0103:
        return "firmware version " + num(a) + "." + num(b6);
    case 0x0104:
        return "input " + num(a) + yesNo(b6, " connected", " disconnected");
    case 0x0105:
        return "output " + num(a) + yesNo(b6, " connected", " disconnected");
    case 0x010A:
        return std::string("IR control ") + yesNo(b6, "on", "off");
    case 0x010B:
        return std::string("beep ") + yesNo(b6, "on", "off");
    case 0x010C:
        return "input " + num(a) + " EDID status " + hex2(b6);
    case 0x0201:
        return "output " + num(a) + " fed by input " + num(b6);
    case 0x0203:
        return ok ? "switch done, output " + num(b6) : "switch refused";
    case 0x0301:
        return ok ? "built-in EDID set on all inputs" : "built-in EDID refused";
    case 0x0302:
        return ok ? "built-in EDID set on input " + num(b6) : "built-in EDID refused";
    case 0x0303:
        return ok ? "EDID copied to all inputs" : "EDID copy refused";
    case 0x0304:
        return ok ? "EDID copied to input " + num(b6) : "EDID copy refused";
    case 0x0306:
    case 0x0307:
        if (f[7] == 1) {
            return a == 0 ? "EDID download done" : "EDID download failed";
        }
        return a == 0xAA ? "ready for EDID data" : "EDID download answer " + hex2(a);
    case 0x0308:
        return "EDID access granted";
    case 0x0309:
        return "default EDID set on all inputs";
    case 0x030A:
        return "default EDID set on input " + num(b6);
    case 0x030B:
        return "EDID switch report " + hex2(a);
    case 0x0501:
        return "IR control set";
    case 0x0601:
        return "beep set";
    case 0x080B:
        return "power set";
    case 0x080C:
        return f[4] == 0x0F ? "power is on" : "power is off (standby)";
    case 0x080D:
        return "rebooting";
    case 0x8888:
        return "standby announcement";
    default:
        break;
    }
    if (f.group() == 0x20) {
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
