#include "CommandBuilders.h"

namespace zentrel {

CommandFrame commandFrame(std::uint8_t g, std::uint8_t c, std::uint8_t a) {
    return CommandFrame::make({g, c, a});
}

CommandFrame commandFrameB5(std::uint8_t g, std::uint8_t c, std::uint8_t a, std::uint8_t b5) {
    return CommandFrame::make({g, c, a, b5});
}

CommandFrame commandFrameB6(std::uint8_t g, std::uint8_t c, std::uint8_t a, std::uint8_t b6) {
    return CommandFrame::make({g, c, a, 0, b6});
}

} // namespace zentrel
