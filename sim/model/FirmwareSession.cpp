#include "FirmwareSession.h"

#include "protocol/Requests.h"

#include <algorithm>

namespace zentrel::sim {

namespace {

constexpr std::size_t kBankBlocks = 256;

} // namespace

CommandFrame FirmwareSession::writeFailed(std::uint8_t part) {
    return cmd::firmwareAnswer(part, cmd::kFirmwareWriteFailed);
}

CommandFrame FirmwareSession::blockMissing(const CommandFrame& header) const {
    return writeFailed(header.command());
}

FirmwareSession::PartImage* FirmwareSession::partOf(const CommandFrame& f) {
    const int part = f.command();
    return part >= 1 && part <= kParts ? &parts_[static_cast<std::size_t>(part)] : nullptr;
}

const std::vector<std::uint8_t>& FirmwareSession::image(int part) const {
    static const std::vector<std::uint8_t> none;
    return part >= 1 && part <= kParts ? parts_[static_cast<std::size_t>(part)].bytes : none;
}

int FirmwareSession::blocksOf(int part) const {
    return part >= 1 && part <= kParts ? parts_[static_cast<std::size_t>(part)].blocks : 0;
}

void FirmwareSession::interrupt(int part) {
    if (part >= 1 && part <= kParts) {
        PartImage& p = parts_[static_cast<std::size_t>(part)];
        p.started = true;
        p.lastPosition.reset();
        p.lastId = 0;
    }
}

FirmwareSession::Answer FirmwareSession::onFrame(const CommandFrame& f, bool refuse) {
    Answer a;
    const std::optional<request::FirmwareFrame> command = request::firmwareFrame(f);
    if (!command) {
        a.expectBlock = true; // a block header: answered once the block has arrived
        return a;
    }
    const auto part = static_cast<std::uint8_t>(command->part);
    const std::uint8_t what = command->arg;
    std::optional<CommandFrame> ok;
    auto restart = [this](int p) {
        parts_[static_cast<std::size_t>(p)] = PartImage{};
        parts_[static_cast<std::size_t>(p)].started = true;
    };
    if (part == 1 && what == cmd::kFirmwareStart) {
        restart(1);
        ok = cmd::firmwareAnswer(1, cmd::kFirmwareReady);
    } else if (part == 1 && (what == cmd::kFirmwarePrepare1 || what == cmd::kFirmwarePrepare2)) {
        ok = cmd::firmwareAnswer(1, cmd::kFirmwareDone);
    } else if (part == 2 && what == cmd::kFirmwareStart) {
        restart(2);
        ok = cmd::firmwareAnswer(2, cmd::kFirmwareReady);
    } else if (part == 2 && what == cmd::kFirmwarePart3Start) {
        // Part 3 is started through Part_2's command, and Part_2 says it is ready.
        restart(3);
        ok = cmd::firmwareAnswer(2, cmd::kFirmwareLast);
    } else if (part == 4 && what == cmd::kFirmwareStart) {
        ok = cmd::firmwareAnswer(4, cmd::kFirmwareReady);
    } else {
        return a; // not a command we know
    }
    a.reply = refuse ? writeFailed(part) : *ok;
    return a;
}

std::uint8_t FirmwareSession::idOf(const CommandFrame& header) {
    const auto h = request::firmwareBlockHeader(header);
    return h ? h->blockId() : 0;
}

bool FirmwareSession::closesBank(std::size_t position) {
    // Only the first bank ends early: its block F0 is followed by block 256.
    return position == cmd::kFirmwareBankId;
}

std::optional<std::size_t> FirmwareSession::positionFor(const PartImage& p,
                                                        const CommandFrame& header) const {
    const std::uint8_t id = idOf(header);
    if (!p.lastPosition) {
        // After a start the part begins at id 0; without one the matrix takes up any block.
        if (p.started && id != 0) {
            return std::nullopt;
        }
        return id;
    }
    const std::size_t last = *p.lastPosition;
    if (id == p.lastId) {
        return last; // the same block again: its acknowledgement was lost
    }
    if (closesBank(last)) {
        return id == 0 ? std::optional<std::size_t>(kBankBlocks) : std::nullopt;
    }
    // Ids count on by one and wrap at FF.
    return id == static_cast<std::uint8_t>(p.lastId + 1) ? std::optional(last + 1) : std::nullopt;
}

FirmwareSession::Answer FirmwareSession::onBlock(const CommandFrame& header,
                                                 std::span<const std::uint8_t> block) {
    return onBlock(header, block, BlockFaults{});
}

FirmwareSession::Answer FirmwareSession::onBlock(const CommandFrame& header,
                                                 std::span<const std::uint8_t> block,
                                                 const BlockFaults& faults) {
    extraAck_.reset();
    Answer a;
    const std::optional<request::FirmwareBlockHeader> announced =
        request::firmwareBlockHeader(header);
    if (!announced) {
        a.reply = writeFailed(header.command()); // no header announced this block
        return a;
    }
    const request::FirmwareBlockHeader h = *announced;
    FirmwareBlockRecord rec;
    rec.part = h.part;
    rec.bankMark = h.mark;
    rec.id = h.id;
    rec.last = h.last;
    if (block.size() == kBlockSize) {
        std::uint8_t sum = 0;
        for (std::size_t i = 1; i < kBlockSize; ++i) {
            sum = static_cast<std::uint8_t>(sum + block[i]);
        }
        rec.checksumOk = static_cast<std::uint8_t>(0 - sum) == block[0];
        rec.data.assign(block.begin() + 1, block.end());
    }
    PartImage* part = partOf(header);
    std::optional<std::size_t> position;
    if (part != nullptr) {
        position = positionFor(*part, header);
        rec.inOrder = position.has_value();
    }
    blocks_.push_back(rec);

    if (faults.refuse || !rec.checksumOk || !rec.inOrder) {
        a.reply = writeFailed(header.command());
        return a;
    }
    if (part != nullptr) {
        const std::size_t at = *position * kDataSize;
        if (part->bytes.size() < at + kDataSize) {
            part->bytes.resize(at + kDataSize, 0);
        }
        std::copy(rec.data.begin(), rec.data.end(), part->bytes.begin() + static_cast<long>(at));
        part->lastId = h.blockId();
        part->lastPosition = *position;
        ++part->blocks;
    }
    // The acknowledgement repeats the header's bank mark and block id where the first bank
    // closes, so the panel knows the second bank has begun; elsewhere it names the block id.
    const bool closing = position && closesBank(*position) && h.mark == cmd::kFirmwareBankMark;
    const CommandFrame ack =
        cmd::firmwareBlockAck(header.command(), closing ? h.mark : cmd::kFirmwareMark,
                              faults.ackId.value_or(closing ? h.id : h.blockId()));
    if (rec.last) {
        if (faults.extraAck) {
            extraAck_ = ack;
        }
        a.reply = cmd::firmwarePartComplete(header.command());
        a.reboot = true;
        ++partsCompleted_;
        return a;
    }
    a.reply = ack;
    return a;
}

} // namespace zentrel::sim
