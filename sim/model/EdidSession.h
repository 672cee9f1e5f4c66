#pragma once
// The matrix's side of the EDID commands: the access every change needs, the built-in, default
// and copied EDIDs, and the download (request, go-ahead, data header, the 290-byte block and its
// result). It keeps each input's EDID status in the matrix's state and the EDID downloaded last.
#include "MatrixState.h"
#include "protocol/CommandFrame.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zentrel::sim {

class EdidSession {
public:
    static constexpr std::size_t kBlockSize = 290;
    static constexpr std::size_t kEdidSize = 256;

    struct Answer {
        std::optional<CommandFrame> reply;
        bool expectBlock = false; // a data header the block follows
    };
    // What the knobs change about a frame's answer.
    struct Faults {
        bool refuse = false;         // the command's own refusal
        bool withholdAccess = false; // access answered, but no change is let through
    };

    explicit EdidSession(MatrixState& state) : state_(state) {}

    // A frame of the EDID group.
    Answer onFrame(const CommandFrame& f, const Faults& faults);
    // The block that followed the data header `header`; `refuse` fails the download.
    CommandFrame onBlock(const CommandFrame& header, std::span<const std::uint8_t> block,
                         bool refuse);
    // The link closed before the block: the go-ahead is used up.
    void dropReady() { downloadReady_ = false; }

    // The EDID last downloaded to an input (empty when none was).
    const std::vector<std::uint8_t>& userEdid(int input) const;

    static bool isDataHeader(const CommandFrame& f);
    // A 256-byte EDID as a matrix takes it: the fixed header, a base block whose bytes sum to
    // zero, and at most one extension block that does too.
    static bool validEdid(std::span<const std::uint8_t> edid);

private:
    std::optional<CommandFrame> change(const CommandFrame& f, bool refuse);
    std::optional<CommandFrame> download(const CommandFrame& f, bool refuse, Answer& a);
    // Whether an EDID change may go ahead: access was granted for it. Uses the grant up.
    bool changeAllowed(const CommandFrame& f);
    void setAll(std::uint8_t code);

    MatrixState& state_;
    std::optional<int> downloadTarget_; // input of a one-input download request
    // EDID changes need the access the matrix granted just before. The grant is used by the
    // change that follows; that same change repeated (its reply was lost) is taken again.
    bool accessGranted_ = false;
    std::optional<CommandFrame> lastChange_;
    // A data header is taken only after the matrix said it was ready for one.
    bool downloadReady_ = false;
    std::array<std::vector<std::uint8_t>, kMaxPorts + 1> userEdid_;
};

} // namespace zentrel::sim
