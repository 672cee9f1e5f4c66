#include "NetworkResponder.h"

#include <algorithm>

namespace zentrel::sim {

std::optional<std::vector<std::uint8_t>>
NetworkResponder::onDiscovery(std::span<const std::uint8_t> dgram) const {
    if (dgram.size() != 1 || dgram[0] != kProbe) {
        return std::nullopt;
    }
    return discoveryRecord();
}

std::vector<std::uint8_t> NetworkResponder::discoveryRecord() const {
    std::vector<std::uint8_t> rec(kDiscoverySize, 0);
    std::copy(state_.mac.begin(), state_.mac.end(), rec.begin());
    std::copy(state_.ip.begin(), state_.ip.end(), rec.begin() + 6);
    std::copy(state_.gateway.begin(), state_.gateway.end(), rec.begin() + 10);
    std::copy(state_.mask.begin(), state_.mask.end(), rec.begin() + 14);
    rec[18] = 0x77;
    rec[19] = 0x88;
    rec[20] = static_cast<std::uint8_t>(state_.addressMode);
    return rec;
}

std::uint8_t NetworkResponder::recordChecksum(std::span<const std::uint8_t> first75) {
    std::uint8_t sum = 0;
    for (std::uint8_t b : first75) {
        sum = static_cast<std::uint8_t>(sum + b);
    }
    return sum;
}

// A record is taken only when it leaves the unit reachable: an address mode it knows, a
// unicast MAC that is not all zeros, and for a static address one a host can have.
bool NetworkResponder::acceptable(std::span<const std::uint8_t> rec) const {
    if (refuseConfig_ || recordChecksum(rec.first(75)) != rec[75]) {
        return false;
    }
    const std::uint8_t mode = rec[18];
    if (mode != 0 && mode != 1) {
        return false;
    }
    const auto newMac = rec.subspan(19, 6);
    const bool macZero = std::all_of(newMac.begin(), newMac.end(), [](auto b) { return b == 0; });
    if (macZero || (newMac[0] & 0x01) != 0) {
        return false;
    }
    if (mode == 0) {
        const std::uint8_t first = rec[6];
        const bool allOnes = rec[6] == 255 && rec[7] == 255 && rec[8] == 255 && rec[9] == 255;
        if (first == 0 || first >= 224 || allOnes) {
            return false;
        }
    }
    return true;
}

std::optional<std::vector<std::uint8_t>>
NetworkResponder::onConfig(std::span<const std::uint8_t> dgram) {
    if (dgram.size() != kConfigSize || dgram[74] != kStatusRequest ||
        !std::equal(state_.mac.begin(), state_.mac.end(), dgram.begin())) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> answer(dgram.begin(), dgram.end());
    if (acceptable(dgram)) {
        state_.addressMode = dgram[18] == 1 ? AddressMode::Auto : AddressMode::Static;
        if (state_.addressMode == AddressMode::Static) {
            // With an automatic address the unit keeps the address it has: the simulated
            // network hands out the same lease again.
            std::copy_n(dgram.begin() + 6, 4, state_.ip.begin());
            std::copy_n(dgram.begin() + 10, 4, state_.gateway.begin());
            std::copy_n(dgram.begin() + 14, 4, state_.mask.begin());
        }
        std::copy_n(dgram.begin() + 19, 6, state_.mac.begin());
        answer[74] = kStatusAccepted;
    } else {
        answer[74] = kStatusRefused;
    }
    answer[75] = recordChecksum(std::span(answer).first(75));
    return answer;
}

} // namespace zentrel::sim

namespace zentrel::sim {

std::vector<NetworkResponder::Datagram>
NetworkResponder::answerDiscovery(std::span<const std::uint8_t> dgram) const {
    std::vector<Datagram> out;
    const auto record = onDiscovery(dgram);
    if (!record) {
        return out;
    }
    out.push_back({0, *record});
    if (secondUnit_) {
        std::vector<std::uint8_t> other = *record;
        other[5] = static_cast<std::uint8_t>(other[5] + 1);
        other[9] = static_cast<std::uint8_t>(other[9] + 1);
        out.push_back({0, std::move(other)});
    }
    return out;
}

std::vector<NetworkResponder::Datagram>
NetworkResponder::answerConfig(std::span<const std::uint8_t> dgram) {
    std::vector<Datagram> out;
    const auto answer = onConfig(dgram);
    if (!answer) {
        return out;
    }
    const std::size_t cut =
        shape_.splitAt > 0 && shape_.splitAt < answer->size() ? shape_.splitAt : answer->size();
    std::vector<std::uint8_t> first = shape_.leading;
    first.insert(first.end(), answer->begin(), answer->begin() + static_cast<std::ptrdiff_t>(cut));
    out.push_back({shape_.delayMs, std::move(first)});
    if (cut < answer->size()) {
        out.push_back({shape_.delayMs,
                       std::vector<std::uint8_t>(answer->begin() + static_cast<std::ptrdiff_t>(cut),
                                                 answer->end())});
    }
    return out;
}

} // namespace zentrel::sim
