#include "FrameMeaning.h"

#include "Replies.h"
#include "Requests.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace zentrel {

namespace {

std::string num(int v) {
    return std::to_string(v);
}

std::string hex2(int v) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", v & 0xFF);
    return text;
}

std::string input(int k) {
    return "input " + num(k);
}

// Outputs are lettered on the unit: output 1 is A.
std::string output(int k) {
    return k >= 1 && k <= 8 ? std::string("output ") + static_cast<char>('A' + k - 1)
                            : "output " + num(k);
}

std::string countOf(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " byte" : " bytes");
}

std::string part(int p) {
    return "Part_" + num(p);
}

std::string onOff(bool on) {
    return on ? "on" : "off";
}

std::string setting(const char* what, Command c, const CommandFrame& f) {
    const request::Setting s = *request::setting(c, f);
    return std::string(what) + (s.valid() ? " " + onOff(s.on()) : " set to " + hex2(s.value));
}

std::string firmwareRequest(const CommandFrame& f) {
    if (const auto h = request::firmwareBlockHeader(f)) {
        return (h->last ? "last firmware block " : "firmware block ") + num(h->blockId()) + " of " +
               part(h->part);
    }
    const request::FirmwareFrame s = *request::firmwareFrame(f);
    switch (s.arg) {
    case cmd::kFirmwareStart:
        return "start " + part(s.part);
    case cmd::kFirmwarePart3Start:
        return "start " + part(3);
    case cmd::kFirmwarePrepare1:
        return "prepare " + part(s.part) + ", step 1";
    case cmd::kFirmwarePrepare2:
        return "prepare " + part(s.part) + ", step 2";
    default:
        return part(s.part) + " command " + hex2(s.arg);
    }
}

std::string requestWords(const CommandFrame& f) {
    using namespace cmd;
    const auto portOf = [&](Command c) { return *request::port(c, f); };
    switch (Command::codeOf(f)) {
    case kDeviceType.code():
        return "ask the device type";
    case kModel.code():
        return "ask the model";
    case kVersion.code():
        return "ask the firmware version";
    case kInputStatus.code():
        return "ask whether " + input(portOf(kInputStatus)) + " is connected";
    case kOutputStatus.code():
        return "ask whether " + output(portOf(kOutputStatus)) + " is connected";
    case kIrState.code():
        return "ask the IR control state";
    case kBeepState.code():
        return "ask the beep state";
    case kEdidStatus.code():
        return "ask the EDID of " + input(portOf(kEdidStatus));
    case kRouting.code():
        return "ask which input " + output(portOf(kRouting)) + " shows";
    case kSwitch.code(): {
        const request::Route r = *request::route(f);
        return "route " + input(r.input) + " to " + output(r.output);
    }
    case kEdidBuiltInAll.code():
    case kEdidBuiltIn.code():
    case kEdidCopyAll.code():
    case kEdidCopy.code(): {
        const Command c{f.group(), f.command()};
        const request::EdidChange e = *request::edidChange(c, f);
        const std::string to = e.input == 0 ? "all inputs" : input(e.input);
        const bool builtIn = c == kEdidBuiltInAll || c == kEdidBuiltIn;
        return builtIn ? "built-in EDID " + num(e.source) + " to " + to
                       : "copy the EDID of " + output(e.source) + " to " + to;
    }
    case kEdidDownloadAll.code():
    case kEdidDownload.code(): {
        const request::EdidDownload d = *request::edidDownload(f);
        const std::string to = d.allInputs    ? "all inputs"
                               : d.dataHeader ? "the input"
                                              : input(d.input);
        return d.dataHeader ? "EDID data for " + to + " follows" : "download an EDID to " + to;
    }
    case kEdidAccess.code():
        return "ask for EDID access";
    case kEdidDefaultAll.code():
        return "default EDID to all inputs";
    case kEdidDefault.code():
        return "default EDID to " + input(portOf(kEdidDefault));
    case kIrControl.code():
        return setting("IR control", kIrControl, f);
    case kBeep.code():
        return setting("beep", kBeep, f);
    case kPower.code():
        return setting("power", kPower, f);
    case kPowerState.code():
        return "ask the power state";
    case kReboot.code():
        return "reboot";
    default:
        break;
    }
    if (f.group() == kFirmwareGroup) {
        return firmwareRequest(f);
    }
    return "unknown command " + hex2(f.group()) + " " + hex2(f.command());
}

std::string deviceTypeName(int type) {
    switch (type) {
    case reply::kTypeHdmi:
        return "HDMI";
    case reply::kTypeHdbt:
        return "HDBT";
    case reply::kTypeHdmiHdbt:
        return "HDMI+HDBT";
    default:
        return num(type);
    }
}

std::string edidName(std::uint8_t code) {
    if (code < reply::kEdidCopyOfOutputA) {
        return "built-in EDID " + num(code + 1);
    }
    if (code < reply::kEdidUserDefined) {
        return "the EDID of " + output(code - reply::kEdidCopyOfOutputA + 1);
    }
    return "a downloaded EDID";
}

std::string firmwareReply(const CommandFrame& f) {
    using Kind = reply::FirmwareAnswer::Kind;
    const std::optional<reply::FirmwareAnswer> a = reply::firmwareAnswer(f);
    if (!a) {
        return "unknown answer of " + part(f.command());
    }
    if (a->kind == Kind::BlockAck) {
        const std::string bank = a->mark == cmd::kFirmwareBankMark ? ", first bank closed" : "";
        return "firmware block " + num(a->id) + " of " + part(a->part) + " taken" + bank;
    }
    if (a->kind == Kind::PartComplete) {
        return part(a->part) + " complete";
    }
    switch (a->status) {
    case cmd::kFirmwareReady:
        return part(a->part) + " ready";
    case cmd::kFirmwareLast:
        return part(3) + " ready";
    case cmd::kFirmwareWriteFailed:
        return part(a->part) + " write failed";
    case cmd::kFirmwareDone:
        return part(a->part) + " prepared";
    default:
        return part(a->part) + " answer " + hex2(a->status);
    }
}

