// The General page's serial receive path, fed byte by byte through the page's own message
// handler while Status waits for input 1. The input is noise that ends with the real answer;
// whatever the noise, the answer must move the chain on exactly once and the chain must finish.
//
// The noise is made harmless to the chain first, using a stand-alone assembler to see where
// the page will find frames: a frame it would complete has its header broken, and a frame left
// open at the end is filled up, so the answer starts on a frame boundary. Neither change moves
// a frame boundary, so the page meets exactly the framing the fuzzer chose.
#include "PanelRig.h"
#include "protocol/Commands.h"
#include "protocol/ReplyAssembler.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace zentrel;
using namespace zentrel::fuzzing;

namespace {

std::vector<std::uint8_t> harmless(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> noise(data, data + size);
    ReplyAssembler reference;
    std::size_t frameStart = 0;
    for (std::size_t i = 0; i < noise.size(); ++i) {
        if (!reference.inFrame() && noise[i] == CommandFrame::kHead0) {
            frameStart = i;
        }
        if (reference.feed(noise[i])) {
            noise[frameStart + 1] = 0x00; // never A5 5B
        }
    }
    while (reference.inFrame()) {
        noise.push_back(0x00);
        reference.feed(0x00);
    }
    return noise;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) {
        return 0;
    }
    std::vector<std::uint8_t> line = harmless(data, size);
    const CommandFrame answer = CommandFrame::make({0x01, 0x04, 0x01, 0x00, 0x01});
    line.insert(line.end(), answer.bytes.begin(), answer.bytes.end());

    PanelRig rig;
    rig.connectCom();
    // The matrix keeps quiet about input 1 once; the line carries the noise and our answer.
    rig.harness.faults().add(sim::FaultRule{sim::FaultRule::Kind::Silent,
                                            sim::FrameMatch::of(cmd::kInputStatus).with(4, 1), 1});
    rig.whenReceived(1, [&] { rig.harness.serialPorts().sendToPanel(3, line); });
    rig.page->click(gen::kStatus); // returns when the chain has ended
    rig.advance(30000);

    check(rig.timesSent(cmd::queryInput(1)) == 1);
    for (int k = 1; k <= 4; ++k) {
        check(rig.timesSent(cmd::queryOutput(k)) == 1);
        check(rig.timesSent(cmd::queryInput(k)) == 1);
        check(rig.page->text(gen::outputLine(k)).find(": Connect") != std::string::npos);
    }
    check(rig.idle());
    return 0;
}
