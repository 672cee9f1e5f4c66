#pragma once
// The block now under way and the header that announces it: every block goes out as a header
// frame and 257 bytes (its checksum, then 256 bytes of the image, zeros past its end), and
// only the acknowledgement of that header's block id and bank mark moves the transfer on.
#include "FirmwareImage.h"
#include "protocol/CommandFrame.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zentrel {

class UpgradeBlock {
public:
    static constexpr std::size_t kSize = FirmwareImage::kBlockBytes + 1;
    using Bytes = std::array<std::uint8_t, kSize>;

    // The upgrade's ordinary frame: while the block id is F0, bytes 9 and 10 carry the bank
    // mark B0 01 instead of 40 and the id.
    static CommandFrame ordinary(CommandFrame f, std::uint32_t blockId);

    // A part starts: none of its blocks has gone out.
    void newPart() { sent_.clear(); }
    // The header of a part's first block.
    void first(int part, std::uint32_t blockId);
    // The header of block `index` (the last-block header when it is the part's last); false,
    // and nothing changed, when that block went out before: an acknowledgement that asks for
    // it again would make the transfer go round for ever.
    bool next(int part, std::uint32_t index, std::uint32_t blockId, bool last);
    // Copies the block from image offset `start` and sets its checksum.
    void slice(const FirmwareImage& image, std::size_t start);
    // Whether `f` acknowledges the block awaited (by its id and bank mark). Taken once: a
    // repeat of it, or the answer for another block, is passed over.
    bool takeAck(const CommandFrame& f);
    // The header goes out again (a repeat): its answer is awaited once more.
    void awaitAgain() { ackAwaited_ = true; }
    void clear() { ackAwaited_ = false; }

    const CommandFrame& header() const { return header_; }
    const Bytes& bytes() const { return block_; }
    std::size_t start() const { return start_; }
    bool lastSent() const { return lastSent_; }

private:
    CommandFrame header_{};
    Bytes block_{};
    std::size_t start_ = 0;
    std::vector<bool> sent_; // blocks of the current part already sent
    bool ackAwaited_ = false;
    bool lastSent_ = false; // the part's last block is out, its completion due
};

} // namespace zentrel
