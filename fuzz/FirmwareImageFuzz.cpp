// The firmware loader over arbitrary files: de-scrambling and the part scan. A file that fits is
// taken whole and de-scrambled with the key of its own length, the rest of the buffer is clear,
// and a longer file is refused without touching the image; every part end the scan reports lies
// within the image and sits on a part marker, and nothing is read past the buffer.
#include "operations/FirmwareImage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

using namespace zentrel;

namespace {

void check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte stretches the file with zeros so that sizes near and past the buffer's
    // are tried without inputs of that size.
    std::vector<std::uint8_t> file(data + 1, data + size);
    if (data[0] >= 0xF0) {
        file.resize(FirmwareImage::kCapacity - 0xF8 + data[0], 0x00);
    }
    auto image = std::make_unique<FirmwareImage>();
    const std::vector<std::uint8_t> before{0xA5, 0x5A, 0x11};
    image->load(before);

    if (image->load(file) == FirmwareImage::Load::TooLarge) {
        check(file.size() > FirmwareImage::kCapacity);
        check(image->length() == before.size()); // the earlier image stays
        return 0;
    }
    check(image->length() == file.size());
    const std::uint8_t key = FirmwareImage::key(file.size());
    for (std::size_t i = 0; i < file.size(); ++i) {
        check(image->at(i) == (file[i] ^ key));
    }
    for (std::size_t i = file.size(); i < file.size() + 300; ++i) {
        check(image->at(i) == 0); // cleared, or past the buffer
    }
    std::vector<std::uint8_t> again = file;
    FirmwareImage::descramble(again);
    FirmwareImage::descramble(again);
    check(again == file);

    for (std::size_t from = 0; from <= file.size(); from += 1 + from / 8) {
        const std::size_t end = image->partEnd(from);
        check(end >= from && end <= file.size());
        if (end < file.size()) {
            const std::uint8_t a = image->at(end);
            const std::uint8_t b = image->at(end + 1);
            check((a == 0xA3 || a == 0xA4) && (b == 0x5B || b == 0x5C));
        }
        (void)image->markerAt(from);
    }
    return 0;
}
