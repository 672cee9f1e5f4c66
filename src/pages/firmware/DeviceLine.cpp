#include "DeviceLine.h"

#include "FirmwareIds.h"
#include "FirmwarePage.h"
#include "protocol/Commands.h"
#include "state/SharedState.h"

namespace zentrel {

namespace {

const char* deviceName(std::uint8_t type) {
    switch (type) {
    case 1:
        return "HDMI MATRIX";
    case 2:
        return "HDBT MATRIX";
    case 3:
        return "HDMI+HDBT etc MATRIX";
    default:
        return nullptr;
    }
}

} // namespace

void DeviceLine::activate() {
    SharedState& s = page_.state();
    if (s.ControlMode == kModeTcp) {
        if (s.TcpConnected == 0) {
            page_.popups().notice(session::kNoLink, session::kNoticeMs, PagePopups::When::Always);
            return;
        }
    } else {
        if (s.ComPortOpen == 0 || !page_.link().open(page_, s.SharedPort, session::kLine) ||
            !page_.link().start()) {
            page_.popups().notice(session::kNoCom, session::kNoticeMs, PagePopups::When::Always);
            return;
        }
    }
    querySent_ = true;
    page_.sendFrame(cmd::withFirmwareMark(cmd::queryDeviceType()));
}

bool DeviceLine::onReply(const CommandFrame& f) {
    if (cmd::kDeviceType.matches(f)) {
        if (const char* name = deviceName(f[4])) {
            name_ = name;
        }
        page_.sendFrame(cmd::withFirmwareMark(cmd::queryModel()));
        return true;
    }
    if (cmd::kModel.matches(f)) {
        info_ = fw::kDevicePrefix + name_ + " " + std::to_string(f[4]) + "x" + std::to_string(f[6]);
        page_.sendFrame(cmd::withFirmwareMark(cmd::queryVersion()));
        return true;
    }
    if (cmd::kVersion.matches(f)) {
        page_.setText(fw::kDeviceLine, info_ + fw::kVersionGap + fw::kVersionPrefix +
                                           std::to_string(f[4]) + "." + std::to_string(f[6]));
        return true;
    }
    return false;
}

} // namespace zentrel
