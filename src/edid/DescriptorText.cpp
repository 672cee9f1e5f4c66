#include "edid/DescriptorText.h"

namespace edidinfo {

std::string descriptorText(std::span<const std::uint8_t, 18> d) {
    std::string text;
    for (std::size_t i = 5; i < 18 && d[i] != 0x0a; ++i) {
        // Anything outside printable ASCII would garble a report line or a JSON string's intent.
        text += d[i] >= 0x20 && d[i] < 0x7f ? static_cast<char>(d[i]) : '?';
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

} // namespace edidinfo
