#pragma once
// The one way tests write bytes: as hex text. "A5 5B 01 ..." is a whole run of bytes; a frame
// given from its byte 2 on ("01 04 01") gets its header and checksum filled in.
#include "protocol/CommandFrame.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace zentrel::test {

// "A5 5B 01" -> {0xA5, 0x5B, 0x01}
inline std::vector<std::uint8_t> bytesOf(std::string_view hex) {
    std::istringstream in{std::string(hex)};
    std::vector<std::uint8_t> out;
    for (unsigned v = 0; in >> std::hex >> v;) {
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return out;
}

// All thirteen bytes as given, checksum included (so a wrong one can be written).
inline CommandFrame frameOf(std::string_view hex) {
    const std::vector<std::uint8_t> b = bytesOf(hex);
    CommandFrame f;
    std::copy_n(b.begin(), std::min(b.size(), f.bytes.size()), f.bytes.begin());
    return f;
}

// Bytes 2.. onwards; the header and checksum are the frame's own.
inline CommandFrame frameFrom2(std::string_view hex) {
    CommandFrame f = CommandFrame::make({});
    const std::vector<std::uint8_t> b = bytesOf(hex);
    for (std::size_t i = 0; i < b.size(); ++i) {
        f.put(2 + i, b[i]);
    }
    return f;
}

inline std::vector<std::uint8_t> bytesOf(const CommandFrame& f) {
    return {f.bytes.begin(), f.bytes.end()};
}

} // namespace zentrel::test
