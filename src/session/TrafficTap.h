#pragma once
// Where a link hands its frames to the traffic recorder: the recorder and the page the link
// belongs to. An empty tap (a test's page, a tool without a log) records nothing.
#include "TrafficRecorder.h"
#include "link/LinkWatch.h"

#include <cstdint>
#include <span>
#include <string>

namespace zentrel {

struct TrafficTap {
    // A frame longer than this (a firmware or EDID block) is one entry with its length and
    // first bytes: a log line of 257 bytes of hex is read by nobody and costs a redraw. The
    // search answers and the configuration record (55 bytes) still show whole.
    static constexpr std::size_t kLongestShown = 64;
    static constexpr std::size_t kLeadShown = 8;

    TrafficRecorder* recorder = nullptr;
    int page = 0;

    explicit operator bool() const { return recorder != nullptr; }
    void record(TrafficDirection direction, std::span<const std::uint8_t> bytes) const;
    // The tap as a link's watch; the recorder must outlive the link.
    LinkWatch watch() const;

    // The text of one entry: the bytes in hex, or "257 bytes: A5 5B 10 ..." for a long block.
    static std::string entryText(std::span<const std::uint8_t> bytes);
};

} // namespace zentrel
