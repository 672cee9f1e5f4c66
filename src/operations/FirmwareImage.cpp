#include "FirmwareImage.h"

#include <algorithm>

namespace zentrel {

namespace {

constexpr std::uint8_t kScrambleKey = 0xD6;

} // namespace

FirmwareImage::Load FirmwareImage::load(std::span<const std::uint8_t> file) {
    if (file.size() > kCapacity) {
        return Load::TooLarge;
    }
    std::copy(file.begin(), file.end(), buffer_.begin());
    std::fill(buffer_.begin() + static_cast<std::ptrdiff_t>(file.size()), buffer_.end(),
              std::uint8_t{0});
    length_ = file.size();
    descramble(std::span(buffer_).first(length_));
    return Load::Loaded;
}

std::uint8_t FirmwareImage::key(std::size_t length) {
    return static_cast<std::uint8_t>((length % 256) ^ kScrambleKey);
}

void FirmwareImage::descramble(std::span<std::uint8_t> bytes) {
    const std::uint8_t k = key(bytes.size());
    for (std::uint8_t& b : bytes) {
        b = static_cast<std::uint8_t>(b ^ k);
    }
}

PartMarker FirmwareImage::markerAt(std::size_t offset) const {
    const std::uint8_t a = at(offset);
    const std::uint8_t b = at(offset + 1);
    if (a == 0xA5 && b == 0x5A) {
        return PartMarker::Part1;
    }
    if (a == 0xA4 && b == 0x5B) {
        return PartMarker::Part2;
    }
    if (a == 0xA3 && b == 0x5C) {
        return PartMarker::Part3;
    }
    if (a == 0xA2 && b == 0x5D) {
        return PartMarker::Part4;
    }
    return PartMarker::None;
}

std::size_t FirmwareImage::partEnd(std::size_t from) const {
    for (std::size_t i = from; i < length_; ++i) {
        const std::uint8_t a = buffer_[i];
        const std::uint8_t b = at(i + 1);
        if ((a == 0xA3 || a == 0xA4) && (b == 0x5B || b == 0x5C)) {
            return i;
        }
    }
    return length_;
}

} // namespace zentrel
