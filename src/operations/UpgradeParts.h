#pragma once
// Where the parts of a firmware image lie and what opens each: Part_1 is the whole image; Part_2
// runs to the next Part_2 or Part 3 marker, Part 3 and Part 4 likewise from where the one before
// ended. The offsets are counted from the first parts as the matrix counts them, so the bar,
// the block count and where each block is taken from follow from here.
#include "FirmwareImage.h"
#include "protocol/CommandFrame.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zentrel {

class UpgradeParts {
public:
    explicit UpgradeParts(const FirmwareImage& image) : image_(image) {}

    void reset() { ends_ = {}; }
    // The part whose marker is at `offset` (0 when there is none), its end now known.
    int open(std::size_t offset);
    // The start frame of part 1..4, without the bank mark. Part 3 is opened by command 2.
    static CommandFrame startFrame(int part);
    // The bytes parts 1 and 2 count on the bar; 0 for the parts that have no bar of their own.
    int barEnd(int part) const;
    // Where the first block of `part` is taken from.
    std::size_t dataStart(int part) const;
    // The index of the part's last block.
    std::uint32_t lastIndex(int part) const;
    // After `part` rebooted: the offset of the part the file holds next, or 0 when the upgrade
    // is through (Part_1 is always the last).
    std::size_t nextOffset(int part) const;
    // Only Part 3 may follow Part_2, and nothing Part 3 (the scan stops only at Part_2 and
    // Part 3 markers). Another Part_2 or Part 3 marker would send the same part again after
    // every reboot, for ever.
    bool mayFollow(int part, std::size_t offset) const;

private:
    const FirmwareImage& image_;
    std::array<std::size_t, 5> ends_{}; // E1..E4 at 1..4
};

} // namespace zentrel