std::string setAnswer(const char* what, Command c, const CommandFrame& f) {
    const reply::Answer a = *reply::answer(c, f);
    return std::string(what) + (a.done ? " done" : " refused");
}

std::string edidAnswer(Command c, const CommandFrame& f, bool oneInput) {
    const reply::Answer a = *reply::answer(c, f);
    const std::string to = oneInput ? input(a.port) : "all inputs";
    return a.done ? "EDID of " + to + " set" : "EDID change refused";
}

std::string replyWords(const CommandFrame& f) {
    using namespace cmd;
    if (const auto t = reply::deviceType(f)) {
        return "device type " + deviceTypeName(t->type);
    }
    if (const auto m = reply::modelSize(f)) {
        return "model " + num(m->inputs) + "x" + num(m->outputs);
    }
    if (const auto v = reply::version(f)) {
        return "firmware version " + num(v->major) + "." + num(v->minor);
    }
    if (const auto p = reply::portState(f)) {
        return (p->input ? input(p->port) : output(p->port)) +
               (p->connected ? ": connected" : ": disconnected");
    }
    if (const auto s = reply::irControlState(f)) {
        return "IR control: " + onOff(s->on);
    }
    if (const auto s = reply::beepState(f)) {
        return "beep: " + onOff(s->on);
    }
    if (const auto s = reply::powerState(f)) {
        return s->on ? "power: on" : "power: off (standby)";
    }
    if (const auto e = reply::edidStatus(f)) {
        return input(e->input) + ": " + edidName(e->code);
    }
    if (const auto r = reply::routing(f)) {
        return output(r->output) +
               (r->input == reply::Routing::kNoSource ? ": no input" : " shows " + input(r->input));
    }
    if (const auto s = reply::switchAck(f)) {
        return (s->ok ? "routed to " : "route refused, ") + output(s->output);
    }
    if (const auto d = reply::edidDownloadAnswer(f)) {
        if (d->ready) {
            return "ready for the EDID data";
        }
        if (d->result) {
            return d->code == reply::kDone ? "EDID downloaded" : "EDID download refused";
        }
        return "EDID download answer " + hex2(d->code);
    }
    if (const auto s = reply::switchReport(f)) {
        return s->refused() ? "EDID change refused" : "EDID switch report " + hex2(s->code);
    }
    switch (Command::codeOf(f)) {
    case kEdidBuiltInAll.code():
        return edidAnswer(kEdidBuiltInAll, f, false);
    case kEdidBuiltIn.code():
        return edidAnswer(kEdidBuiltIn, f, true);
    case kEdidCopyAll.code():
        return edidAnswer(kEdidCopyAll, f, false);
    case kEdidCopy.code():
        return edidAnswer(kEdidCopy, f, true);
    case kEdidDefaultAll.code():
        return edidAnswer(kEdidDefaultAll, f, false);
    case kEdidDefault.code():
        return edidAnswer(kEdidDefault, f, true);
    case kEdidAccess.code():
        return reply::answer(kEdidAccess, f)->done ? "EDID access granted" : "EDID access refused";
    case kIrControl.code():
        return setAnswer("IR control", kIrControl, f);
    case kBeep.code():
        return setAnswer("beep", kBeep, f);
    case kPower.code():
        return setAnswer("power", kPower, f);
    case kReboot.code():
        return reply::answer(kReboot, f)->done ? "rebooting" : "reboot refused";
    case kStandby.code():
        return "standby";
    default:
        break;
    }
    if (f.group() == kFirmwareGroup) {
        return firmwareReply(f);
    }
    return "unknown reply " + hex2(f.group()) + " " + hex2(f.command());
}

} // namespace

std::string describeFrame(const CommandFrame& f, FrameDirection direction) {
    if (!f.hasHeader()) {
        return "not a frame";
    }
    std::string words = direction == FrameDirection::ToMatrix ? requestWords(f) : replyWords(f);
    if (!f.checksumOk()) {
        words += " (bad checksum)";
    }
    return words;
}

std::string describeHex(std::string_view hex, FrameDirection direction) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t at = 0; at < hex.size(); at += 3) {
        const std::string_view pair = hex.substr(at, 2);
        const auto [end, error] =
            std::from_chars(pair.data(), pair.data() + pair.size(), bytes.emplace_back(), 16);
        const bool spaced = at + 2 == hex.size() || (at + 2 < hex.size() && hex[at + 2] == ' ');
        if (pair.size() != 2 || error != std::errc{} || end != pair.data() + 2 || !spaced) {
            return "";
        }
    }
    if (bytes.size() < CommandFrame::kSize) {
        return countOf(bytes.size());
    }
    // A frame closes the line when the assembler took one, behind any stray bytes.
    const std::size_t stray = bytes.size() - CommandFrame::kSize;
    const CommandFrame f =
        CommandFrame::fromBytes(std::span<const std::uint8_t, CommandFrame::kSize>(
            bytes.data() + stray, CommandFrame::kSize));
    if (!f.hasHeader()) {
        return countOf(bytes.size());
    }
    const std::string words = describeFrame(f, direction);
    return stray == 0 ? words : words + ", after " + countOf(stray);
}

} // namespace zentrel
