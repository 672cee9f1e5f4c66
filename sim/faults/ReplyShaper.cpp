#include "ReplyShaper.h"

#include "protocol/Commands.h"
#include "protocol/FrameMeaning.h"
#include "sim/model/MatrixState.h"

#include <algorithm>

namespace zentrel::sim {

namespace {

using Kind = FaultRule::Kind;

// The byte of a reply that names its input (or output): byte 6 where the request names one there.
std::size_t portByteOf(const CommandFrame& f) {
    for (const Command c : {cmd::kEdidBuiltIn, cmd::kEdidCopy, cmd::kSwitch, cmd::kEdidDownload}) {
        if (c.matches(f)) {
            return 6;
        }
    }
    return 4;
}

std::uint8_t u8(int v) {
    return static_cast<std::uint8_t>(v);
}

} // namespace

Reply ReplyShaper::shape(const CommandFrame& frame, const std::vector<FaultRule>& rules) const {
    CommandFrame f = frame;
    std::vector<std::uint8_t> stray;
    std::int64_t delay = timing_.latencyMs;
    std::vector<std::size_t> cuts; // offsets into the frame where a new piece begins
    bool bytewise = false;
    bool twice = false;
    std::int64_t gap = timing_.pieceGapMs;
    // Rules that change what the reply says come first, so a wrong checksum stays wrong.
    for (const FaultRule& r : rules) {
        if (r.kind == Kind::OtherInput) {
            const std::size_t at = portByteOf(f);
            f[at] = u8(f[at] % kMaxPorts + 1);
            f.seal();
        } else if (r.kind == Kind::Byte5Set) {
            f[5] = 0x01;
            f.seal();
        } else if (r.kind == Kind::SwitchReport) {
            f = cmd::kEdidSwitchReport.frame({r.code});
        } else if (r.kind == Kind::Patch && r.patchAt >= 2 && r.patchAt < CommandFrame::kSize - 1) {
            f[r.patchAt] = r.patchValue;
            f.seal();
        } else if (r.kind == Kind::OtherOutput) {
            f[6] = u8(f[6] % kMaxPorts + 1);
            f.seal();
        }
    }
    std::vector<std::uint8_t> twin;
    for (const FaultRule& r : rules) {
        switch (r.kind) {
        case Kind::Twin: {
            CommandFrame second = CommandFrame::make({});
            for (std::size_t i = 0; i < r.then.size() && i + 2 < CommandFrame::kSize - 1; ++i) {
                second.put(i + 2, r.then[i]);
            }
            twin.insert(twin.end(), second.bytes.begin(), second.bytes.end());
            break;
        }
        case Kind::BadChecksum:
            f[12] = u8(f[12] + 1);
            break;
        case Kind::Stray:
            stray.insert(stray.end(), r.stray.begin(), r.stray.end());
            break;
        case Kind::Delay:
            delay += r.delayMs;
            break;
        case Kind::Split:
            cuts.insert(cuts.end(), r.splitAt.begin(), r.splitAt.end());
            gap = r.gapMs > 0 ? r.gapMs : gap;
            break;
        case Kind::ByteByByte:
            bytewise = true;
            gap = r.gapMs > 0 ? r.gapMs : gap;
            break;
        case Kind::Duplicate:
            twice = true;
            gap = r.gapMs > 0 ? r.gapMs : gap;
            break;
        case Kind::Silent:
        case Kind::Refuse:
        case Kind::OtherInput:
        case Kind::Byte5Set:
        case Kind::SwitchReport:
        case Kind::CloseBeforeBlock:
        case Kind::Patch:
        case Kind::OtherOutput:
        case Kind::StayDown:
        case Kind::AckId:
        case Kind::ExtraAck:
        case Kind::StandbyAtBlock:
        case Kind::ResetAtBlock:
            break;
        }
    }
    Reply out;
    out.name = describeFrame(f, FrameDirection::FromMatrix);
    if (!stray.empty()) {
        out.name += " after " + std::to_string(stray.size()) + " stray byte" +
                    (stray.size() == 1 ? "" : "s");
    }
    out.bytes = stray;
    out.bytes.insert(out.bytes.end(), f.bytes.begin(), f.bytes.end());
    if (!twin.empty()) {
        out.name += " with a second frame";
        out.bytes.insert(out.bytes.end(), twin.begin(), twin.end());
    }

    std::vector<std::size_t> starts{0};
    if (bytewise) {
        for (std::size_t i = 1; i < out.bytes.size(); ++i) {
            starts.push_back(i);
        }
    } else {
        for (std::size_t cut : cuts) {
            if (cut > 0 && cut < CommandFrame::kSize) {
                starts.push_back(stray.size() + cut);
            }
        }
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    }
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : out.bytes.size();
        out.pieces.push_back(
            Piece{delay + static_cast<std::int64_t>(i) * gap, starts[i], end - starts[i]});
    }
    if (twice) {
        // The copy is the bare frame: a unit that repeats itself repeats the reply, not the
        // noise that happened to come before it.
        const std::size_t at = out.bytes.size();
        out.bytes.insert(out.bytes.end(), f.bytes.begin(), f.bytes.end());
        out.pieces.push_back(Piece{out.lastDelayMs() + gap, at, CommandFrame::kSize});
        out.name += ", twice";
    }
    return out;
}

} // namespace zentrel::sim
