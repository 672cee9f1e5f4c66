// Discovery's receiver on the virtual segment: after Search, a host sends the datagrams the
// fuzzer chose to the panel's discovery port, then one real answer. The noise carries no
// signature byte (0x77), and neither do the answer's first 18 bytes, so the only answer the
// page can find is the real one: it must be listed exactly once, become the target, and leave
// nothing pending.
#include "PanelRig.h"
#include "link/Discovery.h"
#include "platform/sim/VirtualUdpPeer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

using namespace zentrel;
using namespace zentrel::fuzzing;

namespace {

using Datagram = std::vector<std::uint8_t>;

// Each datagram is a length byte (reduced to 1..128) and that many bytes, 0x77 taken out.
std::vector<Datagram> noise(const std::uint8_t* data, std::size_t size) {
    std::vector<Datagram> out;
    for (std::size_t at = 0; at + 1 < size;) {
        const std::size_t n = std::min<std::size_t>(data[at] % 128 + 1, size - at - 1);
        Datagram d(data + at + 1, data + at + 1 + n);
        std::replace(d.begin(), d.end(), DiscoveryBuffer::kSignature0, std::uint8_t{0x78});
        out.push_back(std::move(d));
        at += n + 1;
    }
    return out;
}

Datagram answer() {
    Datagram a(DiscoveryBuffer::kAnswerSize, 0x00);
    const std::uint8_t head[] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 10, 0, 0, 42};
    std::copy(std::begin(head), std::end(head), a.begin());
    a[18] = DiscoveryBuffer::kSignature0;
    a[19] = DiscoveryBuffer::kSignature1;
    return a;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 8192) {
        return 0;
    }
    std::vector<Datagram> datagrams = noise(data, size);
    datagrams.push_back(answer());

    PanelRig rig(false); // nothing else answers the probe
    auto host = rig.harness.network().openUdpPeer("192.168.1.77", Discovery::kPort);
    rig.page->click(gen::kTcpRadio);
    rig.page->click(gen::kSearch);
    for (std::size_t i = 0; i < datagrams.size(); ++i) {
        rig.harness.loop().schedule(static_cast<std::int64_t>(i) + 1, [&, i] {
            host->sendTo(datagrams[i], rig.harness.network().hostIp(), Discovery::kPort);
        });
    }
    rig.advance(static_cast<std::int64_t>(datagrams.size()) + 100);

    const SharedState& s = rig.app.state();
    check(rig.page->itemCount(Discovery::kIpList) == 1);
    check(s.DiscoveredCount == 1);
    check(s.MatrixIp == "10.0.0.42");
    check(s.SelectedMac == "001A2B3C4D5E");
    check(rig.page->discovery().buffer().count() == 0);
    return 0;
}
