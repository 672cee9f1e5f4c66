#include "EdidPage.h"

#include "EdidPageTemplate.h"
#include "app/PanelProfiles.h"
#include "operations/EdidTexts.h"
#include "platform/Platform.h"
#include "protocol/Commands.h"
#include "protocol/Replies.h"
#include "session/TabLock.h"

#include <array>

namespace zentrel {

using namespace edid;

EdidPage::EdidPage(PageContext& ctx)
    : PageShell(
          ctx, kPageEdid,
          {kSendLog, kReceiveLog, false, {&ctx.traffic, kPageEdid}, ReplyAssembler::Options{true}},
          {kNoticeTimer, kAnimationTimer, 0, true}),
      file_(*this), change_(host(), selections_, file_.buffer(), *this), status_(host(), *this),
      inspector_(*this), layout_(*this) {}

EdidPage::~EdidPage() = default;

const DialogTemplate& EdidPage::pageTemplate() const {
    return edidPageTemplate();
}

void EdidPage::onInitDialog() {
    for (int id : {kReceiveFrame, kSendFrame, kReceiveLog, kSendLog, kLogClear}) {
        showControl(id, false);
    }
    setTooltip(kOpenFile, "Open");
    for (int p = 0; p < kChoiceCount; ++p) {
        addItem(kModeChoice, choiceText(p));
    }
    setSelection(kModeChoice, selections_.choice);
    layout_.apply(ctx_.state.size(), selections_);
    for (int k = 1; k <= kTemplatePorts; ++k) {
        setText(statusLine(k), kDefaultEdidText);
    }

    if (ctx_.state.ControlMode == kModeCom && ctx_.state.SharedPort != 0) {
        link_.openSerial(ctx_.state.SharedPort, session::kLine);
    }
    showNames(ctx_.profiles.names());
}

void EdidPage::showNames(const PortNames& names) {
    if (!created()) {
        return;
    }
    // Entries are made again only where their text changes, in their place, so every list
    // keeps what it has chosen.
    const auto rename = [&](int list, int at, const std::string& text) {
        if (control(list).items[static_cast<std::size_t>(at)] != text) {
            const int chosen = selection(list);
            deleteItem(list, at);
            insertItem(list, at, text);
            setSelection(list, chosen);
        }
    };
    for (int list : {kModeTarget, kCopyTarget, kDownloadTarget}) {
        for (int at = 0; at < itemCount(list); ++at) {
            if (control(list).items[static_cast<std::size_t>(at)] != kAllInputs) {
                rename(list, at, PortNames::after(inputItem(at + 1), names.input(at + 1)));
            }
        }
    }
    for (int at = 0; at < itemCount(kCopySource); ++at) {
        rename(kCopySource, at,
               PortNames::after("HDMI OUT " + outputLetter(at), names.output(at + 1)));
    }
}

void EdidPage::activate() {
    // The unit on the link may be another size than the one the page showed last.
    layout_.apply(ctx_.state.size(), selections_);
    showNames(ctx_.profiles.names());
    if (ctx_.state.ControlMode == kModeTcp) {
        if (ctx_.state.TcpConnected == 0) {
            popups_.notice(session::kNoLink, session::kNoticeMs, PagePopups::When::Always);
        }
        refresh();
        replyMute_ = false;
        return;
    }
    if (ctx_.state.ComPortOpen == 0) {
        popups_.notice(session::kNoCom, session::kNoticeMs, PagePopups::When::Always);
        return;
    }
    if (!link_.openSerial(ctx_.state.SharedPort, session::kLine)) {
        popups_.notice(session::kNoCom, session::kNoticeMs, PagePopups::When::Always);
    }
    refresh();
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
            startSetMode();
        }
        break;
    case kCopySet:
        if (guard(Operation::Copy)) {
            startCopy();
        }
        break;
    case kDownloadSet:
        if (guard(Operation::Download)) {
            startDownload();
        }
        break;
    case kStatus:
        replyMute_ = false;
        startStatus();
        break;
    case kOpenFile:
        replyMute_ = false;
        file_.openFile();
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
        popups_.notice(session::kPleaseWait, session::kNoticeMs, PagePopups::When::Always);
        return false;
    }
    op_ = op;
    return linkReady();
}

bool EdidPage::linkReady() {
    if (ctx_.state.ControlMode == kModeTcp) {
        if (ctx_.state.TcpConnected == 0) {
            popups_.notice(session::kNoLink, session::kNoticeMs, PagePopups::When::Always);
            return false;
        }
        return true;
    }
    if (!link_.serialOpen()) {
        popups_.notice(session::kNoCom, session::kNoticeMs, PagePopups::When::Always);
        return false;
    }
    return true;
}

void EdidPage::startSetMode() {
    popups_.startAnimation(progressStart(Operation::SetMode));
    change_.requestAccess();
    popups_.openProgress();
}

void EdidPage::startCopy() {
    change_.queryOutput();
    popups_.startAnimation(progressStart(Operation::Copy));
    popups_.openProgress();
}

