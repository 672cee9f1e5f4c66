#include "Exchange.h"

#include <cstdio>

namespace zentrel::sim {

std::string hexBytes(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    out.reserve(bytes.size() * 3);
    char buf[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, i + 1 < bytes.size() ? "%02X " : "%02X", bytes[i]);
        out += buf;
    }
    return out;
}

} // namespace zentrel::sim
