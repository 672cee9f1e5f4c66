// The configuration dialog's receiver: datagrams are appended byte by byte to the reply buffer
// and judged after each, as the dialog does. On raw input the buffer never holds a whole
// record's worth after a judgement and never refuses a byte of a read; with the target MAC's
// first byte taken out of the noise, the real acceptance that follows is accepted exactly once.
#include "operations/ConfigRecord.h"
#include "operations/ConfigReplyBuffer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace zentrel;

namespace {

void check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

using Datagram = std::vector<std::uint8_t>;
constexpr std::size_t kReadSize = 1024;

std::vector<Datagram> datagrams(const std::uint8_t* data, std::size_t size) {
    std::vector<Datagram> out;
    for (std::size_t at = 0; at + 2 < size;) {
        const std::size_t n =
            std::min<std::size_t>((data[at] << 8 | data[at + 1]) % 1200 + 1, size - at - 2);
        out.emplace_back(data + at + 2, data + at + 2 + n);
        at += n + 2;
    }
    return out;
}

// Feeds one datagram as the dialog does: at most one read's worth, then a judgement.
ConfigReplyBuffer::Outcome receive(ConfigReplyBuffer& buffer, const Datagram& d,
                                   const ConfigRecord& request) {
    for (std::size_t i = 0; i < std::min(d.size(), kReadSize); ++i) {
        check(buffer.append(d[i]));
    }
    const ConfigReplyBuffer::Outcome outcome = buffer.judge(request.bytes());
    check(buffer.count() < ConfigRecord::kSize);
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 16384) {
        return 0;
    }
    ConfigRecord request;
    const ConfigRecord::Mac target{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    request.setTarget(target);
    request.setStatic({192, 168, 1, 50});
    request.setNewMac(target);
    request.seal();

    std::vector<Datagram> reads = datagrams(data, size);
    ConfigReplyBuffer raw;
    for (const Datagram& d : reads) {
        receive(raw, d, request);
    }

    ConfigReplyBuffer buffer;
    for (Datagram& d : reads) {
        std::replace(d.begin(), d.end(), target[0], std::uint8_t{0x01});
        check(receive(buffer, d, request) != ConfigReplyBuffer::Outcome::Accepted);
    }
    ConfigRecord::Bytes accepted = request.bytes();
    accepted[ConfigRecord::kStatusByte] = ConfigRecord::kStatusAccepted;
    // The answer may come in two datagrams; the first byte of the input chooses the cut.
    const std::size_t cut = size > 0 ? data[0] % ConfigRecord::kSize : 0;
    const Datagram first(accepted.begin(), accepted.begin() + static_cast<std::ptrdiff_t>(cut));
    const Datagram rest(accepted.begin() + static_cast<std::ptrdiff_t>(cut), accepted.end());
    int acceptances = 0;
    for (const Datagram& d : {first, rest}) {
        acceptances += receive(buffer, d, request) == ConfigReplyBuffer::Outcome::Accepted;
    }
    check(acceptances == 1);
    check(buffer.count() == 0);
    return 0;
}
