#include "DiscoveryBuffer.h"

#include <cstdio>

namespace zentrel {

bool DiscoveryBuffer::append(std::uint8_t byte) {
    if (count_ >= kCapacity) {
        return false;
    }
    bytes_[count_++] = byte;
    return true;
}

std::optional<std::size_t> DiscoveryBuffer::answerOffset(std::span<const std::uint8_t> bytes) {
    // Only bytes that arrived count: an answer whose signature lies past the end is incomplete,
    // and reading on would pick up whatever an earlier answer left behind. Skipping the leading
    // probe echoes instead could only land on an offset this search has already tried.
    for (std::size_t k = 0; k + 20 <= bytes.size(); ++k) {
        if (bytes[k + 18] == kSignature0 && bytes[k + 19] == kSignature1) {
            return k;
        }
    }
    return std::nullopt;
}

std::optional<DiscoveryBuffer::Answer> DiscoveryBuffer::take() {
    const std::optional<std::size_t> k =
        answerOffset(std::span<const std::uint8_t>(bytes_.data(), count_));
    count_ = 0;
    if (!k) {
        return std::nullopt;
    }
    const std::uint8_t* a = bytes_.data() + *k;
    char mac[16];
    std::snprintf(mac, sizeof mac, "%02X%02X%02X%02X%02X%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
    char ip[20];
    std::snprintf(ip, sizeof ip, "%d.%d.%d.%d", a[6], a[7], a[8], a[9]);
    return Answer{mac, ip};
}

} // namespace zentrel
