#pragma once
// One way a matrix can misbehave, and the requests it applies to. Tests and the command line
// use these to reach every error path of the panel without a faulty unit at hand.
#include "protocol/Commands.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace zentrel::sim {

// Which requests a rule applies to: a command group and command (or every frame), and
// optionally the values of further bytes.
struct FrameMatch {
    bool any = false;
    std::uint8_t group = 0;
    std::uint8_t command = 0;
    std::vector<std::pair<std::size_t, std::uint8_t>> bytes; // byte index, required value

    static FrameMatch all() { return FrameMatch{true, 0, 0, {}}; }
    static FrameMatch of(std::uint8_t g, std::uint8_t c) { return FrameMatch{false, g, c, {}}; }
    static FrameMatch of(Command c) { return of(c.group, c.command); }
    FrameMatch& with(std::size_t index, std::uint8_t value) {
        bytes.emplace_back(index, value);
        return *this;
    }
    bool matches(const CommandFrame& f) const {
        if (!any && (f.group() != group || f.command() != command)) {
            return false;
        }
        for (const auto& [index, value] : bytes) {
            if (index >= CommandFrame::kSize || f[index] != value) {
                return false;
            }
        }
        return true;
    }
};

struct FaultRule {
    enum class Kind {
        Silent,           // no reply at all
        BadChecksum,      // the reply's checksum byte is off by one
        Stray,            // `stray` bytes go out before the reply
        Split,            // the reply leaves in pieces cut at `splitAt`, `gapMs` apart
        ByteByByte,       // every byte of the reply leaves on its own, `gapMs` apart
        Delay,            // the reply leaves `delayMs` later than usual
        Refuse,           // the refusal reply of the command instead of its success
        OtherInput,       // the reply names the next port instead of the one asked about
        Byte5Set,         // byte 5 of the reply is 01 instead of 00
        SwitchReport,     // the EDID switch report with `code` in place of the reply
        CloseBeforeBlock, // a data header makes the matrix close the TCP connection
        Duplicate,        // the reply leaves twice, the copy `gapMs` after the original
        Patch,            // byte `patchAt` of the reply becomes `patchValue`, checksum made good
        OtherOutput,      // byte 6 of the reply names the next output (8 wraps to 1), checksum good
        Twin, // a second frame (bytes 2.. in `then`) follows the reply in the same piece
        // Firmware upgrade events; `match` names the block header (20.01 for Part_1 blocks).
        StayDown,       // after a part's completion the unit does not come back
        AckId,          // a block's acknowledgement carries `ackId` as its block id
        ExtraAck,       // the last block is acknowledged as well as completed
        StandbyAtBlock, // the unit goes to standby when block `atBlock` of a part arrives
        ResetAtBlock,   // the unit restarts (a power dip) when block `atBlock` of a part arrives:
                        // the block is lost, and its start-up report 01 01 01 00 follows unasked
    };
    // Whether the kind changes how a reply leaves (the others are events the model acts on).
    static constexpr bool shapesReply(Kind k) {
        return k != Kind::StayDown && k != Kind::AckId && k != Kind::ExtraAck &&
               k != Kind::StandbyAtBlock && k != Kind::ResetAtBlock;
    }
    Kind kind;
    FrameMatch match;
    int times = -1; // how many replies it spoils; -1 for every one
    std::vector<std::uint8_t> stray{0x00};
    std::vector<std::size_t> splitAt{6};
    std::int64_t gapMs = 0;   // 0: the model's usual gap between pieces
    std::int64_t delayMs = 0; // Delay only
    std::uint8_t code = 0x0F; // SwitchReport only
    std::size_t patchAt = 6;  // Patch only
    std::uint8_t patchValue = 0;
    std::vector<std::uint8_t> then{0x88, 0x88}; // Twin: the standby announcement by default
    std::uint8_t ackId = 0;                     // AckId only
    int atBlock = 0; // StandbyAtBlock and ResetAtBlock only: blocks of the part counted from 0
};

} // namespace zentrel::sim
