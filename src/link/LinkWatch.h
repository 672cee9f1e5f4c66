#pragma once
// What hears every frame or datagram as it goes onto a link, or as it arrives whole, whichever
// page or dialog it belongs to: the traffic log taps the links here rather than the pages' logs,
// so nothing a page sends or takes in can be missed by a page that logs its own way.
#include <cstdint>
#include <functional>
#include <span>

namespace zentrel {

enum class TrafficDirection { Sent, Received };

using LinkWatch = std::function<void(TrafficDirection, std::span<const std::uint8_t>)>;

} // namespace zentrel
