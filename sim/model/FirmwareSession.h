#pragma once
// The matrix's side of a firmware upgrade: part start commands, the two Part_1 preparations,
// block headers each followed by a 257-byte block (checksum byte, 256 data bytes), per-block
// acknowledgements and the completion reply after the last block, after which the unit reboots.
//
// The session also assembles what it receives into one image per part, so a test can compare
// the image with the file the panel loaded. Block ids count on from 0 and wrap at FF; the
// header of id F0 carries B0 01 in bytes 9 and 10, and the first time (block 240) it closes the
// first bank: the acknowledgement echoes B0 01 and the next block, id 0, lands at block 256.
#include "protocol/CommandFrame.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zentrel::sim {

struct FirmwareBlockRecord {
    int part = 0;            // byte 3 of the header: 1, 2 or 3
    std::uint8_t bankMark{}; // byte 9 of the header: 40, or B0 after block id F0
    std::uint8_t id{};       // byte 10 of the header
    bool last = false;       // announced by a last-block header
    bool checksumOk = false;
    bool inOrder = true;            // the block the matrix expected next (or that one again)
    std::vector<std::uint8_t> data; // the 256 data bytes
};

class FirmwareSession {
public:
    static constexpr std::size_t kBlockSize = 257;
    static constexpr std::size_t kDataSize = 256;
    static constexpr int kParts = 3;

    struct Answer {
        std::optional<CommandFrame> reply;
        bool expectBlock = false; // the frame was a block header
        bool reboot = false;      // a part is complete: the unit restarts
    };

    // What the knobs change about a block's answer.
    struct BlockFaults {
        bool refuse = false;               // the part's write failure instead
        std::optional<std::uint8_t> ackId; // the acknowledgement carries this id instead
        bool extraAck = false;             // the last block is acknowledged before completing
    };

    // A group-20 frame. `refuse` answers a start or preparation with the part's write failure.
    Answer onFrame(const CommandFrame& f, bool refuse);
    // The block that followed `header`. A block whose checksum byte is wrong, one out of order,
    // or any block when refused gets the write failure of its part.
    Answer onBlock(const CommandFrame& header, std::span<const std::uint8_t> block,
                   const BlockFaults& faults);
    Answer onBlock(const CommandFrame& header, std::span<const std::uint8_t> block);
    // The extra acknowledgement that goes out before the completion when asked for.
    std::optional<CommandFrame> extraAck() const { return extraAck_; }
    // A header whose block did not follow it: the part's write failure.
    CommandFrame blockMissing(const CommandFrame& header) const;

    const std::vector<FirmwareBlockRecord>& blocks() const { return blocks_; }
    int partsCompleted() const { return partsCompleted_; }
    // The blocks of part 1..3 received so far, 256 bytes per block position (positions never
    // written, such as the ones a bank change skips, hold zeros).
    const std::vector<std::uint8_t>& image(int part) const;
    // Blocks of the part received since its start command.
    int blocksOf(int part) const;
    // The unit restarted in the middle of `part`: what it had taken is kept (a test looks at
    // it), but it takes up no block again before a new start command.
    void interrupt(int part);

private:
    struct PartImage {
        std::vector<std::uint8_t> bytes;
        std::optional<std::size_t> lastPosition; // of the last block taken
        std::uint8_t lastId = 0;                 // of the last block taken
        bool started = false;                    // a start command opened the part
        int blocks = 0;
    };
    static CommandFrame writeFailed(std::uint8_t part);
    static std::uint8_t idOf(const CommandFrame& header);
    static bool closesBank(std::size_t position);
    PartImage* partOf(const CommandFrame& f);
    // Where the block announced by `header` goes, or nothing when it is out of order.
    std::optional<std::size_t> positionFor(const PartImage& p, const CommandFrame& header) const;

    std::vector<FirmwareBlockRecord> blocks_;
    std::array<PartImage, kParts + 1> parts_{};
    std::optional<CommandFrame> extraAck_;
    int partsCompleted_ = 0;
};

} // namespace zentrel::sim
