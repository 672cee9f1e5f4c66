#pragma once
// What one delivery of bytes to the matrix produced: the units it recognised on the wire and
// the replies it puts back, each with the times at which its pieces leave the matrix.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zentrel::sim {

struct Inbound {
    enum class Kind {
        Frame,         // a well-formed 13-byte frame that was acted on
        BadChecksum,   // 13 bytes from A5 5B whose checksum is wrong: ignored
        BadHeader,     // 13 bytes from A5 without 5B: ignored
        Stray,         // bytes outside any frame
        EdidBlock,     // the 290 bytes after an EDID data header
        FirmwareBlock, // the 257 bytes after a firmware block header
        Abandoned,     // a frame or block cut short by a pause on the line
        Ignored,       // a frame that came while the matrix was rebooting
    };
    Kind kind;
    std::vector<std::uint8_t> bytes;
    std::string name;
};

// A run of a reply's bytes that leaves the matrix `delayMs` after the delivery that caused it.
struct Piece {
    std::int64_t delayMs = 0;
    std::size_t offset = 0;
    std::size_t length = 0;
};

struct Reply {
    std::string name;
    std::vector<std::uint8_t> bytes; // everything this reply puts on the wire, stray bytes too
    std::vector<Piece> pieces;       // in order, covering `bytes` exactly

    std::int64_t lastDelayMs() const { return pieces.empty() ? 0 : pieces.back().delayMs; }
};

struct Exchange {
    std::vector<Inbound> in;
    std::vector<Reply> out;
    // The matrix drops the connection the bytes came on once its replies have left (TCP only).
    bool closeLink = false;
};

// "A5 5B 01 ..." with single spaces, the form every log and test of the project uses.
std::string hexBytes(const std::vector<std::uint8_t>& bytes);

} // namespace zentrel::sim
