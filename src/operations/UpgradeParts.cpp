#include "UpgradeParts.h"

#include "protocol/Commands.h"

namespace zentrel {

int UpgradeParts::open(std::size_t offset) {
    switch (image_.markerAt(offset)) {
    case PartMarker::Part1:
        ends_[1] = image_.length();
        return 1;
    case PartMarker::Part2:
        ends_[2] = image_.partEnd(ends_[1] + 2);
        return 2;
    case PartMarker::Part3:
        ends_[3] = image_.partEnd(ends_[2] + 2);
        return 3;
    case PartMarker::Part4:
        ends_[4] = image_.partEnd(ends_[3] + 2);
        return 4;
    case PartMarker::None:
        break;
    }
    return 0;
}

CommandFrame UpgradeParts::startFrame(int part) {
    switch (part) {
    case 1:
        return cmd::firmwarePartStart(1, cmd::kFirmwareStart);
    case 2:
        return cmd::firmwarePartStart(2, cmd::kFirmwareStart);
    case 3:
        return cmd::firmwarePartStart(2, cmd::kFirmwarePart3Start);
    default:
        return cmd::firmwarePartStart(4, cmd::kFirmwareStart);
    }
}

int UpgradeParts::barEnd(int part) const {
    switch (part) {
    case 1:
        return static_cast<int>(ends_[1] - 2);
    case 2:
        return static_cast<int>(ends_[2] - ends_[1] - 2);
    default:
        return 0;
    }
}

std::size_t UpgradeParts::dataStart(int part) const {
    switch (part) {
    case 1:
        return 2;
    case 2:
        return ends_[1] + 2;
    default:
        return ends_[1] + ends_[2] + 2;
    }
}

std::uint32_t UpgradeParts::lastIndex(int part) const {
    switch (part) {
    case 1:
        return static_cast<std::uint32_t>((ends_[1] - 2) / 256);
    case 2:
        return static_cast<std::uint32_t>((ends_[2] - ends_[1] - 2) / 256);
    default:
        return static_cast<std::uint32_t>((ends_[3] - ends_[2] - ends_[1] - 2) / 256);
    }
}

std::size_t UpgradeParts::nextOffset(int part) const {
    const std::size_t length = image_.length();
    if (part == 2 && ends_[2] < length) {
        return ends_[2];
    }
    if (part == 3 && ends_[3] < length) {
        return ends_[3];
    }
    return 0;
}

bool UpgradeParts::mayFollow(int part, std::size_t offset) const {
    return part == 2 && image_.markerAt(offset) == PartMarker::Part3;
}

} // namespace zentrel
