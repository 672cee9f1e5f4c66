#pragma once
// The receive side of one link of the matrix (its serial port, or one TCP connection): turns
// the byte stream into 13-byte frames and, when a data header has announced one, into a data
// block of a known size. Each link has its own, so a half-received frame on one connection
// never mixes with another.
#include "protocol/CommandFrame.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace zentrel::sim {

class WireIntake {
public:
    struct Unit {
        enum class Kind { Frame, Stray, Block, Abandoned };
        Kind kind;
        std::vector<std::uint8_t> bytes;
        CommandFrame header; // for a block: the header frame that announced it
    };

    // A frame or block that pauses longer than this is given up, so a lost byte costs one
    // frame instead of shifting every frame after it.
    explicit WireIntake(std::int64_t idleLimitMs = 1000) : idleLimitMs_(idleLimitMs) {}

    // Takes one byte that arrived at `nowMs`; appends the units it completes to `done`.
    void push(std::uint8_t byte, std::int64_t nowMs, std::vector<Unit>& done);
    // Hands over stray bytes collected so far (called after each delivery).
    void flushStray(std::vector<Unit>& done);

    // The next `size` bytes form a data block announced by `header`.
    void expectBlock(std::size_t size, const CommandFrame& header);
    bool inBlock() const { return blockSize_ != 0; }

private:
    std::int64_t idleLimitMs_;
    std::optional<std::int64_t> lastByteAt_;
    std::vector<std::uint8_t> partial_; // frame or block being assembled
    std::vector<std::uint8_t> stray_;
    std::size_t blockSize_ = 0;
    CommandFrame blockHeader_;
};

} // namespace zentrel::sim
