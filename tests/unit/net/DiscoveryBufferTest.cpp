#include "link/DiscoveryBuffer.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zentrel;

namespace {

TEST(DiscoveryBuffer, NeverGrowsPastItsCapacity) {
    DiscoveryBuffer b;
    std::size_t kept = 0;
    for (int i = 0; i < 3000; ++i) {
        kept += b.append(0x77) ? 1 : 0;
    }
    EXPECT_EQ(kept, DiscoveryBuffer::kCapacity);
    EXPECT_EQ(b.count(), DiscoveryBuffer::kCapacity);
    EXPECT_EQ(b.at(DiscoveryBuffer::kCapacity), 0); // past the end reads as nothing
    b.clear();
    EXPECT_TRUE(b.append(1));
}

TEST(DiscoveryBuffer, AlignsOnTheSignatureAndOnlyOnReceivedBytes) {
    std::vector<std::uint8_t> bytes(60, 0x61);
    EXPECT_EQ(DiscoveryBuffer::answerOffset(bytes), std::nullopt);
    bytes[21] = 0x77; // offset 3
    bytes[22] = 0x88;
    EXPECT_EQ(DiscoveryBuffer::answerOffset(bytes), 3u);
    bytes.resize(22); // the signature's second byte has not arrived
    EXPECT_EQ(DiscoveryBuffer::answerOffset(bytes), std::nullopt);
    EXPECT_EQ(DiscoveryBuffer::answerOffset({}), std::nullopt);
}

TEST(DiscoveryBuffer, TakeEmptiesTheBufferEitherWay) {
    DiscoveryBuffer b;
    for (int i = 0; i < 50; ++i) {
        b.append(static_cast<std::uint8_t>(i == 18 ? 0x77 : i == 19 ? 0x88 : 0xFF));
    }
    ASSERT_TRUE(b.ready());
    const auto a = b.take();
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(a->mac, "FFFFFFFFFFFF");
    EXPECT_EQ(a->ip, "255.255.255.255");
    EXPECT_EQ(b.count(), 0u);
    // The bytes of the previous answer are still in the array, but no longer count.
    b.append(0x61);
    EXPECT_FALSE(b.take().has_value());
}

} // namespace
