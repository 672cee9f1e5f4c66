#include "EdidModeCopy.h"

#include "EdidPage.h"
#include "EdidTexts.h"
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

EdidModeCopy::EdidModeCopy(EdidPage& page)
    : page_(page), defaultAll_(request(page, kDefaultAllTimer, kDefaultAllGiveUp)),
      builtInAll_(request(page, kBuiltInAllTimer, kBuiltInAllGiveUp)),
      defaultOne_(request(page, kDefaultOneTimer, kDefaultOneGiveUp)),
      builtInOne_(request(page, kBuiltInOneTimer, kBuiltInOneGiveUp)),
      copyAll_(request(page, kCopyAllTimer, kCopyAllGiveUp)),
      copyOne_(request(page, kCopyOneTimer, kCopyOneGiveUp)) {}

void EdidModeCopy::startSetMode() {
    page_.popups().startAnimation(progressStart(Operation::SetMode));
    page_.requestAccess();
    page_.popups().openProgress();
}

void EdidModeCopy::startCopy() {
    queryOutput();
    page_.popups().startAnimation(progressStart(Operation::Copy));
    page_.popups().openProgress();
}

void EdidModeCopy::queryOutput() {
    page_.sender().send(cmd::queryOutput(page_.selections().copySource + 1));
    page_.setTimer(kOutputCheckTimer, kReplyWaitMs);
}

void EdidModeCopy::onAccessGranted(Operation op) {
    const EdidPage::Selections& s = page_.selections();
    if (op == Operation::SetMode) {
        const bool all = s.modeTarget == kInputCount;
        const bool byDefault = s.choice == kDefaultChoice;
        if (all) {
            byDefault ? defaultAll_.start(cmd::defaultEdidAll())
                      : builtInAll_.start(cmd::builtInEdidAll(s.choice + 1));
        } else {
            byDefault ? defaultOne_.start(cmd::defaultEdid(s.modeTarget + 1))
                      : builtInOne_.start(cmd::builtInEdid(s.choice + 1, s.modeTarget + 1));
        }
    } else {
        const int output = s.copySource + 1;
        if (s.copyTarget == kInputCount) {
            copyAll_.start(cmd::copyEdidAll(output));
        } else {
            copyOne_.start(cmd::copyEdid(output, s.copyTarget + 1));
        }
    }
    page_.setBusy(true);
}

bool EdidModeCopy::onReply(const CommandFrame& f) {
    const EdidPage::Selections& s = page_.selections();
    const auto port = reply::portState(f);
    const auto builtInOne = reply::answer(cmd::kEdidBuiltIn, f);
    const auto copyOne = reply::answer(cmd::kEdidCopy, f);
    if (port && !port->input && port->port == s.copySource + 1) {
        onOutputCheck(*port);
    } else if (builtInOne && builtInOne->port == s.modeTarget + 1) {
        onSetOne(true);
    } else if (cmd::kEdidDefault.matches(f)) {
        onSetOne(false);
    } else if (cmd::kEdidBuiltInAll.matches(f)) {
        onSetAll(true);
    } else if (cmd::kEdidDefaultAll.matches(f)) {
        onSetAll(false);
    } else if (const auto copyAll = reply::answer(cmd::kEdidCopyAll, f)) {
        onCopyAll(*copyAll);
    } else if (copyOne && copyOne->port == s.copyTarget + 1) {
        onCopyOne(*copyOne);
    } else {
        return false;
    }
    return true;
}

void EdidModeCopy::onOutputCheck(const reply::PortState& output) {
    page_.killTimer(kOutputCheckTimer);
    if (!output.connected) {
        page_.popups().stopAnimation();
        page_.popups().notice(notConnectedText(page_.selections().copySource), kNoticeMs,
                              PagePopups::When::Always);
        return;
    }
    page_.requestAccess();
}

void EdidModeCopy::onSetOne(bool builtIn) {
    (builtIn ? builtInOne_ : defaultOne_).stop();
    page_.popups().stopAnimation();
    page_.setBusy(false);
    postTabLock(page_, false);
    const int target = page_.selections().modeTarget;
    if (builtIn) {
        page_.popups().closeNoticeShowing(kPleaseWait);
        page_.popups().notice(kSetOk, kNoticeMs, PagePopups::When::Always);
        queryTargetInput(target);
    } else {
        queryTargetInput(target);
        page_.popups().closeNoticeShowing(kPleaseWait);
    }
}

void EdidModeCopy::onSetAll(bool builtIn) {
    (builtIn ? builtInAll_ : defaultAll_).stop();
    page_.popups().stopAnimation();
    page_.setBusy(false);
    postTabLock(page_, false);
    if (builtIn) {
        page_.popups().closeNoticeShowing(kPleaseWait);
        page_.popups().notice(kSetOk, kNoticeMs, PagePopups::When::Always);
        page_.statusList().refresh();
    } else {
        page_.statusList().refresh();
        page_.popups().closeNoticeShowing(kPleaseWait);
    }
}

// The matrix says whether the copy worked, for all inputs as for one; a failure is reported as
// one, never as a success.
void EdidModeCopy::onCopyAll(const reply::Answer& copied) {
    copyAll_.stop();
    page_.popups().stopAnimation();
    page_.setBusy(false);
    postTabLock(page_, false);
    if (!copied.done) {
        page_.popups().closeNoticeShowing(kPleaseWait);
        page_.popups().notice(kCopyFailed, kNoticeMs, PagePopups::When::Always);
        return;
    }
    page_.popups().notice(kCopyOk, kNoticeMs, PagePopups::When::Always);
    page_.statusList().refresh();
    page_.popups().closeNoticeShowing(kPleaseWait);
}

void EdidModeCopy::onCopyOne(const reply::Answer& copied) {
    copyOne_.stop();
    page_.popups().stopAnimation();
    page_.setBusy(false);
    page_.popups().closeNoticeShowing(kPleaseWait);
    if (page_.popups().noticeShown()) {
        return;
    }
    if (copied.done) {
        page_.popups().notice(kCopyOk, kNoticeMs, PagePopups::When::Always);
        queryTargetInput(page_.selections().copyTarget);
    } else {
        page_.popups().notice(kCopyFailed, kNoticeMs, PagePopups::When::Always);
    }
}

void EdidModeCopy::queryTargetInput(int target) {
    if (target < kInputCount) {
        page_.statusList().queryOne(target + 1);
    }
}

bool EdidModeCopy::onTimer(int id) {
    if (id == kOutputCheckTimer) {
        page_.killTimer(id);
        page_.timeOutB();
        return true;
    }
    for (PendingRequest* r :
         {&defaultAll_, &builtInAll_, &defaultOne_, &builtInOne_, &copyAll_, &copyOne_}) {
        if (r->onTimer(id)) {
            return true;
        }
    }
    return false;
}

void EdidModeCopy::stopAll() {
    page_.killTimer(kOutputCheckTimer);
    for (PendingRequest* r :
         {&defaultAll_, &builtInAll_, &defaultOne_, &builtInOne_, &copyAll_, &copyOne_}) {
        r->stop();
    }
}

} // namespace zentrel::edid
