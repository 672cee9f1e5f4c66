#pragma once
// The part-by-part firmware transfer. Each part gets its start command and waits for the matrix
// to be ready (Part_1 also runs two preparations); then every block goes out as a header frame
// and a 257-byte block, and the next one is prepared when the matrix acknowledges the last.
// After a part's completion the rebooting matrix is polled until it reports back, then the next
// part of the file starts or the upgrade has succeeded.
//
// Every wait is a PendingRequest with the page's own timer ids: the first expiry repeats what
// was sent, the second gives up and ends the upgrade with its Messages line. The host hands on
// every reply and timer of its window; what the user sees goes to the listener.
#include "FirmwareImage.h"
#include "OperationHost.h"
#include "RebootWait.h"
#include "UpgradeBlock.h"
#include "UpgradeListener.h"
#include "UpgradeParts.h"
#include "protocol/CommandFrame.h"
#include "session/PendingRequest.h"

#include <cstddef>
#include <cstdint>

namespace zentrel {

class UpgradeTransfer {
public:
    static constexpr std::size_t kBlockSize = UpgradeBlock::kSize;

    UpgradeTransfer(OperationHost host, const FirmwareImage& image, UpgradeListener& listener);

    // The Upgrade button.
    void start();
    // A reply of the transfer; true when the frame was one (the host then looks no further).
    bool onReply(const CommandFrame& f);
    bool onTimer(int id);

    // Group-1 answers are device information again (the FW Upgrade tab was chosen anew).
    void forgetStart() { started_ = false; }
    // The matrix went to standby: a transfer that was under way has ended.
    void onStandby();
    // Whether group-1 answers are reboot reports.
    bool started() const { return started_; }

    // Inspection, for tests.
    int stage() const { return stage_; }
    std::uint32_t blockId() const { return blockId_; }
    std::uint32_t blockCounter() const { return blockCounter_; }
    std::uint32_t progressCounter() const { return progress_; }
    const UpgradeBlock::Bytes& block() const { return block_.bytes(); }
    // The image offset the prepared block was taken from.
    std::size_t blockStart() const { return block_.start(); }

private:
    bool running() const;
    CommandFrame ordinary(const CommandFrame& f) const;
    void send(const CommandFrame& f);
    void sendBlock();
    PendingRequest request(RequestTimers timers, const char* giveUpLine);
    PendingRequest blockRequest(RequestTimers timers);

    void startPart(std::size_t offset);
    // After a reboot report: the part at `offset`, or the end of the upgrade when it is none
    // that may follow the one just sent.
    void startNextPart(std::size_t offset);

    void onPart1(const CommandFrame& f);
    void onPart2(const CommandFrame& f);
    void onPart3(const CommandFrame& f);
    void onRebootReport();

    // After an acknowledgement: send the header of block `index` and prepare the block;
    // nothing when the part is through.
    void nextBlock(int part, std::uint32_t index);
    void firstBlock(int part);
    void prepareBlock(int part, std::uint32_t index);
    bool takeAck(const CommandFrame& f);
    bool completionAwaited() const;
    void sendHeaderAndBlock();
    void stopBlockWaits();
    void stopAll();
    void onPartComplete(const char* line);

    // Ends the upgrade: a notice when none shows, Upgrade enabled, the line, the tabs free.
    void fail(const char* notice, const char* line, UpgradeEnd end);
    void failBlock();
    const char* blockFailureLine() const;
    void onPart1WriteFailed();
    void onPart2WriteFailed();
    void ended(UpgradeEnd end);

    OperationHost host_;
    const FirmwareImage& image_;
    UpgradeListener& listener_;
    UpgradeParts parts_;
    UpgradeBlock block_;
    RebootWait reboot_;
    bool started_ = false;
    int stage_ = 0;
    std::uint32_t blockId_ = 0;
    std::uint32_t blockCounter_ = 0;
    std::uint32_t progress_ = 0;
    int barEnd_ = 0;
    int prepareStep_ = 0;
    bool awaitingCompletion_ = false; // the part's last block has been acknowledged

    PendingRequest part1Start_;
    PendingRequest part2Start_;
    // Without its wait a lost Part 3 start left the upgrade running for ever, the tabs locked.
    PendingRequest part3Start_;
    PendingRequest prepare1_;
    PendingRequest prepare2_;
    PendingRequest firstBlockWait_;
    PendingRequest blockWait_;
};

} // namespace zentrel
