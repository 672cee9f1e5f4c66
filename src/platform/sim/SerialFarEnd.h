#pragma once
// What sits at the other end of a virtual serial line (the simulated matrix, or a test).
#include <cstdint>
#include <span>

namespace zentrel {

class SerialFarEnd {
public:
    virtual ~SerialFarEnd() = default;
    // Bytes the panel wrote, arriving once the last of them has crossed the line.
    virtual void receive(std::span<const std::uint8_t> bytes) = 0;
};

} // namespace zentrel
