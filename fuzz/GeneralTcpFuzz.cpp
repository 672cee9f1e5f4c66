// The General page's TCP receive path while Status waits for input 1: the fuzzer chooses the
// reads (their sizes and bytes), the last read is the real answer. The noise is first walked
// as the page's reply buffer will take it: a reply it would complete has its header broken
// and a partial accumulation at the end is filled up, which keeps the read boundaries the
// fuzzer chose. The answer must then move the chain on exactly once.
#include "PanelRig.h"
#include "protocol/Commands.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

using namespace zentrel;
using namespace zentrel::fuzzing;

namespace {

using Read = std::vector<std::uint8_t>;

// Each read is a length byte (reduced to 1..64) and that many bytes.
std::vector<Read> harmlessReads(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> flat;
    std::vector<std::size_t> lengths;
    for (std::size_t at = 0; at + 1 < size;) {
        const std::size_t n = std::min<std::size_t>(data[at] % 64 + 1, size - at - 1);
        flat.insert(flat.end(), data + at + 1, data + at + 1 + n);
        lengths.push_back(n);
        at += n + 1;
    }
    // The page takes the first 13 bytes of an accumulation once it holds 13 or more.
    std::size_t start = 0;
    std::size_t held = 0;
    std::size_t end = 0;
    for (std::size_t n : lengths) {
        held += n;
        end += n;
        if (held >= CommandFrame::kSize) {
            flat[start + 1] = 0x00; // never A5 5B
            held = 0;
            start = end;
        }
    }
    if (held > 0) {
        flat.insert(flat.end(), CommandFrame::kSize - held, 0x00);
        lengths.push_back(CommandFrame::kSize - held);
    }
    std::vector<Read> reads;
    std::size_t at = 0;
    for (std::size_t n : lengths) {
        reads.emplace_back(flat.begin() + static_cast<std::ptrdiff_t>(at),
                           flat.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    }
    return reads;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) {
        return 0;
    }
    std::vector<Read> reads = harmlessReads(data, size);
    const CommandFrame answer = CommandFrame::make({0x01, 0x04, 0x01, 0x00, 0x01});
    reads.emplace_back(answer.bytes.begin(), answer.bytes.end());

    PanelRig rig;
    rig.connectTcp();
    rig.harness.faults().add(sim::FaultRule{sim::FaultRule::Kind::Silent,
                                            sim::FrameMatch::of(cmd::kInputStatus).with(4, 1), 1});
    rig.whenReceived(1, [&] {
        for (std::size_t i = 0; i < reads.size(); ++i) {
            rig.harness.loop().schedule(static_cast<std::int64_t>(i),
                                        [&rig, &reads, i] { rig.harness.sendTcpBytes(reads[i]); });
        }
    });
    rig.page->click(gen::kStatus);
    rig.advance(30000);

    for (int k = 1; k <= 4; ++k) {
        check(rig.timesSent(cmd::queryOutput(k)) == 1);
        check(rig.timesSent(cmd::queryInput(k)) == 1);
        check(rig.page->text(gen::outputLine(k)).find(": Connect") != std::string::npos);
    }
    check(rig.idle());
    return 0;
}
