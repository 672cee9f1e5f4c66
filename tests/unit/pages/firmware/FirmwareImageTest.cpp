#include "operations/FirmwareImage.h"
#include "operations/FirmwareFile.h"

#include <gtest/gtest.h>

using namespace zentrel;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes pattern(std::size_t size, std::uint8_t seed) {
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i) {
        b[i] = static_cast<std::uint8_t>((i * 13 + seed) % 0xA0);
    }
    return b;
}

Bytes imageBytes(const FirmwareImage& img, std::size_t from, std::size_t count) {
    Bytes out;
    for (std::size_t i = from; i < from + count; ++i) {
        out.push_back(img.at(i));
    }
    return out;
}

} // namespace

TEST(FirmwareImage, DescramblesWithTheKeyOfItsLength) {
    // The same content makes other file bytes at another length: the key is
    // (length mod 256) XOR D6, 1026 -> D4 and 300 -> FA.
    for (const auto& [length, key] : {std::pair<std::size_t, std::uint8_t>{1026, 0xD4},
                                      std::pair<std::size_t, std::uint8_t>{300, 0xFA}}) {
        SCOPED_TRACE(length);
        Bytes plain = pattern(length, 3);
        plain[0] = 0xA5;
        plain[1] = 0x5A;
        Bytes file = plain;
        for (std::uint8_t& b : file) {
            b = static_cast<std::uint8_t>(b ^ key);
        }
        FirmwareImage img;
        ASSERT_EQ(img.load(file), FirmwareImage::Load::Loaded);
        EXPECT_EQ(img.length(), length);
        EXPECT_EQ(imageBytes(img, 0, length), plain);
        EXPECT_EQ(img.markerAt(0), PartMarker::Part1);
    }
}

TEST(FirmwareImage, SizesAtTheEdgesOfTheBuffer) {
    FirmwareImage img;
    ASSERT_EQ(img.load(Bytes(FirmwareImage::kCapacity, 0x11)), FirmwareImage::Load::Loaded);
    EXPECT_EQ(img.length(), FirmwareImage::kCapacity);
    const std::uint8_t key = FirmwareImage::key(FirmwareImage::kCapacity);
    EXPECT_EQ(img.at(FirmwareImage::kCapacity - 1), 0x11 ^ key);
    // A last block reaches past the buffer: it reads zeros there, never other memory.
    EXPECT_EQ(img.at(FirmwareImage::kCapacity), 0);
    EXPECT_EQ(img.at(FirmwareImage::kCapacity + 255), 0);

    // One byte more is refused, and the image stays what it was.
    EXPECT_EQ(img.load(Bytes(FirmwareImage::kCapacity + 1, 0x22)), FirmwareImage::Load::TooLarge);
    EXPECT_EQ(img.length(), FirmwareImage::kCapacity);
    EXPECT_EQ(img.at(5), 0x11 ^ key);

    // An empty file loads as nothing: no marker.
    ASSERT_EQ(img.load({}), FirmwareImage::Load::Loaded);
    EXPECT_EQ(img.length(), 0u);
    EXPECT_EQ(img.markerAt(0), PartMarker::None);
}

TEST(FirmwareImage, ASmallFileAfterALargeOneLeavesNothingOfTheLargeBehindIt) {
    FirmwareImage img;
    img.load(Bytes(5000, 0x33));
    img.load(Bytes(300, 0x44));
    EXPECT_EQ(imageBytes(img, 300, 4700), Bytes(4700, 0));
    EXPECT_EQ(img.at(299), 0x44 ^ FirmwareImage::key(300));
}