void EdidPage::startDownload() {
    if (text(kFilePath).empty()) {
        popups_.notice(kNoFile, session::kNoticeMs, PagePopups::When::Always);
        return;
    }
    popups_.startAnimation(progressStart(Operation::Download));
    change_.requestAccess();
    popups_.openProgress();
}

void EdidPage::startStatus() {
    op_ = Operation::Status;
    if (!linkReady()) {
        return;
    }
    popups_.startAnimation(progressStart(Operation::Status));
    status_.start();
    busy_ = true;
    popups_.openProgress();
}

void EdidPage::refresh() {
    op_ = Operation::Refresh;
    status_.queryOne(1);
}

void EdidPage::queryTargetInput(int target) {
    if (target < ctx_.state.size().inputs) {
        status_.queryOne(target + 1);
    }
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
    if (!change_.onTimer(id)) {
        status_.onTimer(id);
    }
}

void EdidPage::endChange() {
    popups_.stopAnimation();
    busy_ = false;
    postTabLock(*this, false);
}

void EdidPage::onOutputMissing(int output) {
    popups_.stopAnimation();
    popups_.notice(notConnectedText(output), session::kNoticeMs, PagePopups::When::Always);
}

void EdidPage::onModeSet(bool builtIn, bool allInputs) {
    endChange();
    if (builtIn) {
        popups_.closeNoticeShowing(session::kPleaseWait);
        popups_.notice(session::kSetOk, session::kNoticeMs, PagePopups::When::Always);
    }
    allInputs ? refresh() : queryTargetInput(selections_.modeTarget);
    if (!builtIn) {
        popups_.closeNoticeShowing(session::kPleaseWait);
    }
}

// A failed copy is reported as one, never as a success.
void EdidPage::onCopied(bool allInputs, bool done) {
    if (allInputs) {
        endChange();
        if (!done) {
            popups_.closeNoticeShowing(session::kPleaseWait);
            popups_.notice(kCopyFailed, session::kNoticeMs, PagePopups::When::Always);
            return;
        }
        popups_.notice(kCopyOk, session::kNoticeMs, PagePopups::When::Always);
        refresh();
        popups_.closeNoticeShowing(session::kPleaseWait);
        return;
    }
    popups_.stopAnimation();
    busy_ = false;
    popups_.closeNoticeShowing(session::kPleaseWait);
    if (popups_.noticeShown()) {
        return;
    }
    if (done) {
        popups_.notice(kCopyOk, session::kNoticeMs, PagePopups::When::Always);
        queryTargetInput(selections_.copyTarget);
    } else {
        popups_.notice(kCopyFailed, session::kNoticeMs, PagePopups::When::Always);
    }
}

void EdidPage::onDownloaded(bool allInputs, std::uint8_t outcome) {
    popups_.stopAnimation();
    busy_ = false;
    if (outcome == reply::kRefused) {
        popups_.notice(kDownloadFailed, session::kNoticeMs, PagePopups::When::Always);
    } else if (outcome == reply::kDone) {
        popups_.notice(kDownloadOk, session::kNoticeMs, PagePopups::When::Always);
        allInputs ? refresh() : queryTargetInput(selections_.downloadTarget);
    }
    postTabLock(*this, false);
    popups_.closeNoticeShowing(session::kPleaseWait);
}

void EdidPage::onStatusRead(int k, std::uint8_t code) {
    setText(statusLine(k), statusText(code));
}

void EdidPage::onStatusDone() {
    popups_.stopAnimation();
    busy_ = false;
}

void EdidPage::onChangeTimedOut(const char* text) {
    popups_.stopAnimation();
    busy_ = false;
    if (popups_.noticeShows(session::kPleaseWait)) {
        setTimer(kNoticeTimer, session::kNoticeMs);
        postTabLock(*this, false);
        popups_.closeNotice();
        return;
    }
    popups_.notice(text, session::kNoticeMs, PagePopups::When::IfClosed);
    postTabLock(*this, false);
}

void EdidPage::onOutputCheckTimedOut() {
    popups_.stopAnimation();
    popups_.notice(session::kTimeOut, session::kNoticeMs, PagePopups::When::IfClosed);
}

void EdidPage::onStatusTimedOut() {
    popups_.stopAnimation();
    busy_ = false;
    popups_.notice(session::kTimeOut, session::kNoticeMs, PagePopups::When::IfClosed);
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
    if (replyMute_ && ctx_.state.ControlMode == kModeTcp) {
        return;
    }
    if (change_.onReply(f, op_)) {
        return;
    }
    if (cmd::kStandby.matches(f)) {
        onStandby();
    } else if (!status_.onReply(f, op_)) {
        change_.onSwitchReport(f, op_);
    }
}

void EdidPage::onStandby() {
    killTimers(kFirstStandbyTimer, kLastStandbyTimer);
    popups_.stopAnimation();
    busy_ = false;
    popups_.noticeInstead(session::kStandby, session::kStandbyNoticeMs);
}

void EdidPage::onChangeRefused() {
    popups_.stopAnimation();
    busy_ = false;
    popups_.noticeInstead(kSwitchRefused, session::kStandbyNoticeMs); // as long as standby's
}

} // namespace zentrel
