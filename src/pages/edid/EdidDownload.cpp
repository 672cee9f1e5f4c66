#include "EdidDownload.h"
#include "EdidTexts.h"

#include "EdidPage.h"
#include "platform/Platform.h"
#include "protocol/Commands.h"
#include "protocol/Replies.h"
#include "session/TabLock.h"

namespace zentrel::edid {

namespace {

PendingRequest request(EdidPage& page, int first, int second) {
    return PendingRequest(
        page, RequestTimers{first, kReplyWaitMs, second, kReplyWaitMs},
        [&page](const CommandFrame& f) { page.sender().send(f); }, [&page] { page.timeOutA(); });
}

} // namespace

EdidDownload::EdidDownload(EdidPage& page)
    : page_(page), oneInput_(request(page, kDownloadOneTimer, kDownloadOneGiveUp)),
      allInputs_(request(page, kDownloadAllTimer, kDownloadAllGiveUp)) {}

void EdidDownload::openFile() {
    const std::optional<std::string> path = page_.context().platform.ui.openFile(kFileFilter);
    if (path) {
        takeFile(*path);
    }
}

void EdidDownload::takeFile(const std::string& path) {
    const std::optional<std::vector<std::uint8_t>> file = readEdidFile(path);
    const EdidFileVerdict verdict = file ? checkEdidFile(*file, buffer_.bytes())
                                         : EdidFileVerdict{EdidFileVerdict::Kind::Refuse, 0};
    switch (verdict.kind) {
    case EdidFileVerdict::Kind::Refuse:
        page_.popups().notice(kBadFile, kNoticeMs, PagePopups::When::IfClosed);
        page_.inspector().refused(path, file);
        return;
    case EdidFileVerdict::Kind::Ignore:
        return;
    case EdidFileVerdict::Kind::Accept:
        break;
    }
    buffer_.accept(*file);
    page_.setText(kFilePath, path);
    page_.sendLog().append(buffer_.bytes().first(verdict.used));
    page_.inspector().taken(path, buffer_.bytes().first(verdict.used));
}

void EdidDownload::start() {
    if (page_.text(kFilePath).empty()) {
        page_.popups().notice(kNoFile, kNoticeMs, PagePopups::When::Always);
        return;
    }
    page_.popups().startAnimation(progressStart(Operation::Download));
    page_.requestAccess();
    page_.popups().openProgress();
}

void EdidDownload::onAccessGranted() {
    const int target = page_.selections().downloadTarget;
    if (target < kInputCount) {
        oneInput_.start(cmd::edidDownloadRequest(target + 1));
    } else {
        allInputs_.start(cmd::edidDownloadRequestAll());
    }
    page_.setBusy(true);
}

bool EdidDownload::onReply(const CommandFrame& f) {
    const std::optional<reply::EdidDownloadAnswer> a = reply::edidDownloadAnswer(f);
    if (a && a->ready) {
        onReady(a->allInputs);
        return true;
    }
    if (a && a->result) {
        onResult(a->allInputs, a->code);
        return true;
    }
    return false;
}

void EdidDownload::onReady(bool allInputs) {
    // Only the first "ready" sends the header: a second one would put another header in front
    // of the block, and the matrix would take the block for garbage.
    if (!(allInputs ? allInputs_ : oneInput_).waiting()) {
        return;
    }
    (allInputs ? allInputs_ : oneInput_).stop();
    page_.sender().send(allInputs ? cmd::edidDataHeaderAll() : cmd::edidDataHeader());
    block_ = buffer_.block();
    page_.setTimer(kBlockDelayTimer, kBlockDelayMs);
    page_.setBusy(true);
}

void EdidDownload::sendBlock() {
    SharedState& state = page_.state();
    if (state.ControlMode == kModeTcp && state.TcpConnected == 0) {
        // The connection is gone: the download cannot go on, and ends as a silent matrix ends
        // it, so the page is not left busy behind a progress box nothing will close.
        page_.timeOutA(kNoLink);
        return;
    }
    page_.sender().sendBlock(block_);
    page_.setTimer(kBlockTimer, kReplyWaitMs);
}

void EdidDownload::onResult(bool allInputs, std::uint8_t outcome) {
    // The result counts whenever the download runs: a refusal may come before the block has
    // left (in the gap after the header), and must not read later as a time-out. Once taken,
    // nothing of the download is left to go out, and a second copy says nothing again.
    const bool running = page_.timerRunning(kBlockTimer) || page_.timerRunning(kBlockDelayTimer) ||
                         oneInput_.waiting() || allInputs_.waiting();
    if (!running) {
        return;
    }
    page_.killTimer(kBlockTimer);
    page_.killTimer(kBlockDelayTimer);
    oneInput_.stop();
    allInputs_.stop();
    page_.popups().stopAnimation();
    page_.setBusy(false);
    if (outcome == reply::kRefused) {
        page_.popups().notice(kDownloadFailed, kNoticeMs, PagePopups::When::Always);
    } else if (outcome == reply::kDone) {
        page_.popups().notice(kDownloadOk, kNoticeMs, PagePopups::When::Always);
        if (allInputs) {
            page_.statusList().refresh();
        } else if (page_.selections().downloadTarget < kInputCount) {
            page_.statusList().queryOne(page_.selections().downloadTarget + 1);
        }
    }
    postTabLock(page_, false);
    page_.popups().closeNoticeShowing(kPleaseWait);
}

bool EdidDownload::onTimer(int id) {
    switch (id) {
    case kBlockDelayTimer:
        page_.killTimer(id);
        sendBlock();
        return true;
    case kBlockTimer:
        page_.killTimer(id);
        page_.timeOutA();
        return true;
    default:
        return oneInput_.onTimer(id) || allInputs_.onTimer(id);
    }
}

void EdidDownload::stopAll() {
    oneInput_.stop();
    allInputs_.stop();
    page_.killTimer(kBlockDelayTimer);
    page_.killTimer(kBlockTimer);
}

} // namespace zentrel::edid
