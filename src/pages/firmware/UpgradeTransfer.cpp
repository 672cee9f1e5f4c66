#include "UpgradeTransfer.h"

#include "FirmwareIds.h"
#include "FirmwarePage.h"
#include "protocol/Commands.h"
#include "session/TabLock.h"
#include "state/SharedState.h"

#include <algorithm>

namespace zentrel {

namespace {

std::uint8_t u8(std::uint32_t v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}

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

UpgradeTransfer::UpgradeTransfer(FirmwarePage& page)
    : page_(page),
      part1Start_(
          page, {fw::kPart1Start, fw::kStartWaitMs, fw::kPart1StartAgain, fw::kStartWaitMs},
          [this](const CommandFrame& f) { page_.sendFrame(f); },
          [this] { fail(fw::kTimeOut, fw::kPart1WriteFailed); }),
      part2Start_(
          page, {fw::kPart2Start, fw::kStartWaitMs, fw::kPart2StartAgain, fw::kStartWaitMs},
          [this](const CommandFrame& f) { page_.sendFrame(f); },
          [this] { fail(fw::kTimeOut, fw::kPart2Failed); }),
      part3Start_(
          page, {fw::kPart3Start, fw::kStartWaitMs, fw::kPart3StartAgain, fw::kStartWaitMs},
          [this](const CommandFrame& f) { page_.sendFrame(f); },
          [this] { fail(fw::kTimeOut, nullptr); }),
      prepare1_(
          page,
          {fw::kPrepare1Wait, fw::kPrepare1WaitMs, fw::kPrepare1WaitAgain, fw::kPrepare1WaitMs},
          [this](const CommandFrame& f) { page_.sendFrame(f); },
          [this] { fail(fw::kTimeOut, fw::kPart1WriteFailed); }),
      prepare2_(
          page,
          {fw::kPrepare2Wait, fw::kPrepare2WaitMs, fw::kPrepare2WaitAgain, fw::kPrepare2WaitMs},
          [this](const CommandFrame& f) { page_.sendFrame(f); },
          [this] { fail(fw::kTimeOut, fw::kPart1WriteFailed); }),
      firstBlockWait_(
          page, {fw::kFirstBlockWait, fw::kBlockWaitMs, fw::kFirstBlockWaitAgain, fw::kBlockWaitMs},
          [this](const CommandFrame&) { sendHeaderAndBlock(); },
          [this] { fail(fw::kTimeOut, blockFailureLine()); }),
      blockWait_(
          page, {fw::kBlockWait, fw::kBlockWaitMs, fw::kBlockWaitAgain, fw::kBlockWaitAgainMs},
          [this](const CommandFrame&) { sendHeaderAndBlock(); },
          [this] { fail(fw::kTimeOut, blockFailureLine()); }) {}

bool UpgradeTransfer::running() const {
    return page_.state().UpgradeRunning;
}

CommandFrame UpgradeTransfer::ordinary(CommandFrame f) const {
    return blockId_ == cmd::kFirmwareBankId ? cmd::withBankMark(f) : f;
}

void UpgradeTransfer::start() {
    started_ = true;
    SharedState& s = page_.state();
    if (s.ControlMode == kModeTcp ? s.TcpConnected == 0 : !page_.link().isOpen()) {
        page_.popups().notice(s.ControlMode == kModeTcp ? fw::kNoLink : fw::kNoCom, fw::kNoticeMs,
                              PagePopups::When::Always);
        return;
    }
    // What an earlier run left waiting must not act on this one.
    stopAll();
    for (int id = fw::kFirstPollTimer; id <= fw::kRebootGiveUp; ++id) {
        page_.killTimer(id);
    }
    ends_ = {};
    blockId_ = 0;
    blockCounter_ = 0;
    progress_ = 0;
    prepareStep_ = 0;
    awaitingReboot_ = false;
    ackAwaited_ = false;
    s.UpgradeRunning = true;
    startPart(0);
}

void UpgradeTransfer::sendStart(PendingRequest* wait, const CommandFrame& f) {
    if (wait != nullptr) {
        wait->start(f);
    } else {
        page_.sendFrame(f);
    }
}

void UpgradeTransfer::startPart(std::size_t offset) {
    const FirmwareImage& image = page_.image();
    switch (image.markerAt(offset)) {
    case PartMarker::Part1:
        ends_[1] = image.length();
        sendStart(&part1Start_, ordinary(cmd::firmwarePartStart(1, cmd::kFirmwareStart)));
        page_.addLine(fw::kUpgradingPart1);
        page_.setRange(fw::kProgress, 0, static_cast<int>(ends_[1] - 2));
        stage_ = 1;
        break;
    case PartMarker::Part2:
        ends_[2] = image.partEnd(ends_[1] + 2);
        sendStart(&part2Start_, ordinary(cmd::firmwarePartStart(2, cmd::kFirmwareStart)));
        page_.addLine(fw::kUpgradingPart2);
        page_.setRange(fw::kProgress, 0, static_cast<int>(ends_[2] - ends_[1] - 2));
        stage_ = 2;
        break;
    case PartMarker::Part3:
        ends_[3] = image.partEnd(ends_[2] + 2);
        sendStart(&part3Start_, ordinary(cmd::firmwarePartStart(2, cmd::kFirmwarePart3Start)));
        stage_ = 3;
        break;
    case PartMarker::Part4:
        ends_[4] = image.partEnd(ends_[3] + 2);
        // Nothing ever answers Part 4's start, so it waits on Part 3's pair of timers (the two
        // never run together): repeated once, then "Time out!" ends the upgrade instead of
        // leaving it running and the tabs locked for good.
        sendStart(&part3Start_, ordinary(cmd::firmwarePartStart(4, cmd::kFirmwareStart)));
        stage_ = 4;
        break;
    case PartMarker::None:
        page_.popups().notice(fw::kUpgradeFailed, fw::kNoticeMs, PagePopups::When::Always);
        page_.state().UpgradeRunning = false;
        return;
    }
    sent_.clear();
    page_.enableUpgrade(false);
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
        if (!awaitingReboot_) {
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
        if (!part1Start_.waiting()) {
            return;
        }
        part1Start_.stop();
        page_.setTimer(fw::kPrepareTimer, fw::kPrepareDelayMs);
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
        nextBlock(1, blockCounter_, static_cast<std::uint32_t>((ends_[1] - 2) / 256));
    } else if (isComplete(f) && completionAwaited()) {
        onPartComplete(fw::kRebooting);
    }
}

void UpgradeTransfer::onPart2(const CommandFrame& f) {
    if (f[4] == cmd::kFirmwareReady && f[7] == 0) {
        if (!part2Start_.waiting()) {
            return;
        }
        part2Start_.stop();
        firstBlock(2);
    } else if (f[4] == cmd::kFirmwareWriteFailed && plainAnswer(f)) {
        onPart2WriteFailed();
    } else if (isBlockAck(f)) {
        if (!takeAck(f)) {
            return;
        }
        blockId_ = f[10] + 1u;
        nextBlock(2, blockId_, static_cast<std::uint32_t>((ends_[2] - ends_[1] - 2) / 256));
    } else if (isComplete(f) && completionAwaited()) {
        page_.addLine(fw::kPart2Complete);
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
        nextBlock(3, blockId_,
                  static_cast<std::uint32_t>((ends_[3] - ends_[2] - ends_[1] - 2) / 256));
    } else if (isComplete(f) && completionAwaited()) {
        // Without this the upgrade would wait for ever after Part 3's last block, tabs locked.
        onPartComplete(fw::kRebooting);
    }
}

std::size_t UpgradeTransfer::dataStart(int part) const {
    switch (part) {
    case 1:
        return 2;
    case 2:
        return ends_[1] + 2;
    default:
        return ends_[1] + ends_[2] + 2;
    }
}

void UpgradeTransfer::firstBlock(int part) {
    header_ = ordinary(cmd::firmwareBlockHeader(part, 0));
    page_.sendFrame(header_);
    sent_.assign(1, true);
    awaitingCompletion_ = false;
    lastHeaderSent_ = false;
    ackAwaited_ = true;
    page_.setTimer(fw::kFirstBlockTimer, fw::kFirstBlockDelayMs);
    prepareBlock(dataStart(part), part != 3);
}

void UpgradeTransfer::nextBlock(int part, std::uint32_t index, std::uint32_t lastIndex) {
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
        blockWait_.await(header_);
        return;
    }
    if (index < sent_.size() && sent_[index]) {
        failBlock();
        return;
    }
    header_ = index == lastIndex ? cmd::firmwareLastBlockHeader(part, u8(blockId_))
                                 : ordinary(cmd::firmwareBlockHeader(part, u8(blockId_)));
    page_.sendFrame(header_);
    ackAwaited_ = true;
    lastHeaderSent_ = index == lastIndex;
    if (sent_.size() <= index) {
        sent_.resize(index + 1, false);
    }
    sent_[index] = true;
    // The gap runs from the acknowledgement: what preparing the block costs (the progress bar
    // moves 256 times) falls inside it instead of adding to every block.
    page_.setTimer(fw::kNextBlockTimer, fw::kNextBlockDelayMs);
    prepareBlock(dataStart(part) + FirmwareImage::kBlockBytes * index, part != 3);
}

bool UpgradeTransfer::takeAck(const CommandFrame& f) {
    // The header of id F0 carries B0 01; the matrix answers it with B0 01 where it closes the
    // first bank and with 40 F0 elsewhere.
    const bool bank = header_[9] == cmd::kFirmwareBankMark && f[9] == cmd::kFirmwareMark &&
                      f[10] == cmd::kFirmwareBankId;
    const bool same = f[9] == header_[9] && f[10] == header_[10];
    if (!ackAwaited_ || !(same || bank)) {
        return false;
    }
    ackAwaited_ = false; // taken: a repeat of it is passed over
    stopBlockWaits();
    return true;
}

bool UpgradeTransfer::completionAwaited() const {
    // Only the part's last block is answered by its completion; a doubled completion, or one
    // before the last block went out, would report blocks the matrix never had.
    return !awaitingReboot_ && (lastHeaderSent_ || awaitingCompletion_);
}

void UpgradeTransfer::prepareBlock(std::size_t start, bool counts) {
    const FirmwareImage& image = page_.image();
    blockStart_ = start;
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < FirmwareImage::kBlockBytes; ++i) {
        const std::uint8_t b = image.at(start + i);
        block_[i + 1] = b;
        sum = static_cast<std::uint8_t>(sum + b);
        if (counts) {
            ++progress_;
            showProgress();
        }
    }
    block_[0] = static_cast<std::uint8_t>(0 - sum);
}

