#include "GeneralPage.h"

#include "GeneralIds.h"
#include "GeneralPageTemplate.h"
#include "pages/common/SerialByteMessage.h"
#include "platform/Platform.h"
#include "protocol/Commands.h"

#include <array>

namespace zentrel {

GeneralPage::GeneralPage(PageContext& ctx)
    : Window(ctx.platform.loop, &ctx.mainWindow), ctx_(ctx),
      link_(ctx.platform.serial.createLink()),
      sendLog_(*this, gen::kSendLog, true, {&ctx.traffic, kPageGeneral}),
      receiveLog_(*this, gen::kReceiveLog, true, {&ctx.traffic, kPageGeneral}),
      sender_(ctx.state, ctx.socket, link_.get(),
              [this](std::span<const std::uint8_t> b) { sendLog_.append(b); }),
      assembler_(&receiveLog_), tcpReplies_(&receiveLog_),
      discovery_(ctx.platform.network, ctx.state, *this,
                 [this](const std::string& text) { receiveLog_.appendText(text); }),
      popups_(*this, ctx.state, ctx.notice, ctx.progress), connection_(*this), status_(*this),
      maintenance_(*this),
      configDialog_(ctx.platform.loop, ctx.state, discovery_.broadcastSocket(), ctx.notice) {}

GeneralPage::~GeneralPage() = default;

const PageInfo& GeneralPage::info() const {
    return pageInfo(kPageGeneral);
}

const DialogTemplate& GeneralPage::pageTemplate() const {
    return generalPageTemplate();
}

void GeneralPage::onSelected() {
    // The main window connects anew for the page shown in TCP mode.
    tcpLinkOpened();
    status_.muteTcpReplies();
    connection_.markReturned();
}

void GeneralPage::onInitDialog() {
    for (int id :
         {gen::kReceiveFrame, gen::kSendFrame, gen::kReceiveLog, gen::kSendLog, gen::kLogClear}) {
        showControl(id, false);
    }
    status_.open();
    connection_.open();
}

void GeneralPage::postTabLock(int value) {
    if (Window* main = loop().mainWindow()) {
        main->postMessage(WM_TAB_LOCK, static_cast<WParam>(value), 0);
    }
}

void GeneralPage::onCommand(int id, int code) {
    if (connection_.onCommand(id, code) || maintenance_.onCommand(id)) {
        return;
    }
    switch (id) {
    case gen::kStatus:
    case gen::kStatusRadio:
        status_.start();
        break;
    case gen::kClear:
        status_.clear();
        break;
    default:
        break;
    }
}

void GeneralPage::onTimer(int id) {
    if (id == gen::kNoticeTimer) {
        popups_.onNoticeTimer();
        return;
    }
    if (connection_.onTimer(id) || status_.onTimer(id)) {
        return;
    }
    maintenance_.onTimer(id);
}

LParam GeneralPage::onMessage(unsigned msg, WParam wp, LParam lp) {
    LParam result = 0;
    switch (msg) {
    case WM_SERIAL_BYTE:
        onSerialByte(wp, lp, result);
        break;
    case WM_TCP_GENERAL:
        onTcpNotification(wp, lp);
        break;
    case WM_DISCOVERY:
        discovery_.handleNotification(wp, lp);
        break;
    default:
        break;
    }
    return result;
}

void GeneralPage::onSerialByte(WParam wp, LParam lp, LParam& result) {
    SerialByteOutcome out = onSerialByteMessage(assembler_, state().ControlMode, wp, lp);
    result = out.result;
    if (out.frame) {
        dispatch(out.frame->frame, true, out.frame->checksumPassed());
    }
}

void GeneralPage::onTcpNotification(WParam wp, LParam lp) {
    const std::vector<std::uint8_t> bytes = ctx_.socket.readNotified(wp, lp);
    if (bytes.empty()) {
        return;
    }
    const auto reply = tcpReplies_.onRead(bytes, state().ActivePage == kPageGeneral);
    if (reply && state().ControlMode == kModeTcp) {
        dispatch(*reply, false, true);
    }
}

void GeneralPage::dispatch(const CommandFrame& frame, bool serial, bool checksumPassed) {
    if (status_.onReply(frame, serial, checksumPassed) || maintenance_.onReply(frame)) {
        return;
    }
    if (cmd::kStandby.matches(frame)) {
        onStandby();
    }
}

void GeneralPage::onStandby() {
    for (int id = gen::kFirstRequestTimer; id <= gen::kLastRequestTimer; ++id) {
        killTimer(id);
    }
    maintenance_.stopForStandby();
    // The connect check that Status was waiting on has just been stopped with the rest; were
    // Status still to wait for it, it would do nothing on a link that works. A chain that was
    // running has lost its waits too and would keep the tabs locked for ever.
    status_.stopForStandby();
    popups_.closeProgress();
    if (state().NoticeShown != 0) {
        popups_.closeNotice();
    }
    popups_.notice(gen::kStandby, 2500, PagePopups::When::IfClosed);
}

} // namespace zentrel
