#pragma once
// The frames every page's logs wrote, in the order they were written, for the traffic window.
// A user's session may run for days, so only the newest frames are kept, in a ring whose slots
// are reused: recording costs the same after a gigabyte of traffic as after none. One listener
// (the traffic window) hears of each frame as it is recorded.
#include "TrafficFrame.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace zentrel {

class EventLoop;

class TrafficRecorder {
public:
    static constexpr std::size_t kDefaultCapacity = 10'000;
    // Frames are numbered from 0 in the order they are recorded; `seq` is that number.
    using Listener = std::function<void(std::uint64_t seq, const TrafficFrame&)>;

    // `clock` gives each frame its time; `capacity` is how many of the newest frames are kept.
    explicit TrafficRecorder(const EventLoop& clock, std::size_t capacity = kDefaultCapacity);

    void record(int page, TrafficDirection direction, std::string_view hex);

    // The frames kept are those numbered firstSeq() to endSeq() - 1.
    std::uint64_t firstSeq() const { return end_ - ring_.size(); }
    std::uint64_t endSeq() const { return end_; }
    // A kept frame; `seq` must lie in [firstSeq(), endSeq()).
    const TrafficFrame& at(std::uint64_t seq) const { return ring_[seq % capacity_]; }

    void setListener(Listener listener) { listener_ = std::move(listener); }

private:
    const EventLoop& clock_;
    std::size_t capacity_;
    std::vector<TrafficFrame> ring_; // grows to the capacity as frames come, then turns
    std::uint64_t end_ = 0;
    Listener listener_;
};

} // namespace zentrel
