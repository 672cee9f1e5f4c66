#include "ConfigReplyBuffer.h"

#include <algorithm>

namespace zentrel {

namespace {
constexpr std::size_t kMacSize = 6;
} // namespace

bool ConfigReplyBuffer::append(std::uint8_t byte) {
    if (count_ >= kCapacity) {
        return false;
    }
    bytes_[count_++] = byte;
    return true;
}

ConfigReplyBuffer::Outcome ConfigReplyBuffer::judge(const ConfigRecord::Bytes& request) {
    if (count_ < ConfigRecord::kSize) {
        return Outcome::Waiting;
    }
    // Only offsets whose whole MAC lies within the received bytes are compared.
    std::size_t k = 0;
    bool found = false;
    for (; k + kMacSize <= count_; ++k) {
        if (std::equal(request.begin(), request.begin() + kMacSize, bytes_.begin() + k)) {
            found = true;
            break;
        }
    }
    if (!found) {
        // The last few bytes may be the start of the answer, cut after fewer bytes than the
        // MAC: they stay, or the answer's remainder would find nothing to complete.
        std::size_t keep = std::min(kMacSize - 1, count_);
        while (keep > 0 &&
               !std::equal(bytes_.begin() + static_cast<std::ptrdiff_t>(count_ - keep),
                           bytes_.begin() + static_cast<std::ptrdiff_t>(count_), request.begin())) {
            --keep;
        }
        std::copy(bytes_.begin() + static_cast<std::ptrdiff_t>(count_ - keep),
                  bytes_.begin() + static_cast<std::ptrdiff_t>(count_), bytes_.begin());
        count_ = keep;
        return Outcome::NotAccepted;
    }
    if (k + ConfigRecord::kSize > count_) {
        std::copy(bytes_.begin() + k, bytes_.begin() + count_, bytes_.begin());
        count_ -= k;
        return Outcome::Waiting;
    }
    const std::uint8_t status = bytes_[k + ConfigRecord::kStatusByte];
    count_ = 0;
    if (status == ConfigRecord::kStatusAccepted) {
        return Outcome::Accepted;
    }
    // 0xFF marks a request: ours, heard back on the port it went out to.
    return status == ConfigRecord::kStatusRequest ? Outcome::NotAccepted : Outcome::Refused;
}

} // namespace zentrel
