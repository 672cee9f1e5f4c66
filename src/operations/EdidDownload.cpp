#include "EdidDownload.h"

#include "EdidChangeRequest.h"
#include "platform/Window.h"
#include "protocol/Commands.h"
#include "protocol/Replies.h"
#include "session/PageLink.h"
#include "state/SharedState.h"

namespace zentrel::edid {

EdidDownload::EdidDownload(OperationHost host, const EdidTargets& targets,
                           const EdidFileBuffer& file, EdidChangeListener& listener)
    : host_(host), targets_(targets), file_(file), listener_(listener),
      oneInput_(changeRequest(host, listener, kDownloadOneTimer, kDownloadOneGiveUp)),
      allInputs_(changeRequest(host, listener, kDownloadAllTimer, kDownloadAllGiveUp)) {}

void EdidDownload::onAccessGranted() {
    const int target = targets_.downloadTarget;
    if (target < host_.state.size().inputs) {
        oneInput_.start(cmd::edidDownloadRequest(target + 1));
    } else {
        allInputs_.start(cmd::edidDownloadRequestAll());
    }
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
    if (!(allInputs ? allInputs_ : oneInput_).answered()) {
        return;
    }
    host_.link.sender().send(allInputs ? cmd::edidDataHeaderAll() : cmd::edidDataHeader());
    block_ = file_.block();
    host_.window.setTimer(kBlockDelayTimer, kBlockDelayMs);
    listener_.onDownloadReady();
}

void EdidDownload::sendBlock() {
    const SharedState& state = host_.state;
    if (state.ControlMode == kModeTcp && state.TcpConnected == 0) {
        // The connection is gone: the download cannot go on, and ends as a silent matrix ends
        // it, so the host is not left busy behind a wait nothing will end.
        listener_.onChangeTimedOut(kNoLink);
        return;
    }
    host_.link.sender().sendBlock(block_);
    host_.window.setTimer(kBlockTimer, kReplyWaitMs);
}

void EdidDownload::onResult(bool allInputs, std::uint8_t outcome) {
    // The result counts whenever the download runs: a refusal may come before the block has
    // left (in the gap after the header), and must not read later as a time-out. Once taken,
    // nothing of the download is left to go out, and a second copy says nothing again.
    Window& w = host_.window;
    const bool running = w.timerRunning(kBlockTimer) || w.timerRunning(kBlockDelayTimer) ||
                         oneInput_.waiting() || allInputs_.waiting();
    if (!running) {
        return;
    }
    stopAll();
    listener_.onDownloaded(allInputs, outcome);
}

bool EdidDownload::onTimer(int id) {
    switch (id) {
    case kBlockDelayTimer:
        host_.window.killTimer(id);
        sendBlock();
        return true;
    case kBlockTimer:
        host_.window.killTimer(id);
        listener_.onChangeTimedOut(kTimeOut);
        return true;
    default:
        return oneInput_.onTimer(id) || allInputs_.onTimer(id);
    }
}

void EdidDownload::stopAll() {
    oneInput_.stop();
    allInputs_.stop();
    host_.window.killTimer(kBlockDelayTimer);
    host_.window.killTimer(kBlockTimer);
}

} // namespace zentrel::edid
