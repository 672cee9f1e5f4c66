#include "TrafficRecorder.h"

#include "platform/EventLoop.h"
#include "protocol/FrameMeaning.h"

#include <algorithm>

namespace zentrel {

TrafficRecorder::TrafficRecorder(const EventLoop& clock, std::size_t capacity)
    : clock_(clock), capacity_(std::max<std::size_t>(capacity, 1)) {}

void TrafficRecorder::record(int page, TrafficDirection direction, std::string_view hex) {
    // A panel that never shows its traffic pays for no more slots than frames it sent. Once
    // the ring is full the oldest slot is overwritten in place; its strings keep their storage,
    // so a full ring allocates for no more than the meaning's words.
    if (ring_.size() < capacity_) {
        ring_.emplace_back();
    }
    TrafficFrame& f = ring_[end_ % capacity_];
    f.page = page;
    f.direction = direction;
    f.timeMs = clock_.nowMs();
    f.hex.assign(hex);
    f.meaning.assign(describeHex(hex, direction == TrafficDirection::Sent
                                          ? FrameDirection::ToMatrix
                                          : FrameDirection::FromMatrix));
    const std::uint64_t seq = end_++;
    if (listener_) {
        listener_(seq, f);
    }
}

} // namespace zentrel
