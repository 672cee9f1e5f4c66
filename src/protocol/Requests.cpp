#include "Requests.h"

namespace zentrel::request {

using namespace frame_pos;

std::optional<int> port(Command c, const CommandFrame& f) {
    if (!c.matches(f)) {
        return std::nullopt;
    }
    return f[kFirst];
}

std::optional<Route> route(const CommandFrame& f) {
    if (!cmd::kSwitch.matches(f)) {
        return std::nullopt;
    }
    return Route{f[kFirst], f[kSecond]};
}

std::optional<EdidChange> edidChange(Command c, const CommandFrame& f) {
    if (!c.matches(f)) {
        return std::nullopt;
    }
    const bool all = c == cmd::kEdidBuiltInAll || c == cmd::kEdidCopyAll;
    return EdidChange{f[kFirst], all ? 0 : f[kSecond]};
}

std::optional<Setting> setting(Command c, const CommandFrame& f) {
    if (!c.matches(f)) {
        return std::nullopt;
    }
    return Setting{f[kFirst]};
}

std::optional<EdidDownload> edidDownload(const CommandFrame& f) {
    const bool all = cmd::kEdidDownloadAll.matches(f);
    if (!all && !cmd::kEdidDownload.matches(f)) {
        return std::nullopt;
    }
    const bool header = f[kFirst] == cmd::kEdidDataMark;
    return EdidDownload{all, header, all || header ? 0 : f[kFirst]};
}

bool edidFixedBytesRight(const CommandFrame& f) {
    if (cmd::kEdidAccess.matches(f)) {
        return f[kFirst] == cmd::kEdidFixed;
    }
    if (cmd::kEdidBuiltInAll.matches(f) || cmd::kEdidBuiltIn.matches(f)) {
        return f[kFixed] == cmd::kEdidFixed;
    }
    if (cmd::kEdidDefaultAll.matches(f)) {
        return f[kFirst] == cmd::kEdidAllInputs;
    }
    const std::optional<EdidDownload> d = edidDownload(f);
    if (!d) {
        return true;
    }
    if (d->dataHeader) {
        return f[kFixed] == 0x00 && f[kSecond] == 0x00 && f[7] == 0x01;
    }
    return f[kFixed] == cmd::kEdidFixed && (!d->allInputs || f[kFirst] == cmd::kEdidAllInputs);
}

std::optional<FirmwareBlockHeader> firmwareBlockHeader(const CommandFrame& f) {
    if (f.group() != cmd::kFirmwareGroup || f[8] != 1) {
        return std::nullopt;
    }
    // 20 part AA 00 00 01 01 mark id: a block follows; 20 part 56 00 FE 00 01 mark id: the last.
    const bool block = f[kFirst] == cmd::kFirmwareBlockMark && f[7] == 1;
    const bool last = f[kFirst] == cmd::kFirmwareLastBlockMark && f[kSecond] == cmd::kFirmwareLast;
    if (!block && !last) {
        return std::nullopt;
    }
    return FirmwareBlockHeader{f.command(), last, f[kMark], f[kId]};
}

std::optional<FirmwareFrame> firmwareFrame(const CommandFrame& f) {
    if (f.group() != cmd::kFirmwareGroup || firmwareBlockHeader(f)) {
        return std::nullopt;
    }
    return FirmwareFrame{f.command(), f[kFirst]};
}

} // namespace zentrel::request
