#pragma once
// The real application with its pages on the virtual clock, a simulated matrix on COM3
// and at 192.168.1.100:8000 and nothing on UDP: what the page-level fuzz targets drive. Each
// input builds a rig of its own, so no state leaks from one input to the next.
#include "PanelFixture.h"
#include "pages/PageFactory.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zentrel::fuzzing {

// A broken property names its line before the abort, so a crash report says which one.
inline void check(bool ok, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    if (!ok) {
        std::fprintf(stderr, "property broken at %s:%d\n", file, line);
        std::abort();
    }
}

inline sim::SimulatedMatrixHarness::Options rigOptions(bool udp) {
    sim::SimulatedMatrixHarness::Options o;
    o.udp = udp;
    return o;
}

struct PanelRig : testing::PanelFixture {
    explicit PanelRig(bool udp = true) : PanelFixture(rigOptions(udp), makePageFactory()) {}

    GeneralPage* page = general;

    // Runs `fn` once the matrix has received `count` units since the last clearFrames.
    void whenReceived(std::size_t count, std::function<void()> fn) {
        harness.loop().schedule(1, [this, count, fn = std::move(fn)]() mutable {
            if (harness.toMatrix().size() >= count) {
                fn();
            } else {
                whenReceived(count, std::move(fn));
            }
        });
    }
    // Bytes arriving on the link in reads of `readSize`, one read per virtual millisecond.
    void feedInReads(const std::vector<std::uint8_t>& bytes, std::size_t readSize, bool tcp) {
        for (std::size_t at = 0, i = 0; at < bytes.size(); at += readSize, ++i) {
            const std::vector<std::uint8_t> read(
                bytes.begin() + static_cast<std::ptrdiff_t>(at),
                bytes.begin() + static_cast<std::ptrdiff_t>(std::min(at + readSize, bytes.size())));
            harness.loop().schedule(static_cast<std::int64_t>(i), [this, tcp, read] {
                tcp ? harness.sendTcpBytes(read) : harness.serialPorts().sendToPanel(3, read);
            });
        }
    }
    int timesSent(const CommandFrame& f) const {
        int n = 0;
        for (const std::string& hex : harness.toMatrix()) {
            n += hex == f.hex() ? 1 : 0;
        }
        return n;
    }
    // Nothing left running and every tab usable.
    bool idle() const {
        return page->status().busy() == 0 && !page->maintenance().resetRunning() &&
               !main->progress().isVisible() && main->isEnabled(1000) && main->isEnabled(1003);
    }
};

} // namespace zentrel::fuzzing
