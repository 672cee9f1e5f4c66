#include "UpgradeBlock.h"

#include "protocol/Commands.h"

namespace zentrel {

CommandFrame UpgradeBlock::ordinary(CommandFrame f, std::uint32_t blockId) {
    return blockId == cmd::kFirmwareBankId ? cmd::withBankMark(f) : f;
}

void UpgradeBlock::first(int part, std::uint32_t blockId) {
    header_ = ordinary(cmd::firmwareBlockHeader(part, 0), blockId);
    sent_.assign(1, true);
    lastSent_ = false;
    ackAwaited_ = true;
}

bool UpgradeBlock::next(int part, std::uint32_t index, std::uint32_t blockId, bool last) {
    if (index < sent_.size() && sent_[index]) {
        return false;
    }
    const auto id = static_cast<std::uint8_t>(blockId & 0xFF);
    header_ = last ? cmd::firmwareLastBlockHeader(part, id)
                   : ordinary(cmd::firmwareBlockHeader(part, id), blockId);
    ackAwaited_ = true;
    lastSent_ = last;
    if (sent_.size() <= index) {
        sent_.resize(index + 1, false);
    }
    sent_[index] = true;
    return true;
}

void UpgradeBlock::slice(const FirmwareImage& image, std::size_t start) {
    start_ = start;
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < FirmwareImage::kBlockBytes; ++i) {
        const std::uint8_t b = image.at(start + i);
        block_[i + 1] = b;
        sum = static_cast<std::uint8_t>(sum + b);
    }
    block_[0] = static_cast<std::uint8_t>(0 - sum);
}

bool UpgradeBlock::takeAck(const CommandFrame& f) {
    // The header of id F0 carries B0 01; the matrix answers it with B0 01 where it closes the
    // first bank and with 40 F0 elsewhere.
    const bool bank = header_[9] == cmd::kFirmwareBankMark && f[9] == cmd::kFirmwareMark &&
                      f[10] == cmd::kFirmwareBankId;
    const bool same = f[9] == header_[9] && f[10] == header_[10];
    if (!ackAwaited_ || !(same || bank)) {
        return false;
    }
    ackAwaited_ = false;
    return true;
}

} // namespace zentrel
