#pragma once
// The matrix's side of a firmware upgrade: part start commands, the two Part_1 preparations,
// block headers each followed by a 257-byte block (checksum byte, 256 data bytes), per-block
// acknowledgements and the completion reply after the last block, after which the unit reboots.
#include "protocol/CommandFrame.h"

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
    std::vector<std::uint8_t> data; // the 256 data bytes
};

class FirmwareSession {
public:
    static constexpr std::size_t kBlockSize = 257;

    struct Answer {
        std::optional<CommandFrame> reply;
        bool expectBlock = false; // the frame was a block header
        bool reboot = false;      // a part is complete: the unit restarts
    };

    // A group-20 frame. `refuse` answers a start or preparation with the part's write failure.
    Answer onFrame(const CommandFrame& f, bool refuse);
    // The block that followed `header`. A block whose checksum byte is wrong, or any block when
    // `refuse` is set, gets the write failure of its part.
    Answer onBlock(const CommandFrame& header, std::span<const std::uint8_t> block, bool refuse);

    static bool isBlockHeader(const CommandFrame& f);
    static bool isLastBlockHeader(const CommandFrame& f);

    const std::vector<FirmwareBlockRecord>& blocks() const { return blocks_; }
    int partsCompleted() const { return partsCompleted_; }

private:
    static CommandFrame writeFailed(std::uint8_t part);

    std::vector<FirmwareBlockRecord> blocks_;
    int partsCompleted_ = 0;
};

} // namespace zentrel::sim
