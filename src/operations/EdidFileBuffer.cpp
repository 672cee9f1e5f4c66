#include "EdidFileBuffer.h"

#include <algorithm>

namespace zentrel::edid {

void EdidFileBuffer::accept(std::span<const std::uint8_t> file) {
    std::copy_n(file.begin(), std::min(file.size(), bytes_.size()), bytes_.begin());
}

EdidFileBuffer::Block EdidFileBuffer::block() const {
    Block b{};
    std::copy(bytes_.begin(), bytes_.end(), b.begin() + 1);
    return b;
}

} // namespace zentrel::edid
