#include "TrafficTap.h"

#include "protocol/HexText.h"

namespace zentrel {

void TrafficTap::record(TrafficDirection direction, std::span<const std::uint8_t> bytes) const {
    if (recorder != nullptr && !bytes.empty()) {
        recorder->record(page, direction, entryText(bytes));
    }
}

LinkWatch TrafficTap::watch() const {
    if (recorder == nullptr) {
        return {};
    }
    return [tap = *this](TrafficDirection d, std::span<const std::uint8_t> b) { tap.record(d, b); };
}

std::string TrafficTap::entryText(std::span<const std::uint8_t> bytes) {
    if (bytes.size() <= kLongestShown) {
        return hexList(bytes);
    }
    return std::to_string(bytes.size()) + " bytes: " + hexList(bytes.first(kLeadShown)) + " ...";
}

} // namespace zentrel
