#pragma once
// The part-by-part transfer. Each part gets its start command and waits for the matrix to be
// ready (Part_1 also runs two preparations); then every block goes out as a header frame and a
// 257-byte block, and the next one is prepared when the matrix acknowledges the last. After a
// part's completion the page polls the rebooting matrix every 3 s until it reports back, then
// starts the next part of the file or reports success.
//
// Every wait is a PendingRequest with the page's own timer ids: the first expiry repeats what
// was sent, the second gives up and ends the upgrade with its Messages line.
#include "FirmwareImage.h"
#include "protocol/CommandFrame.h"
#include "session/PendingRequest.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zentrel {

class FirmwarePage;

class UpgradeTransfer {
public:
    static constexpr std::size_t kBlockSize = FirmwareImage::kBlockBytes + 1;

    explicit UpgradeTransfer(FirmwarePage& page);

    // The Upgrade button.
    void start();
    // A reply of the transfer; true when the frame was one (the page then looks no further).
    bool onReply(const CommandFrame& f);
    bool onTimer(int id);

    // The FW Upgrade tab was chosen: group-1 answers are device information again.
    void onSelected() { started_ = false; }
    // The matrix went to standby while the page's timers were all stopped.
    void onStandby();
    // Whether group-1 answers are reboot reports.
    bool started() const { return started_; }

    // Inspection, for tests.
    int stage() const { return stage_; }
    std::uint32_t blockId() const { return blockId_; }
    std::uint32_t blockCounter() const { return blockCounter_; }
    std::uint32_t progressCounter() const { return progress_; }
    const std::array<std::uint8_t, kBlockSize>& block() const { return block_; }
    // The image offset the prepared block was taken from.
    std::size_t blockStart() const { return blockStart_; }

private:
    bool running() const;
    // The page's ordinary frame builder: while the block id is F0, bytes 9 and 10 carry the
    // bank mark B0 01 instead of 40 and the id.
    CommandFrame ordinary(CommandFrame f) const;
    void startPart(std::size_t offset);
    // After a reboot report: the part at `offset`, or the end of the upgrade when it is none
    // that may follow the one just sent.
    void startNextPart(std::size_t offset);
    void sendStart(PendingRequest* wait, const CommandFrame& f);

    void onPart1(const CommandFrame& f);
    void onPart2(const CommandFrame& f);
    void onPart3(const CommandFrame& f);
    void onRebootReport();

    // After an acknowledgement: send the header of block `index` (the last-block header when it
    // is the part's last, `lastIndex`) and prepare the block; nothing when the part is through.
    void nextBlock(int part, std::uint32_t index, std::uint32_t lastIndex);
    void firstBlock(int part);
    std::size_t dataStart(int part) const;
    void prepareBlock(std::size_t start, bool counts);
    void showProgress();
    // Whether `f` acknowledges the block now awaited (by its id and bank mark); taking it
    // stops the block's waits. A repeat, or the answer for another block, is passed over.
    bool takeAck(const CommandFrame& f);
    bool completionAwaited() const;
    void sendHeaderAndBlock();
    void stopBlockWaits();
    void stopAll();
    void onPartComplete(const char* lineBefore);
    void poll();

    // Ends the upgrade: a notice when none shows, Upgrade enabled, the line, the tabs free.
    void fail(const char* notice, const char* line);
    void failBlock();
    const char* blockFailureLine() const;
    void onPart1WriteFailed();
    void onPart2WriteFailed();

    FirmwarePage& page_;
    bool started_ = false;
    int stage_ = 0;
    std::array<std::size_t, 5> ends_{}; // E1..E4 at 1..4
    std::uint32_t blockId_ = 0;
    std::uint32_t blockCounter_ = 0;
    std::uint32_t progress_ = 0;
    int prepareStep_ = 0;
    std::array<std::uint8_t, kBlockSize> block_{};
    std::size_t blockStart_ = 0;
    CommandFrame header_{};
    // Blocks of the current part already sent: an acknowledgement that asks for one again would
    // make the transfer go round for ever.
    std::vector<bool> sent_;
    bool awaitingCompletion_ = false; // the part's last block has been acknowledged
    bool lastHeaderSent_ = false;     // the part's last block is out, its completion due
    bool ackAwaited_ = false;         // the block in header_ is not acknowledged yet
    bool awaitingReboot_ = false;     // a part is complete and the matrix restarts

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
