#include "FirmwarePage.h"

#include "FirmwareFile.h"
#include "FirmwarePageTemplate.h"
#include "app/NoticePopup.h"
#include "platform/Platform.h"
#include "protocol/Commands.h"
#include "session/SerialByteMessage.h"

#include <array>

namespace zentrel {

FirmwarePage::FirmwarePage(PageContext& ctx)
    : Window(ctx.platform.loop, &ctx.mainWindow), ctx_(ctx),
      link_(ctx.platform.serial.createLink()),
      sendLog_(*this, fw::kSendLog, false, {&ctx.traffic, kPageFirmware}),
      receiveLog_(*this, fw::kReceiveLog, false, {&ctx.traffic, kPageFirmware}),
      // The page logs line breaks and block announcements of its own, never the bytes.
      sender_(ctx.state, ctx.socket, link_.get(), {}), batch_(receiveLog_), assembler_(&batch_),
      tcpReplies_(&batch_), transfer_(*this), device_(*this) {}

FirmwarePage::~FirmwarePage() = default;

const PageInfo& FirmwarePage::info() const {
    return pageInfo(kPageFirmware);
}

const DialogTemplate& FirmwarePage::pageTemplate() const {
    return firmwarePageTemplate();
}

UiServices& FirmwarePage::ui() {
    return ctx_.platform.ui;
}

void FirmwarePage::onSelected() {
    device_.onSelected();
    transfer_.onSelected();
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
        link_->open(*this, s.SharedPort, SerialSettings{115200, 'N', 8, 2, 3, 512})) {
        link_->start();
    }
}

void FirmwarePage::sendFrame(const CommandFrame& frame) {
    sender_.route(frame.bytes);
    sendLog_.appendText("\r\n");
    keepTail(fw::kSendLog);
}

void FirmwarePage::sendBlock(std::span<const std::uint8_t> block) {
    // The block leaves first: the log's announcement reads the same, and writing it never
    // holds the block back.
    sender_.route(block);
    sendLog_.appendText("Send data:\r\n");
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

void FirmwarePage::notice(const std::string& text, int closeAfterMs, When when) {
    setTimer(fw::kNoticeTimer, closeAfterMs);
    if (when == When::IfClosed && state().NoticeShown != 0) {
        return;
    }
    state().NoticeText = text;
    state().NoticeShown = 1;
    ctx_.notice.open();
}

void FirmwarePage::closeNotice() {
    ctx_.notice.close();
}

void FirmwarePage::releaseTabs() {
    if (Window* main = loop().mainWindow()) {
        main->postMessage(WM_TAB_LOCK, 0, 0);
    }
}

void FirmwarePage::enableUpgrade(bool enabled) {
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
        notice(fw::kFileTooLarge, fw::kNoticeMs, When::Always);
        return;
    }
    if (file.status != FirmwareFile::Status::Read) {
        notice(fw::kFileUnreadable, fw::kNoticeMs, When::Always);
        return;
    }
    image_.load(file.bytes);
    setText(fw::kPath, *path);
}

void FirmwarePage::onTimer(int id) {
    if (id == fw::kNoticeTimer) {
        killTimer(id);
        closeNotice();
        return;
    }
    transfer_.onTimer(id);
}

LParam FirmwarePage::onMessage(unsigned msg, WParam wp, LParam lp) {
    LParam result = 0;
    switch (msg) {
    case WM_SERIAL_BYTE:
        onSerialByte(wp, lp, result);
        break;
    case WM_TCP_FIRMWARE:
        onTcpNotification(wp, lp);
        break;
    default:
        break;
    }
    return result;
}

void FirmwarePage::onSerialByte(WParam wp, LParam lp, LParam& result) {
    SerialByteOutcome out = onSerialByteMessage(assembler_, state().ControlMode, wp, lp);
    result = out.result;
    if (out.frame) {
        dispatch(out.frame->frame, false); // no checksum test on this page
    }
    batch_.flush(out.frame.has_value());
    keepTail(fw::kReceiveLog);
}

void FirmwarePage::onTcpNotification(WParam wp, LParam lp) {
    if (state().ControlMode != kModeTcp) {
        ctx_.socket.handleNotification(wp, lp);
        return;
    }
    const std::vector<std::uint8_t> bytes = ctx_.socket.readNotified(wp, lp);
    if (bytes.empty()) {
        return;
    }
    if (const auto reply = tcpReplies_.onRead(bytes)) {
        dispatch(*reply, true);
    }
    batch_.flush();
    keepTail(fw::kReceiveLog);
}

void FirmwarePage::dispatch(const CommandFrame& frame, bool tcp) {
    const bool standby = cmd::kStandby.matches(frame);
    if (tcp) {
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
    for (int id = fw::kFirstPageTimer; id <= fw::kLastPageTimer; ++id) {
        killTimer(id);
    }
    if (state().NoticeShown != 0) {
        closeNotice();
    }
    notice(fw::kStandby, fw::kStandbyNoticeMs, When::IfClosed);
    state().UpgradeRunning = false;
    if (wasRunning) {
        transfer_.onStandby();
    }
}

} // namespace zentrel
