#include "UpgradeTransfer.h"

#include "UpgradeIds.h"
#include "platform/Window.h"
#include "protocol/Commands.h"
#include "session/PageLink.h"
#include "session/TabLock.h"
#include "state/SharedState.h"

#include <algorithm>

namespace zentrel {

namespace {

// Bytes 6, 7, 8 and 10 all 0: the shape of a ready, a write failure and a preparation's answer.
bool plainAnswer(const CommandFrame& f) {
    return f[6] == 0 && f[7] == 0 && f[8] == 0 && f[10] == 0;
}
bool isBlockAck(const CommandFrame& f) {
    return f[4] == cmd::kFirmwareDone && f[7] == 1 && f[8] == 1;
}
bool isComplete(const CommandFrame& f) {
    return f[4] == cmd::kFirmwareDone && f[6] == cmd::kFirmwareLast && f[7] == 0 && f[8] == 1;
}

} // namespace

UpgradeTransfer::UpgradeTransfer(OperationHost host, const FirmwareImage& image,
                                 UpgradeListener& listener)
    : host_(host), image_(image), listener_(listener), parts_(image),
      reboot_(
          host.window, [this] { send(ordinary(cmd::withFirmwareMark(cmd::queryDeviceType()))); },
          [this] { fail(session::kTimeOut, fw::kPart1WriteFailed, UpgradeEnd::TimedOut); }),
      part1Start_(
          request({fw::kPart1Start, fw::kStartWaitMs, fw::kPart1StartAgain, fw::kStartWaitMs},
                  fw::kPart1WriteFailed)),
      part2Start_(
          request({fw::kPart2Start, fw::kStartWaitMs, fw::kPart2StartAgain, fw::kStartWaitMs},
                  fw::kPart2Failed)),
      part3Start_(request(
          {fw::kPart3Start, fw::kStartWaitMs, fw::kPart3StartAgain, fw::kStartWaitMs}, nullptr)),
      prepare1_(request(
          {fw::kPrepare1Wait, fw::kPrepare1WaitMs, fw::kPrepare1WaitAgain, fw::kPrepare1WaitMs},
          fw::kPart1WriteFailed)),
      prepare2_(request(
          {fw::kPrepare2Wait, fw::kPrepare2WaitMs, fw::kPrepare2WaitAgain, fw::kPrepare2WaitMs},
          fw::kPart1WriteFailed)),
      firstBlockWait_(blockRequest(
          {fw::kFirstBlockWait, fw::kBlockWaitMs, fw::kFirstBlockWaitAgain, fw::kBlockWaitMs})),
      blockWait_(blockRequest(
          {fw::kBlockWait, fw::kBlockWaitMs, fw::kBlockWaitAgain, fw::kBlockWaitAgainMs})) {}

PendingRequest UpgradeTransfer::request(RequestTimers timers, const char* giveUpLine) {
    return PendingRequest(
        host_.window, timers, [this](const CommandFrame& f) { send(f); },
        [this, giveUpLine] { fail(session::kTimeOut, giveUpLine, UpgradeEnd::TimedOut); });
}

PendingRequest UpgradeTransfer::blockRequest(RequestTimers timers) {
    return PendingRequest(
        host_.window, timers, [this](const CommandFrame&) { sendHeaderAndBlock(); },
        [this] { fail(session::kTimeOut, blockFailureLine(), UpgradeEnd::TimedOut); });
}

bool UpgradeTransfer::running() const {
    return host_.state.UpgradeRunning;
}

CommandFrame UpgradeTransfer::ordinary(const CommandFrame& f) const {
    return UpgradeBlock::ordinary(f, blockId_);
}

void UpgradeTransfer::send(const CommandFrame& f) {
    // The send log gets a line break for each frame, never its bytes.
    host_.link.sender().route(f.bytes);
    host_.link.sendLog().appendText("\r\n");
}

void UpgradeTransfer::sendBlock() {
    // The block leaves first: the log's announcement reads the same, and writing it never
    // holds the block back.
    host_.link.sender().route(block_.bytes());
    host_.link.sendLog().appendText("Send data:\r\n");
}

void UpgradeTransfer::start() {
    started_ = true;
    SharedState& s = host_.state;
    if (s.ControlMode == kModeTcp ? s.TcpConnected == 0 : !host_.link.serialOpen()) {
        listener_.upgradeNotice(s.ControlMode == kModeTcp ? session::kNoLink : session::kNoCom,
                                true);
        ended(UpgradeEnd::NoLink);
        return;
    }
    // What an earlier run left waiting must not act on this one.
    stopAll();
    reboot_.stop();
    parts_.reset();
    blockId_ = 0;
    blockCounter_ = 0;
    progress_ = 0;
    prepareStep_ = 0;
    block_.clear();
    s.UpgradeRunning = true;
    startPart(0);
}

void UpgradeTransfer::startPart(std::size_t offset) {
    const int part = parts_.open(offset);
    if (part == 0) {
        listener_.upgradeNotice(fw::kUpgradeFailed, true);
        host_.state.UpgradeRunning = false;
        ended(UpgradeEnd::Failed);
        return;
    }
    // Nothing ever answers Part 4's start, so it waits on Part 3's pair of timers (the two
    // never run together): repeated once, then "Time out!" ends the upgrade instead of leaving
    // it running and the tabs locked for good.
    PendingRequest& wait = part == 1 ? part1Start_ : part == 2 ? part2Start_ : part3Start_;
    wait.start(ordinary(UpgradeParts::startFrame(part)));
    if (part <= 2) {
        listener_.upgradeLine(part == 1 ? fw::kUpgradingPart1 : fw::kUpgradingPart2);
        barEnd_ = parts_.barEnd(part);
    }
    stage_ = part;
    listener_.upgradePart({part, 0, parts_.lastIndex(part) + 1, 0, barEnd_, part <= 2});
    block_.newPart();
    listener_.upgradeControls(false);
}

bool UpgradeTransfer::onReply(const CommandFrame& f) {
    if (f.group() == cmd::kFirmwareGroup) {
        // Once the upgrade has ended, a late answer moves nothing on; nor does an answer about
        // a part other than the one being sent, whose offsets would take blocks from outside
        // the part or past the image. Part 3 is readied by an answer of command 2.
        if (running()) {
            switch (f.command()) {
            case 1:
                if (stage_ == 1) {
                    onPart1(f);
                }
                break;
            case 2:
                if (stage_ == 2) {
                    onPart2(f);
                } else if (stage_ == 3 && f[4] == cmd::kFirmwareLast && f[7] == 0 &&
                           part3Start_.waiting()) {
                    part3Start_.stop();
                    firstBlock(3); // Part 3 is ready
                }
                break;
            case 3:
                if (stage_ == 3) {
                    onPart3(f);
                }
                break;
            default:
                break;
            }
        }
        return true;
    }
    const bool deviceInfo =
        cmd::kDeviceType.matches(f) || cmd::kModel.matches(f) || cmd::kVersion.matches(f);
    if (!started_ || !deviceInfo) {
        return false;
    }
    if (cmd::kDeviceType.matches(f) && running()) {
        // Only the wait after a part's completion expects the matrix to start again. A start-up
        // report anywhere else means it reset in the middle of the transfer (a power dip) and
        // holds part of the image only: that is a failure of the part, never a success.
        if (!reboot_.awaiting()) {
            stopAll();
            failBlock();
        } else if (f[4] == 1 && f[5] == 0) {
            onRebootReport();
        }
    }
    return true;
}

void UpgradeTransfer::onPart1(const CommandFrame& f) {
    // Answers count only while their request waits: a doubled answer would run a step twice.
    if (f[4] == cmd::kFirmwareReady && plainAnswer(f)) {
        if (!part1Start_.answered()) {
            return;
        }
        host_.window.setTimer(fw::kPrepareTimer, fw::kPrepareDelayMs);
    } else if (f[4] == cmd::kFirmwareWriteFailed && plainAnswer(f)) {
        onPart1WriteFailed();
    } else if (f[4] == cmd::kFirmwareDone && plainAnswer(f)) {
        if (!(prepareStep_ == 0 ? prepare1_ : prepare2_).waiting()) {
            return;
        }
        if (prepareStep_ == 0) {
            prepare1_.stop();
            prepare2_.start(ordinary(cmd::firmwarePartStart(1, cmd::kFirmwarePrepare2)));
            prepareStep_ = 1;
        } else {
            prepare2_.stop();
            prepareStep_ = 0;
            firstBlock(1);
        }
    } else if (isBlockAck(f)) {
        if (!takeAck(f)) {
            return;
        }
        if (f[9] == cmd::kFirmwareBankMark) {
            blockCounter_ = 255;
            blockId_ = 0;
            progress_ += 3840;
        } else if (f[9] == cmd::kFirmwareMark) {
            blockId_ = f[10] + 1u;
        }
        ++blockCounter_;
        nextBlock(1, blockCounter_);
    } else if (isComplete(f) && completionAwaited()) {
        onPartComplete(fw::kRebooting);
    }
}

void UpgradeTransfer::onPart2(const CommandFrame& f) {
    if (f[4] == cmd::kFirmwareReady && f[7] == 0) {
        if (!part2Start_.answered()) {
            return;
        }
        firstBlock(2);
    } else if (f[4] == cmd::kFirmwareWriteFailed && plainAnswer(f)) {
        onPart2WriteFailed();
    } else if (isBlockAck(f)) {
        if (!takeAck(f)) {
            return;
        }
        blockId_ = f[10] + 1u;
        nextBlock(2, blockId_);
    } else if (isComplete(f) && completionAwaited()) {
        listener_.upgradeLine(fw::kPart2Complete);
        onPartComplete(fw::kRebooting);
    }
}

void UpgradeTransfer::onPart3(const CommandFrame& f) {
    if (isBlockAck(f)) {
        // Part 3's acknowledgement stops the block waits as the others do: left running, they
        // would repeat a block the matrix has taken and end a good transfer as a time-out.
        if (!takeAck(f)) {
            return;
        }
        blockId_ = f[10] + 1u;
        nextBlock(3, blockId_);
    } else if (isComplete(f) && completionAwaited()) {
        // Without this the upgrade would wait for ever after Part 3's last block, tabs locked.
        onPartComplete(fw::kRebooting);
    }
}

void UpgradeTransfer::firstBlock(int part) {
    block_.first(part, blockId_);
    send(block_.header());
    awaitingCompletion_ = false;
    host_.window.setTimer(fw::kFirstBlockTimer, fw::kFirstBlockDelayMs);
    prepareBlock(part, 0);
}

void UpgradeTransfer::nextBlock(int part, std::uint32_t index) {
    const std::uint32_t lastIndex = parts_.lastIndex(part);
    if (index > lastIndex) {
        // The part is through and its completion reply comes next. Should it be lost (over TCP
        // a reply that arrives with another is dropped), the wait repeats the last block and
        // then gives up, so the upgrade ends instead of holding the tabs for ever.
        // A matrix that goes on acknowledging without completing ends it at the second time.
        if (awaitingCompletion_) {
            failBlock();
            return;
        }
        awaitingCompletion_ = true;
        blockWait_.await(block_.header());
        return;
    }
    if (!block_.next(part, index, blockId_, index == lastIndex)) {
        failBlock();
        return;
    }
    send(block_.header());
    // The gap runs from the acknowledgement: what preparing the block costs falls inside it
    // instead of adding to every block.
    host_.window.setTimer(fw::kNextBlockTimer, fw::kNextBlockDelayMs);
    prepareBlock(part, index);
}

void UpgradeTransfer::prepareBlock(int part, std::uint32_t index) {
    block_.slice(image_, parts_.dataStart(part) + FirmwareImage::kBlockBytes * index);
    const std::uint32_t all = parts_.lastIndex(part) + 1;
    if (part == 3) {
        // Part 3 has no bar of its own.
        listener_.upgradeProgress({part, index, all, 0, barEnd_, false});
        return;
    }
    // The bar moves with every byte copied. A bar ignores a position past its end, and the
    // last block reaches past the part's end: held at the end, a finished part shows a full
    // bar.
    for (std::size_t i = 0; i < FirmwareImage::kBlockBytes; ++i) {
        ++progress_;
        listener_.upgradeProgress(
            {part, index, all, std::min(static_cast<int>(progress_), barEnd_), barEnd_, true});
    }
}

bool UpgradeTransfer::takeAck(const CommandFrame& f) {
    if (!block_.takeAck(f)) {
        return false;
    }
    stopBlockWaits();
    return true;
}

bool UpgradeTransfer::completionAwaited() const {
    // Only the part's last block is answered by its completion; a doubled completion, or one
    // before the last block went out, would report blocks the matrix never had.
    return !reboot_.awaiting() && (block_.lastSent() || awaitingCompletion_);
}

void UpgradeTransfer::sendHeaderAndBlock() {
    // A repeat sends the header that went before the block, in every part: a block without its
    // header would reach the matrix as stray bytes. Its answer is awaited again, also after a
    // part's last acknowledgement: a matrix that acknowledges the repeat instead of completing
    // the part ends the upgrade.
    send(block_.header());
    block_.awaitAgain();
    sendBlock();
}

void UpgradeTransfer::stopBlockWaits() {
    firstBlockWait_.stop();
    blockWait_.stop();
}

void UpgradeTransfer::onPartComplete(const char* line) {
    stopBlockWaits();
    const std::uint32_t all = parts_.lastIndex(stage_) + 1;
    listener_.upgradeLine(line);
    listener_.upgradeProgress(
        {stage_, all, all, std::min(static_cast<int>(progress_), barEnd_), barEnd_, false});
    reboot_.start();
}

bool UpgradeTransfer::onTimer(int id) {
    switch (id) {
    case fw::kPrepareTimer:
        host_.window.killTimer(id);
        prepare1_.start(ordinary(cmd::firmwarePartStart(1, cmd::kFirmwarePrepare1)));
        return true;
    case fw::kFirstBlockTimer:
        host_.window.killTimer(id);
        sendBlock();
        firstBlockWait_.await(block_.header());
        return true;
    case fw::kNextBlockTimer:
        host_.window.killTimer(id);
        sendBlock();
        blockWait_.await(block_.header());
        return true;
    default:
        break;
    }
    if (reboot_.onTimer(id)) {
        return true;
    }
    for (PendingRequest* r : {&part1Start_, &part2Start_, &part3Start_, &prepare1_, &prepare2_,
                              &firstBlockWait_, &blockWait_}) {
        if (r->onTimer(id)) {
            return true;
        }
    }
    return false;
}

void UpgradeTransfer::onRebootReport() {
    progress_ = 0;
    listener_.upgradeLine(fw::kRebootOk);
    reboot_.stop();
    blockWait_.stop();
    if (stage_ == 1) {
        listener_.upgradeLine(fw::kPart1Complete);
    } else if (const std::size_t next = parts_.nextOffset(stage_); next != 0) {
        startNextPart(next);
        return;
    }
    listener_.upgradeLine(fw::kSuccess);
    listener_.upgradeControls(true);
    listener_.upgradeProgress({stage_, 0, 0, 0, barEnd_, true});
    blockCounter_ = 0;
    host_.state.UpgradeRunning = false;
    postTabLock(host_.window, false);
    ended(UpgradeEnd::Success);
}

void UpgradeTransfer::startNextPart(std::size_t offset) {
    if (!parts_.mayFollow(stage_, offset)) {
        fail(fw::kUpgradeFailed, nullptr, UpgradeEnd::Failed);
        return;
    }
    startPart(offset);
}

const char* UpgradeTransfer::blockFailureLine() const {
    switch (stage_) {
    case 1:
        return fw::kPart1Failed;
    case 2:
        return fw::kPart2Failed;
    default:
        return nullptr;
    }
}

void UpgradeTransfer::fail(const char* notice, const char* line, UpgradeEnd end) {
    // Ended before the notice opens: while it shows, its loop hands on replies, and a late
    // answer would otherwise move the ended upgrade on.
    host_.state.UpgradeRunning = false;
    listener_.upgradeNotice(notice, false);
    listener_.upgradeControls(true);
    if (line != nullptr) {
        listener_.upgradeLine(line);
    }
    postTabLock(host_.window, false);
    ended(end);
}

void UpgradeTransfer::failBlock() {
    stopBlockWaits();
    fail(fw::kUpgradeFailed, blockFailureLine(), UpgradeEnd::Failed);
}

void UpgradeTransfer::stopAll() {
    for (PendingRequest* r : {&part1Start_, &part2Start_, &part3Start_, &prepare1_, &prepare2_,
                              &firstBlockWait_, &blockWait_}) {
        r->stop();
    }
    for (int id : {fw::kPrepareTimer, fw::kFirstBlockTimer, fw::kNextBlockTimer}) {
        host_.window.killTimer(id);
    }
}

void UpgradeTransfer::onPart1WriteFailed() {
    // The upgrade ends here, so nothing it was waiting for may go out again afterwards.
    stopAll();
    host_.state.UpgradeRunning = false;
    listener_.upgradeNotice(fw::kPart1WriteFailedNotice, true);
    listener_.upgradeControls(true);
    listener_.upgradeLine(fw::kPart1WriteFailed);
    postTabLock(host_.window, false);
    ended(UpgradeEnd::Failed);
}

void UpgradeTransfer::onPart2WriteFailed() {
    // The page goes on waiting for Part_2's start; a host without a user to close the box
    // ends there.
    listener_.upgradeBox(fw::kPart2WriteFailedBox);
    listener_.upgradeLine(fw::kPart2WriteFailed);
    listener_.upgradeControls(true);
}

void UpgradeTransfer::onStandby() {
    // Every wait has ended with the matrix asleep, and Upgrade must be usable again once it is
    // back.
    stopAll();
    reboot_.stop();
    listener_.upgradeControls(true);
    postTabLock(host_.window, false);
    ended(UpgradeEnd::Standby);
}

void UpgradeTransfer::ended(UpgradeEnd end) {
    listener_.upgradeEnded(end);
}

} // namespace zentrel
