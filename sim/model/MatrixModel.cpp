#include "MatrixModel.h"

#include "GenericRefusal.h"
#include "protocol/FrameMeaning.h"
#include "protocol/Replies.h"
#include "protocol/Requests.h"
#include "sim/faults/ReplyShaper.h"

#include <algorithm>

namespace zentrel::sim {

namespace {

using Kind = FaultRule::Kind;

using reply::kDone;
constexpr std::uint8_t kFailed = reply::kRefused;

std::uint8_t u8(int v) {
    return static_cast<std::uint8_t>(v);
}

std::uint8_t onOffState(bool on) {
    return on ? reply::kStateOn : reply::kStateOff;
}

} // namespace

MatrixModel::MatrixModel(MatrixState state, ModelTiming timing) : state_(state), timing_(timing) {}

Exchange MatrixModel::receive(WireIntake& link, std::span<const std::uint8_t> bytes,
                              std::int64_t nowMs) {
    Exchange ex;
    std::vector<WireIntake::Unit> units;
    auto handle = [&] {
        for (const WireIntake::Unit& u : units) {
            switch (u.kind) {
            case WireIntake::Unit::Kind::Stray:
                ex.in.push_back({Inbound::Kind::Stray, u.bytes, "stray bytes"});
                break;
            case WireIntake::Unit::Kind::Abandoned:
                ex.in.push_back({Inbound::Kind::Abandoned, u.bytes, "incomplete, given up"});
                // A firmware block that did not follow its header is refused.
                if (u.header.group() == cmd::kFirmwareGroup && !rebootingAt(nowMs)) {
                    sendReply(u.header, firmware_.blockMissing(u.header), ex);
                }
                break;
            case WireIntake::Unit::Kind::Frame:
                handleFrame(CommandFrame::fromBytes(std::span<const std::uint8_t, 13>(
                                u.bytes.data(), CommandFrame::kSize)),
                            link, nowMs, ex);
                break;
            case WireIntake::Unit::Kind::Block:
                handleBlock(u, nowMs, ex);
                break;
            }
        }
        units.clear();
    };
    for (std::uint8_t b : bytes) {
        link.push(b, nowMs, units);
        handle();
    }
    link.flushStray(units);
    handle();
    return ex;
}

void MatrixModel::handleFrame(const CommandFrame& f, WireIntake& link, std::int64_t now,
                              Exchange& ex) {
    std::vector<std::uint8_t> raw(f.bytes.begin(), f.bytes.end());
    if (!f.hasHeader()) {
        ex.in.push_back({Inbound::Kind::BadHeader, raw, "not a frame"});
        return;
    }
    const std::string name = describeFrame(f, FrameDirection::ToMatrix);
    if (!f.checksumOk()) {
        ex.in.push_back({Inbound::Kind::BadChecksum, raw, name});
        return;
    }
    if (rebootingAt(now)) {
        ex.in.push_back({Inbound::Kind::Ignored, raw, name + " (rebooting)"});
        return;
    }
    ex.in.push_back({Inbound::Kind::Frame, raw, name});
    if (EdidSession::isDataHeader(f) && faults_.wants(Kind::CloseBeforeBlock, f)) {
        faults_.take(f);
        edid_.dropReady();
        ex.closeLink = true;
        return;
    }
    Answer a = answer(f, link);
    if (a.reply) {
        const std::int64_t gone = sendReply(f, *a.reply, ex);
        if (a.rebootMs > 0) {
            silentUntil_ = now + gone + a.rebootMs;
        }
    }
}

void MatrixModel::handleBlock(const WireIntake::Unit& unit, std::int64_t now, Exchange& ex) {
    const CommandFrame& header = unit.header;
    const bool firmware = header.group() == cmd::kFirmwareGroup;
    ex.in.push_back({firmware ? Inbound::Kind::FirmwareBlock : Inbound::Kind::EdidBlock, unit.bytes,
                     firmware ? "firmware block" : "EDID block"});
    if (firmware) {
        handleFirmwareBlock(unit, now, ex);
        return;
    }
    sendReply(header, edid_.onBlock(header, unit.bytes, faults_.wants(Kind::Refuse, header)), ex);
}

void MatrixModel::handleFirmwareBlock(const WireIntake::Unit& unit, std::int64_t now,
                                      Exchange& ex) {
    const CommandFrame& header = unit.header;
    const FaultRule* standby = faults_.find(Kind::StandbyAtBlock, header);
    if (standby != nullptr && standby->atBlock == firmware_.blocksOf(header.command())) {
        faults_.use(Kind::StandbyAtBlock, header);
        ex.out.push_back(enterStandby());
        return;
    }
    const FaultRule* reset = faults_.find(Kind::ResetAtBlock, header);
    if (reset != nullptr && reset->atBlock == firmware_.blocksOf(header.command())) {
        faults_.use(Kind::ResetAtBlock, header);
        // The unit is deaf while it starts again, then reports as it does after power-on.
        constexpr std::int64_t kRestartMs = 300;
        firmware_.interrupt(header.command());
        silentUntil_ = now + kRestartMs;
        const CommandFrame report = cmd::kDeviceType.frame({state_.deviceType});
        ex.out.push_back(Reply{describeFrame(report, FrameDirection::FromMatrix),
                               {report.bytes.begin(), report.bytes.end()},
                               {Piece{kRestartMs, 0, CommandFrame::kSize}}});
        return;
    }
    FirmwareSession::BlockFaults knobs;
    knobs.refuse = faults_.wants(Kind::Refuse, header);
    if (const FaultRule* r = faults_.find(Kind::AckId, header)) {
        knobs.ackId = r->ackId;
    }
    knobs.extraAck = faults_.find(Kind::ExtraAck, header) != nullptr;
    FirmwareSession::Answer a = firmware_.onBlock(header, unit.bytes, knobs);
    if (!a.reply) {
        return;
    }
    if (knobs.ackId && !a.reboot) {
        faults_.use(Kind::AckId, header);
    }
    if (const auto extra = firmware_.extraAck()) {
        faults_.use(Kind::ExtraAck, header);
        sendReply(header, *extra, ex);
    }
    const std::int64_t gone = sendReply(header, *a.reply, ex);
    if (a.reboot) {
        const bool stayDown = faults_.find(Kind::StayDown, header) != nullptr;
        if (stayDown) {
            faults_.use(Kind::StayDown, header);
        }
        silentUntil_ = stayDown ? std::numeric_limits<std::int64_t>::max()
                                : now + gone + timing_.upgradeRebootMs;
        if (partComplete_) {
            partComplete_(firmware_);
        }
    }
}

MatrixModel::Answer MatrixModel::answer(const CommandFrame& f, WireIntake& link) {
    Answer a;
    const bool powerCommand = cmd::kPower.matches(f) || cmd::kPowerState.matches(f);
    if (!state_.powerOn && !powerCommand) {
        a.reply = cmd::kStandby.frame();
        return a;
    }
    const bool refuse = faults_.wants(Kind::Refuse, f);
    const std::uint8_t group = f.group();
    const bool ownRefusal = group == cmd::kEdidAccess.group || group == cmd::kFirmwareGroup;
    if (refuse && !ownRefusal) {
        a.reply = genericRefusal(f); // refused before it can change anything
        return a;
    }
    if (group == cmd::kDeviceType.group) {
        a.reply = deviceInfo(f);
    } else if (group == cmd::kSwitch.group) {
        a.reply = routing(f);
    } else if (group == cmd::kEdidAccess.group) {
        const EdidSession::Answer e =
            edid_.onFrame(f, {refuse, faults_.wants(Kind::SwitchReport, f)});
        if (e.expectBlock) {
            link.expectBlock(EdidSession::kBlockSize, f);
        }
        a.reply = e.reply;
    } else if (group == cmd::kFirmwareGroup) {
        FirmwareSession::Answer fw = firmware_.onFrame(f, refuse);
        if (fw.expectBlock) {
            link.expectBlock(FirmwareSession::kBlockSize, f);
        }
        a.reply = fw.reply;
    } else {
        a.reply = settings(f, a);
    }
    return a;
}

std::optional<CommandFrame> MatrixModel::deviceInfo(const CommandFrame& f) const {
    if (cmd::kDeviceType.matches(f)) {
        return cmd::kDeviceType.frame({state_.deviceType});
    }
    if (cmd::kModel.matches(f)) {
        return cmd::kModel.frame({u8(state_.inputs), 0, u8(state_.outputs)});
    }
    if (cmd::kVersion.matches(f)) {
        return cmd::kVersion.frame({state_.firmwareMajor, 0, state_.firmwareMinor});
    }
    if (cmd::kIrState.matches(f)) {
        return cmd::kIrState.frame({0, 0, onOffState(state_.irControl)});
    }
    if (cmd::kBeepState.matches(f)) {
        return cmd::kBeepState.frame({0, 0, onOffState(state_.beep)});
    }
    for (const Command c : {cmd::kInputStatus, cmd::kOutputStatus, cmd::kEdidStatus}) {
        const std::optional<int> k = request::port(c, f);
        if (!k) {
            continue;
        }
        if (!isPort(*k)) {
            return std::nullopt;
        }
        const auto idx = static_cast<std::size_t>(*k);
        const std::uint8_t state = c == cmd::kInputStatus ? onOffState(state_.inputConnected[idx])
                                   : c == cmd::kOutputStatus
                                       ? onOffState(state_.outputConnected[idx])
                                       : state_.edidStatus[idx];
        return c.frame({u8(*k), 0, state});
    }
    return std::nullopt;
}

std::optional<CommandFrame> MatrixModel::routing(const CommandFrame& f) {
    if (const auto asked = request::port(cmd::kRouting, f)) {
        const int k = *asked;
        if (!isPort(k)) {
            return std::nullopt;
        }
        return cmd::kRouting.frame({u8(k), 0, state_.routing[static_cast<std::size_t>(k)]});
    }
    if (const auto route = request::route(f)) {
        const int input = route->input;
        const int output = route->output;
        if (!isPort(input) || !isPort(output)) {
            return cmd::kSwitch.frame({kFailed, 0x00, u8(output)});
        }
        // The protocol addresses eight ports, so a switch that names an input or an output this
        // unit does not have is acknowledged like any other (a sequence goes on to output 5)
        // but changes nothing: the routing never names an input the unit lacks.
        if (input <= state_.inputs && output <= state_.outputs) {
            state_.routing[static_cast<std::size_t>(output)] = u8(input);
        }
        return cmd::kSwitch.frame({kDone, 0x00, u8(output)});
    }
    return std::nullopt;
}

std::optional<CommandFrame> MatrixModel::settings(const CommandFrame& f, Answer& a) {
    for (const Command c : {cmd::kIrControl, cmd::kBeep, cmd::kPower}) {
        const auto s = request::setting(c, f);
        if (!s) {
            continue;
        }
        if (!s->valid()) {
            return genericRefusal(f);
        }
        const bool on = s->on();
        (c == cmd::kIrControl ? state_.irControl
         : c == cmd::kBeep    ? state_.beep
                              : state_.powerOn) = on;
        return c.frame({kDone});
    }
    if (cmd::kPowerState.matches(f)) {
        return cmd::kPowerState.frame({state_.powerOn ? cmd::kOn : cmd::kOff});
    }
    if (cmd::kReboot.matches(f)) {
        a.rebootMs = timing_.rebootMs;
        return cmd::kReboot.frame({kDone});
    }
    return std::nullopt;
}

std::int64_t MatrixModel::sendReply(const CommandFrame& request, CommandFrame reply, Exchange& ex) {
    const std::vector<FaultRule> rules = faults_.take(request);
    const bool silent = std::any_of(rules.begin(), rules.end(),
                                    [](const FaultRule& r) { return r.kind == Kind::Silent; });
    if (silent) {
        return timing_.latencyMs;
    }
    ex.out.push_back(ReplyShaper(timing_).shape(reply, rules));
    return ex.out.back().lastDelayMs();
}

Reply MatrixModel::enterStandby() {
    state_.powerOn = false;
    const CommandFrame f = cmd::kStandby.frame();
    return Reply{describeFrame(f, FrameDirection::FromMatrix),
                 {f.bytes.begin(), f.bytes.end()},
                 {Piece{0, 0, CommandFrame::kSize}}};
}

Reply MatrixModel::edidSwitchReport(std::uint8_t code) {
    const CommandFrame f = cmd::kEdidSwitchReport.frame({code});
    return Reply{describeFrame(f, FrameDirection::FromMatrix),
                 {f.bytes.begin(), f.bytes.end()},
                 {Piece{0, 0, CommandFrame::kSize}}};
}

} // namespace zentrel::sim
