#include "FirmwarePage.h"

#include "FirmwarePageTemplate.h"
#include "operations/FirmwareFile.h"
#include "platform/Platform.h"
#include "protocol/Commands.h"

#include <array>

namespace zentrel {

FirmwarePage::FirmwarePage(PageContext& ctx)
    // The page logs line breaks and block announcements of its own, never the bytes, and
    // writes a reply's log text once it has acted on the reply.
    : PageShell(ctx, kPageFirmware,
                [&ctx] {
                    PageLink::Options o{
                        fw::kSendLog, fw::kReceiveLog, false, {&ctx.traffic, kPageFirmware}};
                    o.sendsLogged = false;
                    o.batchedReplies = true;
                    return o;
                }(),
                {fw::kNoticeTimer}),
      transfer_({*this, link_, ctx.state}, image_, *this), device_(*this) {}

FirmwarePage::~FirmwarePage() = default;

const DialogTemplate& FirmwarePage::pageTemplate() const {
    return firmwarePageTemplate();
}

UiServices& FirmwarePage::ui() {
    return ctx_.platform.ui;
}

void FirmwarePage::onSelected() {
    device_.onSelected();
    transfer_.forgetStart();
}

void FirmwarePage::onInitDialog() {
    for (int id :
         {fw::kReceiveFrame, fw::kSendFrame, fw::kReceiveLog, fw::kSendLog, fw::kLogClear}) {
        showControl(id, false);
    }
    for (int id : fw::kMergeArea) {
        showControl(id, false);
    }
    setTooltip(fw::kOpen, fw::kOpenTip);
    const SharedState& s = state();
    if (s.ControlMode == kModeCom && s.SharedPort != 0 &&
        link_.serial()->open(*this, s.SharedPort, session::kLine)) {
        link_.serial()->start();
    }
}

void FirmwarePage::sendFrame(const CommandFrame& frame) {
    link_.sender().route(frame.bytes);
    link_.sendLog().appendText("\r\n");
    keepTail(fw::kSendLog);
}

void FirmwarePage::keepTail(int id) {
    // An upgrade writes to the hidden logs with every block; they keep a bounded tail, so the
    // cost of a write does not grow with the length of the transfer.
    const std::string& text = control(id).text;
    if (text.size() > fw::kLogLimit) {
        setText(id, text.substr(text.size() - fw::kLogKeep));
    }
}

void FirmwarePage::upgradePart(const UpgradeProgress& p) {
    if (p.onBar) {
        setRange(fw::kProgress, 0, p.barEnd);
    }
}

void FirmwarePage::upgradeProgress(const UpgradeProgress& p) {
    if (p.onBar) {
        setPosition(fw::kProgress, p.barPosition);
    }
}

void FirmwarePage::upgradeNotice(const char* text, bool evenOverOne) {
    popups_.notice(text, session::kNoticeMs,
                   evenOverOne ? PagePopups::When::Always : PagePopups::When::IfClosed);
}

void FirmwarePage::upgradeBox(const char* text) {
    ui().messageBox(*this, text, fw::kAppTitle);
}

void FirmwarePage::upgradeControls(bool enabled) {
    enable(fw::kUpgrade, enabled);
    enable(fw::kOpen, enabled);
}

void FirmwarePage::onCommand(int id, int /*code*/) {
    switch (id) {
    case fw::kOpen:
        openFile();
        break;
    case fw::kUpgrade:
        idle_ = false;
        transfer_.start();
        keepTail(fw::kSendLog);
        break;
    case fw::kClear:
        setText(fw::kMessages, "");
        break;
    default:
        break;
    }
}

void FirmwarePage::openFile() {
    const std::optional<std::string> path = ui().openFile(fw::kFileFilter);
    if (!path || !FirmwareFile::hasFirmwareExtension(*path)) {
        return;
    }
    // A refused file leaves the loaded one in place, path and all.
    const FirmwareFile file = FirmwareFile::read(*path, FirmwareImage::kCapacity);
    if (file.status == FirmwareFile::Status::TooLarge) {
        popups_.notice(fw::kFileTooLarge, session::kNoticeMs, PagePopups::When::Always);
        return;
    }
    if (file.status != FirmwareFile::Status::Read) {
        popups_.notice(fw::kFileUnreadable, session::kNoticeMs, PagePopups::When::Always);
        return;
    }
    image_.load(file.bytes);
    setText(fw::kPath, *path);
}

void FirmwarePage::onTimer(int id) {
    if (id == fw::kNoticeTimer) {
        popups_.onNoticeTimer();
        return;
    }
    transfer_.onTimer(id);
    keepTail(fw::kSendLog);
}

LParam FirmwarePage::onMessage(unsigned msg, WParam wp, LParam lp) {
    LParam result = 0;
    switch (msg) {
    case WM_SERIAL_BYTE: {
        const auto reply = link_.onSerialByte(wp, lp, result);
        if (reply) {
            dispatch(*reply);
        }
        link_.flushReceiveLog(reply.has_value());
        keepTail(fw::kReceiveLog);
        keepTail(fw::kSendLog);
        break;
    }
    case WM_TCP_FIRMWARE:
        onTcpNotification(wp, lp);
        break;
    default:
        break;
    }
    return result;
}

void FirmwarePage::onTcpNotification(WParam wp, LParam lp) {
    if (state().ControlMode != kModeTcp) {
        ctx_.socket.handleNotification(wp, lp);
        return;
    }
    if (const auto reply = link_.onTcpNotification(wp, lp)) {
        dispatch(*reply);
    }
    link_.flushReceiveLog();
    keepTail(fw::kReceiveLog);
    keepTail(fw::kSendLog);
}

void FirmwarePage::dispatch(const LinkedFrame& reply) {
    // No checksum test on this page: a block's acknowledgement is taken as it comes.
    const CommandFrame& frame = reply.frame;
    const bool standby = cmd::kStandby.matches(frame);
    if (!reply.serial) {
        // A page that has not asked yet, or that was left for another tab before its upgrade,
        // takes nothing from the socket but its device line and the standby announcement.
        if (standby && !device_.querySent()) {
            return;
        }
        const bool deviceInfo = cmd::kDeviceType.matches(frame) || cmd::kModel.matches(frame) ||
                                cmd::kVersion.matches(frame);
        if (idle_ && !deviceInfo && !standby) {
            return;
        }
    }
    if (standby) {
        onStandby();
        return;
    }
    if (transfer_.onReply(frame)) {
        return;
    }
    device_.onReply(frame);
}

void FirmwarePage::onStandby() {
    const bool wasRunning = state().UpgradeRunning;
    killTimers(fw::kFirstPageTimer, fw::kLastPageTimer);
    popups_.noticeInstead(session::kStandby, session::kStandbyNoticeMs);
    state().UpgradeRunning = false;
    if (wasRunning) {
        transfer_.onStandby();
    }
}

} // namespace zentrel
