#include "FirmwareSession.h"

namespace zentrel::sim {

bool FirmwareSession::isBlockHeader(const CommandFrame& f) {
    return f.group() == 0x20 && f[4] == 0xAA && f[7] == 1 && f[8] == 1;
}

bool FirmwareSession::isLastBlockHeader(const CommandFrame& f) {
    return f.group() == 0x20 && f[4] == 0x56 && f[6] == 0xFE && f[8] == 1;
}

CommandFrame FirmwareSession::writeFailed(std::uint8_t part) {
    return CommandFrame::make({0x20, part, 0x44});
}

FirmwareSession::Answer FirmwareSession::onFrame(const CommandFrame& f, bool refuse) {
    Answer a;
    if (isBlockHeader(f) || isLastBlockHeader(f)) {
        a.expectBlock = true; // answered once the block has arrived
        return a;
    }
    const std::uint8_t part = f.command();
    std::optional<CommandFrame> ok;
    switch ((part << 8) | f[4]) {
    case 0x0101:
        ok = CommandFrame::make({0x20, 0x01, 0xAA});
        break;   // Part_1 ready
    case 0x0180: // preparation 1
    case 0x0110:
        ok = CommandFrame::make({0x20, 0x01, 0x00});
        break; // preparation 2
    case 0x0201:
        ok = CommandFrame::make({0x20, 0x02, 0xAA});
        break; // Part_2 ready
    case 0x0203:
        ok = CommandFrame::make({0x20, 0x02, 0xFE});
        break; // Part 3 ready
    case 0x0401:
        ok = CommandFrame::make({0x20, 0x04, 0xAA});
        break; // Part 4 ready
    default:
        return a; // not a command we know
    }
    a.reply = refuse ? writeFailed(part) : *ok;
    return a;
}

FirmwareSession::Answer FirmwareSession::onBlock(const CommandFrame& header,
                                                 std::span<const std::uint8_t> block, bool refuse) {
    FirmwareBlockRecord rec;
    rec.part = header.command();
    rec.bankMark = header[9];
    rec.id = header[10];
    rec.last = isLastBlockHeader(header);
    if (block.size() == kBlockSize) {
        std::uint8_t sum = 0;
        for (std::size_t i = 1; i < kBlockSize; ++i) {
            sum = static_cast<std::uint8_t>(sum + block[i]);
        }
        rec.checksumOk = static_cast<std::uint8_t>(0 - sum) == block[0];
        rec.data.assign(block.begin() + 1, block.end());
    }
    blocks_.push_back(rec);

    Answer a;
    if (refuse || !rec.checksumOk) {
        a.reply = writeFailed(header.command());
        return a;
    }
    if (rec.last) {
        a.reply = CommandFrame::make({0x20, header.command(), 0x00, 0x00, 0xFE, 0x00, 0x01});
        a.reboot = true;
        ++partsCompleted_;
        return a;
    }
    // The acknowledgement repeats the header's bank mark and block id, so after the block
    // whose header carried B0 the panel knows the second bank has begun.
    a.reply = CommandFrame::make(
        {0x20, header.command(), 0x00, 0x00, 0x00, 0x01, 0x01, header[9], header[10]});
    return a;
}

} // namespace zentrel::sim
