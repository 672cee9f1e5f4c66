#include "Replies.h"

namespace zentrel::reply {

namespace {

using namespace frame_pos;

std::optional<OnOff> onOffIn6(Command c, const CommandFrame& f) {
    if (!c.matches(f)) {
        return std::nullopt;
    }
    return OnOff{f[kSecond] != kStateOff};
}

} // namespace

std::optional<DeviceType> deviceType(const CommandFrame& f) {
    if (!cmd::kDeviceType.matches(f)) {
        return std::nullopt;
    }
    return DeviceType{f[kFirst]};
}

std::optional<ModelSize> modelSize(const CommandFrame& f) {
    if (!cmd::kModel.matches(f)) {
        return std::nullopt;
    }
    return ModelSize{f[kFirst], f[kSecond]};
}

std::optional<Version> version(const CommandFrame& f) {
    if (!cmd::kVersion.matches(f)) {
        return std::nullopt;
    }
    return Version{f[kFirst], f[kSecond]};
}

std::optional<PortState> portState(const CommandFrame& f) {
    const bool input = cmd::kInputStatus.matches(f);
    if (!input && !cmd::kOutputStatus.matches(f)) {
        return std::nullopt;
    }
    return PortState{input, f[kFirst], f[kSecond] != kStateOff};
}

std::optional<OnOff> irControlState(const CommandFrame& f) {
    return onOffIn6(cmd::kIrState, f);
}

std::optional<OnOff> beepState(const CommandFrame& f) {
    return onOffIn6(cmd::kBeepState, f);
}

std::optional<OnOff> powerState(const CommandFrame& f) {
    if (!cmd::kPowerState.matches(f)) {
        return std::nullopt;
    }
    return OnOff{f[kFirst] == cmd::kOn};
}

std::optional<EdidStatus> edidStatus(const CommandFrame& f) {
    if (!cmd::kEdidStatus.matches(f) || f[kFixed] != 0) {
        return std::nullopt;
    }
    return EdidStatus{f[kFirst], f[kSecond]};
}

std::optional<SwitchReport> switchReport(const CommandFrame& f) {
    if (!cmd::kEdidSwitchReport.matches(f) || f[kFixed] != 0) {
        return std::nullopt;
    }
    return SwitchReport{f[kFirst]};
}

std::optional<Routing> routing(const CommandFrame& f) {
    if (!cmd::kRouting.matches(f)) {
        return std::nullopt;
    }
    return Routing{f[kFirst], f[kSecond]};
}

std::optional<SwitchAck> switchAck(const CommandFrame& f) {
    const std::optional<Answer> a = answer(cmd::kSwitch, f);
    if (!a) {
        return std::nullopt;
    }
    return SwitchAck{a->port, a->done};
}

std::optional<Answer> answer(Command c, const CommandFrame& f) {
    if (!c.matches(f)) {
        return std::nullopt;
    }
    return Answer{f[kFirst] == kDone, f[kSecond]};
}

std::optional<EdidDownloadAnswer> edidDownloadAnswer(const CommandFrame& f) {
    const bool all = cmd::kEdidDownloadAll.matches(f);
    if (!all && !cmd::kEdidDownload.matches(f)) {
        return std::nullopt;
    }
    const std::uint8_t code = f[kFirst];
    return EdidDownloadAnswer{all, code == kEdidReady && f[kPhase] == kEdidFirstAnswer,
                              f[kPhase] == kEdidResult, code};
}

std::optional<FirmwareAnswer> firmwareAnswer(const CommandFrame& f) {
    if (f.group() != cmd::kFirmwareGroup) {
        return std::nullopt;
    }
    using Kind = FirmwareAnswer::Kind;
    const int part = f.command();
    const std::uint8_t status = f[kFirst];
    // 20 part 00 00 00 01 01 mark id: a block taken; 20 part 00 00 FE 00 01: the part is in.
    if (status == cmd::kFirmwareDone && f[7] == 1 && f[8] == 1) {
        return FirmwareAnswer{part, Kind::BlockAck, status, f[kMark], f[kId]};
    }
    if (status == cmd::kFirmwareDone && f[kSecond] == cmd::kFirmwareLast && f[7] == 0 &&
        f[8] == 1) {
        return FirmwareAnswer{part, Kind::PartComplete, status, 0, 0};
    }
    if (f[kSecond] == 0 && f[7] == 0 && f[8] == 0 && f[kId] == 0) {
        return FirmwareAnswer{part, Kind::Status, status, 0, 0};
    }
    return std::nullopt;
}

} // namespace zentrel::reply
