#include "MatrixModel.h"

#include "CommandNames.h"

#include <algorithm>

namespace zentrel::sim {

namespace {

using Kind = FaultRule::Kind;

constexpr std::uint8_t kOn = 0x0F;
constexpr std::uint8_t kOff = 0xF0;
constexpr std::uint8_t kRefusedSwitchReport = 0x0F;

bool isPort(int k) {
    return k >= 1 && k <= kMaxPorts;
}

std::uint8_t u8(int v) {
    return static_cast<std::uint8_t>(v);
}

std::uint8_t onOffState(bool on) {
    return on ? kStateOn : kStateOff;
}

// The refusal every command without a refusal of its own gets: its bytes 2 and 3 with FF in
// bytes 4 and 6, which no page takes for success.
CommandFrame genericRefusal(const CommandFrame& f) {
    return CommandFrame::make({f.group(), f.command(), 0xFF, 0x00, 0xFF});
}

std::uint8_t sum8(std::span<const std::uint8_t> bytes) {
    std::uint8_t s = 0;
    for (std::uint8_t b : bytes) {
        s = static_cast<std::uint8_t>(s + b);
    }
    return s;
}

} // namespace

MatrixModel::MatrixModel(MatrixState state, ModelTiming timing) : state_(state), timing_(timing) {}

const std::vector<std::uint8_t>& MatrixModel::userEdid(int input) const {
    static const std::vector<std::uint8_t> none;
    return isPort(input) ? userEdid_[static_cast<std::size_t>(input)] : none;
}

bool MatrixModel::validEdid(std::span<const std::uint8_t> edid) {
    static constexpr std::uint8_t kHeader[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    if (edid.size() != kEdidSize ||
        !std::equal(std::begin(kHeader), std::end(kHeader), edid.begin())) {
        return false;
    }
    if (sum8(edid.first(128)) != 0) {
        return false;
    }
    const std::uint8_t extensions = edid[126];
    if (extensions == 0) {
        return true;
    }
    return extensions == 1 && sum8(edid.subspan(128, 128)) == 0;
}

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
    const std::string name = CommandNames::describe(f, Direction::ToMatrix);
    if (!f.checksumOk()) {
        ex.in.push_back({Inbound::Kind::BadChecksum, raw, name});
        return;
    }
    if (rebootingAt(now)) {
        ex.in.push_back({Inbound::Kind::Ignored, raw, name + " (rebooting)"});
        return;
    }
    ex.in.push_back({Inbound::Kind::Frame, raw, name});
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
    const bool firmware = header.group() == 0x20;
    ex.in.push_back({firmware ? Inbound::Kind::FirmwareBlock : Inbound::Kind::EdidBlock, unit.bytes,
                     firmware ? "firmware block" : "EDID block"});
    if (firmware) {
        const bool refuse = faults_.wants(Kind::Refuse, header);
        FirmwareSession::Answer a = firmware_.onBlock(header, unit.bytes, refuse);
        if (a.reply) {
            const std::int64_t gone = sendReply(header, *a.reply, ex);
            if (a.reboot) {
                silentUntil_ = now + gone + timing_.upgradeRebootMs;
            }
        }
        return;
    }
    sendReply(header, edidDownloadResult(header, unit.bytes), ex);
}

CommandFrame MatrixModel::edidDownloadResult(const CommandFrame& header,
                                             std::span<const std::uint8_t> block) {
    const bool allInputs = header.command() == 0x06;
    const int target = allInputs ? 0 : downloadTarget_.value_or(-1);
    downloadTarget_.reset();
    const auto edidBytes = block.size() == kEdidBlockSize ? block.subspan(1, kEdidSize)
                                                          : std::span<const std::uint8_t>{};
    const bool ok = target >= 0 && validEdid(edidBytes) && !faults_.wants(Kind::Refuse, header);
    if (ok) {
        for (int i = 1; i <= kMaxPorts; ++i) {
            if (allInputs || i == target) {
                state_.edidStatus[static_cast<std::size_t>(i)] = kEdidUserDefined;
                userEdid_[static_cast<std::size_t>(i)].assign(edidBytes.begin(), edidBytes.end());
            }
        }
    }
    return CommandFrame::make(
        {0x03, header.command(), u8(ok ? 0x00 : 0xFF), 0x00, u8(target > 0 ? target : 0), 0x01});
}

MatrixModel::Answer MatrixModel::answer(const CommandFrame& f, WireIntake& link) {
    Answer a;
    const bool powerCommand = f.group() == 0x08 && (f.command() == 0x0B || f.command() == 0x0C);
    if (!state_.powerOn && !powerCommand) {
        a.reply = CommandFrame::make({0x88, 0x88});
        return a;
    }
    const bool refuse = faults_.wants(Kind::Refuse, f);
    const bool ownRefusal = f.group() == 0x03 || f.group() == 0x20;
    if (refuse && !ownRefusal) {
        a.reply = genericRefusal(f); // refused before it can change anything
        return a;
    }
    switch (f.group()) {
    case 0x01:
        a.reply = deviceInfo(f);
        break;
    case 0x02:
        a.reply = routing(f);
        break;
    case 0x03:
        return Answer{edid(f, refuse, link), 0};
    case 0x05:
    case 0x06:
    case 0x08:
        a.reply = settings(f, a);
        break;
    case 0x20: {
        FirmwareSession::Answer fw = firmware_.onFrame(f, refuse);
        if (fw.expectBlock) {
            link.expectBlock(FirmwareSession::kBlockSize, f);
        }
        a.reply = fw.reply;
        return a;
    }
    default:
        break;
    }
    return a;
}

std::optional<CommandFrame> MatrixModel::deviceInfo(const CommandFrame& f) const {
    const int k = f[4];
    const auto idx = static_cast<std::size_t>(k);
    switch (f.command()) {
    case 0x01:
        return CommandFrame::make({0x01, 0x01, state_.deviceType});
    case 0x02:
        return CommandFrame::make({0x01, 0x02, u8(state_.inputs), 0, u8(state_.outputs)});
    case 0x03:
        return CommandFrame::make({0x01, 0x03, state_.firmwareMajor, 0, state_.firmwareMinor});
    case 0x04:
        if (!isPort(k)) {
            return std::nullopt;
        }
        return CommandFrame::make({0x01, 0x04, u8(k), 0, onOffState(state_.inputConnected[idx])});
    case 0x05:
        if (!isPort(k)) {
            return std::nullopt;
        }
        return CommandFrame::make({0x01, 0x05, u8(k), 0, onOffState(state_.outputConnected[idx])});
    case 0x0A:
        return CommandFrame::make({0x01, 0x0A, 0, 0, onOffState(state_.irControl)});
    case 0x0B:
        return CommandFrame::make({0x01, 0x0B, 0, 0, onOffState(state_.beep)});
    case 0x0C:
        if (!isPort(k)) {
            return std::nullopt;
        }
        return CommandFrame::make({0x01, 0x0C, u8(k), 0, state_.edidStatus[idx]});
    default:
        return std::nullopt;
    }
}

std::optional<CommandFrame> MatrixModel::routing(const CommandFrame& f) {
    if (f.command() == 0x01) {
        const int k = f[4];
        if (!isPort(k)) {
            return std::nullopt;
        }
        return CommandFrame::make(
            {0x02, 0x01, u8(k), 0, state_.routing[static_cast<std::size_t>(k)]});
    }
    if (f.command() == 0x03) {
        const int input = f[4];
        const int output = f[6];
        if (!isPort(input) || !isPort(output)) {
            return CommandFrame::make({0x02, 0x03, 0xFF, 0x00, u8(output)});
        }
        // The routing table has the protocol's eight outputs, so a switch of an output this
        // unit does not have is acknowledged like any other and changes nothing anyone sees.
        state_.routing[static_cast<std::size_t>(output)] = u8(input);
        return CommandFrame::make({0x02, 0x03, 0x00, 0x00, u8(output)});
    }
    return std::nullopt;
}

std::optional<CommandFrame> MatrixModel::edid(const CommandFrame& f, bool refuse,
                                              WireIntake& link) {
    const std::uint8_t c = f.command();
    const int a4 = f[4];
    const int a6 = f[6];
    auto setAll = [&](std::uint8_t code) {
        for (int i = 1; i <= kMaxPorts; ++i) {
            state_.edidStatus[static_cast<std::size_t>(i)] = code;
        }
    };
    auto copyCode = [](int output) { return u8(kEdidCopyOfOutputA + output - 1); };
    auto outputHasDisplay = [&](int o) {
        return isPort(o) && state_.outputConnected[static_cast<std::size_t>(o)];
    };
    // Commands that change an input's EDID are refused with the EDID switch report.
    const CommandFrame switchRefused = CommandFrame::make({0x03, 0x0B, kRefusedSwitchReport});
    switch (c) {
    case 0x01: // built-in EDID m on all inputs
        if (refuse || a4 < 1 || a4 > 15) {
            return switchRefused;
        }
        setAll(u8(a4 - 1));
        return CommandFrame::make({0x03, 0x01, 0x00});
    case 0x02: // built-in EDID m on input i
        if (refuse || a4 < 1 || a4 > 15 || !isPort(a6)) {
            return switchRefused;
        }
        state_.edidStatus[static_cast<std::size_t>(a6)] = u8(a4 - 1);
        return CommandFrame::make({0x03, 0x02, 0x00, 0x00, u8(a6)});
    case 0x03: // copy the display's EDID of output o to all inputs
        if (refuse || !outputHasDisplay(a4)) {
            return CommandFrame::make({0x03, 0x03, 0xFF});
        }
        setAll(copyCode(a4));
        return CommandFrame::make({0x03, 0x03, 0x00});
    case 0x04: // ... to input i
        if (!isPort(a6)) {
            return std::nullopt;
        }
        if (refuse || !outputHasDisplay(a4)) {
            return CommandFrame::make({0x03, 0x04, 0xFF, 0x00, u8(a6)});
        }
        state_.edidStatus[static_cast<std::size_t>(a6)] = copyCode(a4);
        return CommandFrame::make({0x03, 0x04, 0x00, 0x00, u8(a6)});
    case 0x06:
    case 0x07:
        if (a4 == 0x56) { // data header: the EDID block follows, answered when it is in
            link.expectBlock(kEdidBlockSize, f);
            return std::nullopt;
        }
        if (c == 0x06 ? a4 != 0xFE : !isPort(a4)) {
            return std::nullopt;
        }
        if (refuse) {
            return switchRefused;
        }
        if (c == 0x07) {
            downloadTarget_ = a4;
        }
        return CommandFrame::make({0x03, c, 0xAA, 0x00, u8(c == 0x07 ? a4 : 0)});
    case 0x08: // EDID access
        return refuse ? switchRefused : CommandFrame::make({0x03, 0x08, 0x00});
    case 0x09: // default EDID on all inputs
        if (refuse) {
            return switchRefused;
        }
        setAll(kEdidDefault);
        return CommandFrame::make({0x03, 0x09, 0x00});
    case 0x0A: // default EDID on input i
        if (!isPort(a4)) {
            return std::nullopt;
        }
        if (refuse) {
            return switchRefused;
        }
        state_.edidStatus[static_cast<std::size_t>(a4)] = kEdidDefault;
        return CommandFrame::make({0x03, 0x0A, 0x00, 0x00, u8(a4)});
    default:
        return std::nullopt;
    }
}

std::optional<CommandFrame> MatrixModel::settings(const CommandFrame& f, Answer& a) {
    const std::uint8_t s = f[4];
    const bool valid = s == kOn || s == kOff;
    switch ((f.group() << 8) | f.command()) {
    case 0x0501:
        if (!valid) {
            return genericRefusal(f);
        }
        state_.irControl = s == kOn;
        return CommandFrame::make({0x05, 0x01, 0x00});
    case 0x0601:
        if (!valid) {
            return genericRefusal(f);
        }
        state_.beep = s == kOn;
        return CommandFrame::make({0x06, 0x01, 0x00});
    case 0x080B:
        if (!valid) {
            return genericRefusal(f);
        }
        state_.powerOn = s == kOn;
        return CommandFrame::make({0x08, 0x0B, 0x00});
    case 0x080C:
        return CommandFrame::make({0x08, 0x0C, state_.powerOn ? kOn : kOff});
    case 0x080D:
        a.rebootMs = timing_.rebootMs;
        return CommandFrame::make({0x08, 0x0D, 0x00});
    default:
        return std::nullopt;
    }
}

std::int64_t MatrixModel::sendReply(const CommandFrame& request, CommandFrame reply, Exchange& ex) {
    const std::vector<FaultRule> rules = faults_.take(request);
    const bool silent = std::any_of(rules.begin(), rules.end(),
                                    [](const FaultRule& r) { return r.kind == Kind::Silent; });
    if (silent) {
        return timing_.latencyMs;
    }
    ex.out.push_back(shape(reply, rules));
    return ex.out.back().lastDelayMs();
}

Reply MatrixModel::shape(const CommandFrame& frame, const std::vector<FaultRule>& rules) const {
    CommandFrame f = frame;
    std::vector<std::uint8_t> stray;
    std::int64_t delay = timing_.latencyMs;
    std::vector<std::size_t> cuts; // offsets into the frame where a new piece begins
    bool bytewise = false;
    std::int64_t gap = timing_.pieceGapMs;
    for (const FaultRule& r : rules) {
        switch (r.kind) {
        case Kind::BadChecksum:
            f[12] = u8(f[12] + 1);
            break;
        case Kind::Stray:
            stray.insert(stray.end(), r.stray.begin(), r.stray.end());
            break;
        case Kind::Delay:
            delay += r.delayMs;
            break;
        case Kind::Split:
            cuts.insert(cuts.end(), r.splitAt.begin(), r.splitAt.end());
            gap = r.gapMs > 0 ? r.gapMs : gap;
            break;
        case Kind::ByteByByte:
            bytewise = true;
            gap = r.gapMs > 0 ? r.gapMs : gap;
            break;
        case Kind::Silent:
        case Kind::Refuse:
            break;
        }
    }
    Reply out;
    out.name = CommandNames::describe(f, Direction::FromMatrix);
    if (!stray.empty()) {
        out.name += " after " + std::to_string(stray.size()) + " stray byte" +
                    (stray.size() == 1 ? "" : "s");
    }
    out.bytes = stray;
    out.bytes.insert(out.bytes.end(), f.bytes.begin(), f.bytes.end());

    std::vector<std::size_t> starts{0};
    if (bytewise) {
        for (std::size_t i = 1; i < out.bytes.size(); ++i) {
            starts.push_back(i);
        }
    } else {
        for (std::size_t cut : cuts) {
            if (cut > 0 && cut < CommandFrame::kSize) {
                starts.push_back(stray.size() + cut);
            }
        }
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    }
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : out.bytes.size();
        out.pieces.push_back(
            Piece{delay + static_cast<std::int64_t>(i) * gap, starts[i], end - starts[i]});
    }
    return out;
}

Reply MatrixModel::enterStandby() {
    state_.powerOn = false;
    const CommandFrame f = CommandFrame::make({0x88, 0x88});
    return Reply{CommandNames::describe(f, Direction::FromMatrix),
                 {f.bytes.begin(), f.bytes.end()},
                 {Piece{0, 0, CommandFrame::kSize}}};
}

Reply MatrixModel::edidSwitchReport(std::uint8_t code) {
    const CommandFrame f = CommandFrame::make({0x03, 0x0B, code});
    return Reply{CommandNames::describe(f, Direction::FromMatrix),
                 {f.bytes.begin(), f.bytes.end()},
                 {Piece{0, 0, CommandFrame::kSize}}};
}

} // namespace zentrel::sim
