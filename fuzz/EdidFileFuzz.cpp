// Feeds arbitrary bytes to the EDID file check and stops on any broken invariant. The first 256
// input bytes (zero-padded) are the EDID already held, the rest is the file.
#include "operations/EdidFileBuffer.h"
#include "operations/EdidFileCheck.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

using namespace zentrel::edid;

namespace {

void check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

std::uint8_t sum(std::span<const std::uint8_t> bytes) {
    std::uint8_t s = 0;
    for (std::uint8_t b : bytes) {
        s = static_cast<std::uint8_t>(s + b);
    }
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::array<std::uint8_t, kEdidSize> held{};
    const std::size_t heldSize = std::min(size, kEdidSize);
    std::copy_n(data, heldSize, held.begin());
    const std::span<const std::uint8_t> file(data + heldSize, size - heldSize);

    const EdidFileVerdict v = checkEdidFile(file, held);
    const bool sized = file.size() == kEdidSize || file.size() == kEdidBlockSize;
    if (!sized) {
        check(v.kind == EdidFileVerdict::Kind::Refuse);
        return 0;
    }
    if (v.kind != EdidFileVerdict::Kind::Accept) {
        return 0;
    }
    EdidFileBuffer buffer;
    buffer.accept(held);
    buffer.accept(file);
    const auto bytes = buffer.bytes();
    static constexpr std::uint8_t kHeader[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    check(std::equal(std::begin(kHeader), std::end(kHeader), bytes.begin()));
    check(sum(bytes.first(kEdidBlockSize)) == 0);
    check(bytes[126] <= 1);
    check(v.used == (bytes[126] == 1 ? kEdidSize : kEdidBlockSize));
    if (bytes[126] == 1) {
        check(sum(bytes.subspan(kEdidBlockSize)) == 0);
    }
    // A 128-byte file keeps the second block that was held.
    if (file.size() == kEdidBlockSize) {
        check(
            std::equal(held.begin() + kEdidBlockSize, held.end(), bytes.begin() + kEdidBlockSize));
    }
    const EdidFileBuffer::Block block = buffer.block();
    check(block[0] == 0 && std::equal(bytes.begin(), bytes.end(), block.begin() + 1));
    check(std::all_of(block.begin() + 1 + kEdidSize, block.end(), [](auto b) { return b == 0; }));
    return 0;
}
