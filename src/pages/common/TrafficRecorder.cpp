#include "TrafficRecorder.h"

#include "platform/EventLoop.h"

#include <algorithm>

namespace zentrel {

TrafficRecorder::TrafficRecorder(const EventLoop& clock, std::size_t capacity)
    : clock_(clock), ring_(std::max<std::size_t>(capacity, 1)) {}

void TrafficRecorder::record(int page, TrafficDirection direction, std::string_view hex) {
    // The oldest slot is overwritten in place once the ring is full; its string keeps its
    // storage, so a full ring records without allocating.
    TrafficFrame& f = ring_[end_ % ring_.size()];
    f.page = page;
    f.direction = direction;
    f.timeMs = clock_.nowMs();
    f.hex.assign(hex);
    const std::uint64_t seq = end_++;
    count_ = std::min(count_ + 1, ring_.size());
    if (listener_) {
        listener_(seq, f);
    }
}

} // namespace zentrel
