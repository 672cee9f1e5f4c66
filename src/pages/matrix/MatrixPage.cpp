#include "MatrixPage.h"

#include "MatrixIds.h"
#include "MatrixPageTemplate.h"
#include "link/ControlSocket.h"
#include "pages/common/SerialByteMessage.h"
#include "platform/Platform.h"
#include "protocol/Commands.h"

#include <array>

namespace zentrel {

namespace {

// The line the page opens: 115200 baud, no parity, 8 data bits, 2 stop bits.
constexpr SerialSettings kLine{115200, 'N', 8, 2, 3, 512};
constexpr int kBoxPixels = 40;

} // namespace

MatrixPage::MatrixPage(PageContext& ctx)
    : Window(ctx.platform.loop, &ctx.mainWindow), ctx_(ctx),
      link_(ctx.platform.serial.createLink()),
      sendLog_(*this, mtx::kSendLog, false, {&ctx.traffic, kPageMatrix}),
      receiveLog_(*this, mtx::kReceiveLog, false, {&ctx.traffic, kPageMatrix}),
      sender_(ctx.state, ctx.socket, link_.get(),
              [this](std::span<const std::uint8_t> b) { sendLog_.append(b); }),
      assembler_(&receiveLog_), tcpReplies_(&receiveLog_, TcpReplyBuffer::LogStyle::PerByte),
      popups_(*this, ctx.state, ctx.notice, ctx.progress), grid_(*this), engine_(*this),
      refresh_(*this), panel_(*this), settings_(*this), editDialog_(*this) {}

MatrixPage::~MatrixPage() = default;

const PageInfo& MatrixPage::info() const {
    return pageInfo(kPageMatrix);
}

const DialogTemplate& MatrixPage::pageTemplate() const {
    return matrixPageTemplate();
}

std::optional<FontSpec> MatrixPage::fontFor(int id) const {
    for (int k = 1; k <= mtx::kOutputs; ++k) {
        if (id == mtx::numberBox(k)) {
            return FontSpec{"", kBoxPixels, 700};
        }
    }
    return std::nullopt;
}

void MatrixPage::onInitDialog() {
    for (int id :
         {mtx::kReceiveFrame, mtx::kSendFrame, mtx::kReceiveLog, mtx::kSendLog, mtx::kLogClear}) {
        showControl(id, false);
    }
    grid_.open();
    panel_.open();
    settings_.open();
    if (state().ControlMode == kModeCom && state().SharedPort != 0) {
        openSerial();
    }
}

bool MatrixPage::openSerial() {
    if (!link_->open(*this, state().SharedPort, kLine)) {
        return false;
    }
    link_->start();
    return true;
}

void MatrixPage::postTabLock(int value) {
    if (Window* main = loop().mainWindow()) {
        main->postMessage(WM_TAB_LOCK, static_cast<WParam>(value), 0);
    }
}

void MatrixPage::onCommand(int id, int /*code*/) {
    if (id >= mtx::panelButton(1) && id <= mtx::panelButton(mtx::kInputs)) {
        panel_.onButton(id - mtx::panelButton(1) + 1);
        return;
    }
    switch (id) {
    case mtx::kSelectOutput:
        panel_.onChoice();
        return;
    case mtx::kSettingsList:
        settings_.onListClick();
        return;
    case mtx::kEdit:
        settings_.onEdit();
        return;
    case mtx::kSet:
        settings_.onSet();
        return;
    default:
        onGridClick(id);
        return;
    }
}

void MatrixPage::onGridClick(int id) {
    std::optional<OutputGrid::Target> target = grid_.arrowAt(id);
    if (const auto button = grid_.inputButtonAt(id)) {
        // The button toggled itself; it shows only what the matrix confirmed.
        setChecked(id, !isChecked(id));
        target = button;
    }
    if (!target || state().MatrixBusy || engine_.switching() || !gridLinkReady()) {
        return;
    }
    state().MatrixBusy = true;
    engine_.setSingle(true);
    engine_.startSwitch(target->output, target->input, mtx::kGridWaitMs);
}

bool MatrixPage::gridLinkReady() {
    const bool tcp = state().ControlMode == kModeTcp;
    if (tcp ? state().ShownConnected != 0 : link_->isOpen()) {
        return true;
    }
    popups_.notice(tcp ? mtx::kNoLink : mtx::kNoCom, mtx::kNoticeMs);
    return false;
}

bool MatrixPage::panelLinkReady() {
    if (state().ControlMode == kModeTcp) {
        if (state().ShownConnected != 0) {
            return true;
        }
        popups_.notice(mtx::kNoLink, mtx::kNoticeMs);
        return false;
    }
    if (link_->isOpen()) {
        return true;
    }
    ctx_.platform.ui.messageBox(*this, mtx::kOpenPortFirst, "");
    return false;
}

void MatrixPage::onTimer(int id) {
    switch (id) {
    case mtx::kNoticeTimer:
        popups_.onNoticeTimer();
        return;
    case mtx::kAnimationTimer:
        popups_.onAnimationTimer();
        return;
    default:
        break;
    }
    if (!engine_.onTimer(id) && !refresh_.onTimer(id)) {
        killTimer(id);
    }
}

LParam MatrixPage::onMessage(unsigned msg, WParam wp, LParam lp) {
    LParam result = 0;
    switch (msg) {
    case WM_SERIAL_BYTE:
        onSerialByte(wp, lp, result);
        break;
    case WM_TCP_MATRIX:
        onTcpNotification(wp, lp);
        break;
    default:
        break;
    }
    return result;
}

void MatrixPage::onSerialByte(WParam wp, LParam lp, LParam& result) {
    SerialByteOutcome out = onSerialByteMessage(assembler_, state().ControlMode, wp, lp);
    result = out.result;
    if (out.frame) {
        dispatch(out.frame->frame, true, out.frame->checksumPassed());
    }
}

void MatrixPage::onTcpNotification(WParam wp, LParam lp) {
    // Read even while not armed, so that nothing stale waits for the next reply.
    const std::vector<std::uint8_t> bytes = ctx_.socket.readNotified(wp, lp);
    if (bytes.empty() || !tcpArmed_) {
        return;
    }
    const auto reply = tcpReplies_.onRead(bytes);
    if (reply && state().ControlMode == kModeTcp) {
        dispatch(*reply, false, true);
    }
}

void MatrixPage::dispatch(const CommandFrame& f, bool serial, bool checksumPassed) {
    if (cmd::kSwitch.matches(f) && f[4] == 0x00) {
        engine_.onAcknowledgment(f[6], checksumPassed);
    } else if (cmd::kRouting.matches(f)) {
        refresh_.onReply(f[4], f[6], serial);
    } else if (cmd::kStandby.matches(f)) {
        onStandby();
    }
}

void MatrixPage::onStandby() {
    for (int id = mtx::kFirstTimer; id <= mtx::kLastTimer; ++id) {
        killTimer(id);
    }
    engine_.abandon();
    refresh_.abandon();
    state().MatrixBusy = false;
    postTabLock(0);
    popups_.stopWaiting();
    if (state().NoticeShown != 0) {
        popups_.closeNotice();
    }
    popups_.notice(mtx::kStandby, mtx::kStandbyNoticeMs);
}

} // namespace zentrel