void UpgradeTransfer::showProgress() {
    // A bar ignores a position past its end, and the last block reaches past the part's end:
    // held at the end, a finished part shows a full bar.
    const int end = page_.control(fw::kProgress).rangeMax;
    page_.setPosition(fw::kProgress, std::min(static_cast<int>(progress_), end));
}

void UpgradeTransfer::sendHeaderAndBlock() {
    // A repeat sends the header that went before the block, in every part: a block without its
    // header would reach the matrix as stray bytes. Its answer is awaited again, also after a
    // part's last acknowledgement: a matrix that acknowledges the repeat instead of completing
    // the part ends the upgrade.
    page_.sendFrame(header_);
    ackAwaited_ = true;
    page_.sendBlock(block_);
}

void UpgradeTransfer::stopBlockWaits() {
    firstBlockWait_.stop();
    blockWait_.stop();
}

void UpgradeTransfer::onPartComplete(const char* line) {
    stopBlockWaits();
    awaitingReboot_ = true;
    page_.addLine(line);
    poll();
    page_.setTimer(fw::kFirstPollTimer, fw::kPollMs);
}

void UpgradeTransfer::poll() {
    page_.sendFrame(ordinary(cmd::withFirmwareMark(cmd::queryDeviceType())));
}

bool UpgradeTransfer::onTimer(int id) {
    switch (id) {
    case fw::kPrepareTimer:
        page_.killTimer(id);
        prepare1_.start(ordinary(cmd::firmwarePartStart(1, cmd::kFirmwarePrepare1)));
        return true;
    case fw::kFirstBlockTimer:
        page_.killTimer(id);
        page_.sendBlock(block_);
        firstBlockWait_.await(header_);
        return true;
    case fw::kNextBlockTimer:
        page_.killTimer(id);
        page_.sendBlock(block_);
        blockWait_.await(header_);
        return true;
    case fw::kRebootGiveUp:
        page_.killTimer(id);
        fail(fw::kTimeOut, fw::kPart1WriteFailed);
        return true;
    default:
        break;
    }
    if (id >= fw::kFirstPollTimer && id <= fw::kLastPollTimer) {
        page_.killTimer(id);
        poll();
        page_.setTimer(id + 1, fw::kPollMs);
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
    awaitingReboot_ = false;
    progress_ = 0;
    page_.addLine(fw::kRebootOk);
    for (int id = fw::kFirstPollTimer; id <= fw::kRebootGiveUp; ++id) {
        page_.killTimer(id);
    }
    blockWait_.stop();
    const std::size_t length = page_.image().length();
    if (stage_ == 1) {
        page_.addLine(fw::kPart1Complete);
    } else if (stage_ == 2 && ends_[2] < length) {
        startNextPart(ends_[2]);
        return;
    } else if (stage_ == 3 && ends_[3] < length) {
        startNextPart(ends_[3]);
        return;
    }
    page_.addLine(fw::kSuccess);
    page_.enableUpgrade(true);
    page_.setPosition(fw::kProgress, 0);
    blockCounter_ = 0;
    page_.state().UpgradeRunning = false;
    postTabLock(page_, false);
}

void UpgradeTransfer::startNextPart(std::size_t offset) {
    // Only Part 3 may follow Part_2, and nothing Part 3 (the scan stops only at Part_2 and
    // Part 3 markers). The offsets of a part are counted from the first ones, so another
    // Part_2 or Part 3 marker would send the same part again after every reboot, for ever.
    if (stage_ != 2 || page_.image().markerAt(offset) != PartMarker::Part3) {
        fail(fw::kUpgradeFailed, nullptr);
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

void UpgradeTransfer::fail(const char* notice, const char* line) {
    // Ended before the notice opens: while it shows, its loop hands on replies, and a late
    // answer would otherwise move the ended upgrade on.
    page_.state().UpgradeRunning = false;
    page_.popups().notice(notice, fw::kNoticeMs, PagePopups::When::IfClosed);
    page_.enableUpgrade(true);
    if (line != nullptr) {
        page_.addLine(line);
    }
    postTabLock(page_, false);
}

void UpgradeTransfer::failBlock() {
    stopBlockWaits();
    fail(fw::kUpgradeFailed, blockFailureLine());
}

void UpgradeTransfer::stopAll() {
    for (PendingRequest* r : {&part1Start_, &part2Start_, &part3Start_, &prepare1_, &prepare2_,
                              &firstBlockWait_, &blockWait_}) {
        r->stop();
    }
    for (int id : {fw::kPrepareTimer, fw::kFirstBlockTimer, fw::kNextBlockTimer}) {
        page_.killTimer(id);
    }
}

void UpgradeTransfer::onPart1WriteFailed() {
    // The upgrade ends here, so nothing it was waiting for may go out again afterwards.
    stopAll();
    page_.state().UpgradeRunning = false;
    page_.popups().notice(fw::kPart1WriteFailedNotice, fw::kNoticeMs, PagePopups::When::Always);
    page_.enableUpgrade(true);
    page_.addLine(fw::kPart1WriteFailed);
    postTabLock(page_, false);
}

void UpgradeTransfer::onPart2WriteFailed() {
    page_.ui().messageBox(page_, fw::kPart2WriteFailedBox, fw::kAppTitle);
    page_.addLine(fw::kPart2WriteFailed);
    page_.enableUpgrade(true);
}

void UpgradeTransfer::onStandby() {
    // The page has stopped every timer: a transfer that was under way has ended, and Upgrade
    // must be usable again once the matrix is back.
    page_.enableUpgrade(true);
    postTabLock(page_, false);
}

} // namespace zentrel
