#include "EdidPage.h"

#include "EdidPageTemplate.h"
#include "EdidTexts.h"
#include "platform/Platform.h"
#include "protocol/Commands.h"
#include "protocol/Replies.h"
#include "session/TabLock.h"

#include <array>

namespace zentrel {

using namespace edid;

namespace {

std::string inputItem(int k) {
    return "IN" + std::to_string(k);
}

} // namespace

EdidPage::EdidPage(PageContext& ctx)
    : Window(ctx.platform.loop, &ctx.mainWindow), ctx_(ctx),
      link_(
          *this, ctx.state, ctx.socket, ctx.platform.serial.createLink(),
          {kSendLog, kReceiveLog, false, {&ctx.traffic, kPageEdid}, ReplyAssembler::Options{true}}),
      popups_(*this, ctx.state, ctx.notice, ctx.progress, {kNoticeTimer, kAnimationTimer, 0, true}),
      access_(
          *this, RequestTimers{kAccessTimer, kReplyWaitMs, kAccessGiveUp, kReplyWaitMs},
          [this](const CommandFrame& f) { link_.sender().send(f); }, [this] { timeOutA(); }),
      modeCopy_(*this), status_(*this), download_(*this), inspector_(*this) {}

EdidPage::~EdidPage() = default;

const PageInfo& EdidPage::info() const {
    return pageInfo(kPageEdid);
}

const DialogTemplate& EdidPage::pageTemplate() const {
    return edidPageTemplate();
}

void EdidPage::onInitDialog() {
    for (int id : {kReceiveFrame, kSendFrame, kReceiveLog, kSendLog, kLogClear}) {
        showControl(id, false);
    }
    setTooltip(kOpenFile, "Open");
    // The lists as the template carries them, for eight inputs and eight outputs.
    for (int target : {kModeTarget, kCopyTarget, kDownloadTarget}) {
        for (int k = 1; k <= kTemplatePorts; ++k) {
            addItem(target, inputItem(k));
        }
        addItem(target, kAllInputs);
    }
    for (int o = 0; o < kTemplatePorts; ++o) {
        addItem(kCopySource, "HDMI OUT " + outputLetter(o));
    }
    for (int p = 0; p < kChoiceCount; ++p) {
        addItem(kModeChoice, choiceText(p));
    }
    cutToFourInputs();
    setSelection(kModeChoice, selections_.choice);
    setSelection(kModeTarget, selections_.modeTarget);
    setSelection(kCopySource, selections_.copySource);
    setSelection(kCopyTarget, selections_.copyTarget);
    setSelection(kDownloadTarget, selections_.downloadTarget);
    for (int k = 1; k <= kInputCount; ++k) {
        setText(statusLine(k), kDefaultEdidText);
    }

    if (state().ControlMode == kModeCom && state().SharedPort != 0) {
        link_.openSerial(state().SharedPort, session::kLine);
    }
}

void EdidPage::cutToFourInputs() {
    for (int id : {kModeTarget, kCopyTarget, kDownloadTarget, kCopySource}) {
        for (int i = 0; i < kTemplatePorts - kInputCount; ++i) {
            deleteItem(id, kInputCount);
        }
    }
    for (int k = kInputCount + 1; k <= kTemplatePorts; ++k) {
        showControl(inputLabel(k), false);
        showControl(statusLine(k), false);
    }
    showControl(kSeparator, false);
    Rect status = control(kStatus).rect;
    status.left -= kCutPixels;
    status.right -= kCutPixels;
    setRect(kStatus, status);
    for (int id : {kListGroup, kListLine}) {
        Rect r = control(id).rect;
        r.right -= kCutPixels;
        setRect(id, r);
    }
}

void EdidPage::activate() {
    if (state().ControlMode == kModeTcp) {
        if (state().TcpConnected == 0) {
            popups_.notice(kNoLink, kNoticeMs, PagePopups::When::Always);
        }
        status_.refresh();
        replyMute_ = false;
        return;
    }
    if (state().ComPortOpen == 0) {
        popups_.notice(kNoCom, kNoticeMs, PagePopups::When::Always);
        return;
    }
    if (!link_.openSerial(state().SharedPort, session::kLine)) {
        popups_.notice(kNoCom, kNoticeMs, PagePopups::When::Always);
    }
    status_.refresh();
}

void EdidPage::onCommand(int id, int code) {
    if (code == CBN_SELCHANGE) {
        storeSelection(id);
        return;
    }
    if (code != BN_CLICKED) {
        return;
    }
    switch (id) {
    case kModeSet:
        if (guard(Operation::SetMode)) {
            modeCopy_.startSetMode();
        }
        break;
    case kCopySet:
        if (guard(Operation::Copy)) {
            modeCopy_.startCopy();
        }
        break;
    case kDownloadSet:
        if (guard(Operation::Download)) {
            download_.start();
        }
        break;
    case kStatus:
        replyMute_ = false;
        status_.start();
        break;
    case kOpenFile:
        replyMute_ = false;
        download_.openFile();
        break;
    case kFileDetails:
        inspector_.openDetails();
        break;
    default:
        break;
    }
}

void EdidPage::storeSelection(int id) {
    const int at = selection(id);
    if (at < 0) {
        return;
    }
    switch (id) {
    case kModeChoice:
        selections_.choice = at;
        break;
    case kModeTarget:
        selections_.modeTarget = at;
        break;
    case kCopySource:
        selections_.copySource = at;
        break;
    case kCopyTarget:
        selections_.copyTarget = at;
        break;
    case kDownloadTarget:
        selections_.downloadTarget = at;
        break;
    default:
        break;
    }
}

bool EdidPage::guard(Operation op) {
    replyMute_ = false;
    if (busy_) {
        popups_.notice(kPleaseWait, kNoticeMs, PagePopups::When::Always);
        return false;
    }
    op_ = op;
    return linkReady();
}

bool EdidPage::linkReady() {
    if (state().ControlMode == kModeTcp) {
        if (state().TcpConnected == 0) {
            popups_.notice(kNoLink, kNoticeMs, PagePopups::When::Always);
            return false;
        }
        return true;
    }
    if (!link_.serialOpen()) {
        popups_.notice(kNoCom, kNoticeMs, PagePopups::When::Always);
        return false;
    }
    return true;
}

void EdidPage::requestAccess() {
    access_.start(cmd::edidAccess());
    busy_ = true;
}

void EdidPage::onTimer(int id) {
    if (id == kNoticeTimer) {
        popups_.onNoticeTimer();
        return;
    }
    if (id == kAnimationTimer) {
        if (const std::string base = progressBase(op_); !base.empty()) {
            popups_.tickProgress(base);
        }
        return;
    }
    if (access_.onTimer(id) || modeCopy_.onTimer(id) || download_.onTimer(id)) {
        return;
    }
    status_.onTimer(id);
}

void EdidPage::timeOutA(const char* text) {
    popups_.stopAnimation();
    busy_ = false;
    if (popups_.noticeShows(kPleaseWait)) {
        setTimer(kNoticeTimer, kNoticeMs);
        postTabLock(*this, false);
        popups_.closeNotice();
        return;
    }
    popups_.notice(text, kNoticeMs, PagePopups::When::IfClosed);
    postTabLock(*this, false);
}

void EdidPage::timeOutB() {
    popups_.stopAnimation();
    popups_.notice(kTimeOut, kNoticeMs, PagePopups::When::IfClosed);
}

void EdidPage::timeOutC() {
    popups_.stopAnimation();
    busy_ = false;
    popups_.notice(kTimeOut, kNoticeMs, PagePopups::When::IfClosed);
}

LParam EdidPage::onMessage(unsigned msg, WParam wp, LParam lp) {
    LParam result = 0;
    switch (msg) {
    case WM_SERIAL_BYTE:
        // This page makes no checksum test of its own.
        if (const auto reply = link_.onSerialByte(wp, lp, result)) {
            dispatch(reply->frame);
        }
        break;
    case WM_TCP_EDID:
        if (const auto reply = link_.onTcpNotification(wp, lp)) {
            dispatch(reply->frame);
        }
        break;
    default:
        break;
    }
    return result;
}

void EdidPage::dispatch(const CommandFrame& f) {
    if (replyMute_ && state().ControlMode == kModeTcp) {
        return;
    }
    if (cmd::kEdidAccess.matches(f)) {
        onAccessGranted();
    } else if (modeCopy_.onReply(f) || download_.onReply(f)) {
        return;
    } else if (cmd::kStandby.matches(f)) {
        onStandby();
    } else if (status_.onReply(f)) {
        return;
    } else if (const auto report = reply::switchReport(f)) {
        onSwitchReport(*report);
    }
}

void EdidPage::onAccessGranted() {
    // A second grant (a doubled reply, or the answer to the repeat after the first answer)
    // would start the operation's next step a second time.
    if (!access_.waiting()) {
        return;
    }
    access_.stop();
    busy_ = false;
    switch (op_) {
    case Operation::SetMode:
    case Operation::Copy:
        modeCopy_.onAccessGranted(op_);
        break;
    case Operation::Download:
        download_.onAccessGranted();
        break;
    default:
        break;
    }
}

void EdidPage::onStandby() {
    for (int id = kFirstStandbyTimer; id <= kLastStandbyTimer; ++id) {
        killTimer(id);
    }
    popups_.stopAnimation();
    busy_ = false;
    if (popups_.noticeShown()) {
        popups_.closeNotice();
    }
    popups_.notice(kStandby, kLongNoticeMs, PagePopups::When::IfClosed);
}

void EdidPage::onSwitchReport(const reply::SwitchReport& report) {
    if (!report.refused()) {
        // The change may go on: ask again for what the report came in place of.
        if (op_ == Operation::SetMode || op_ == Operation::Download) {
            requestAccess();
        } else if (op_ == Operation::Copy) {
            modeCopy_.queryOutput();
        }
        return;
    }
    // The unit refuses the change. The operation ends here, its waits with it: a repeat would
    // only be refused again, and a give-up later would report a time-out for what was refused.
    access_.stop();
    modeCopy_.stopAll();
    download_.stopAll();
    popups_.stopAnimation();
    busy_ = false;
    if (popups_.noticeShown()) {
        popups_.closeNotice();
    }
    popups_.notice(kSwitchRefused, kLongNoticeMs, PagePopups::When::IfClosed);
}

} // namespace zentrel
