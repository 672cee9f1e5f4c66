#include "ModelFixture.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::sim;
using namespace zentrel::sim::test;

struct FirmwareExchange : ::testing::Test {
    ModelOnOneLink b;
};

namespace {

std::vector<std::uint8_t> block(std::uint8_t fill, bool goodChecksum = true) {
    std::vector<std::uint8_t> b(257, fill);
    std::uint8_t sum = 0;
    for (std::size_t i = 1; i < b.size(); ++i) {
        sum = static_cast<std::uint8_t>(sum + b[i]);
    }
    b[0] = static_cast<std::uint8_t>(0 - sum + (goodChecksum ? 0 : 1));
    return b;
}

} // namespace

TEST_F(FirmwareExchange, BlockWithWrongChecksumGetsTheWriteFailureOfItsPart) {
    b.send("20 01 AA 00 00 01 01 40 07");
    EXPECT_EQ(b.askBytes(block(0x10, false)), frameHex("20 01 44"));
    b.send("20 02 AA 00 00 01 01 40 00");
    EXPECT_EQ(b.askBytes(block(0x10, false)), frameHex("20 02 44"));
    EXPECT_FALSE(b.model.firmware().blocks().back().checksumOk);
}

TEST_F(FirmwareExchange, ABlockCutShortIsGivenUpAfterAPause) {
    b.send("20 01 AA 00 00 01 01 40 00");
    std::vector<std::uint8_t> part = block(0x44);
    part.resize(100);
    EXPECT_TRUE(b.sendBytes(part).out.empty());
    // Seven seconds later the panel sends the header and the whole block again.
    b.now += 7000;
    const Exchange resent = b.send("20 01 AA 00 00 01 01 40 00");
    ASSERT_FALSE(resent.in.empty());
    EXPECT_EQ(resent.in[0].kind, Inbound::Kind::Abandoned);
    EXPECT_EQ(b.askBytes(block(0x44)), frameHex("20 01 00 00 00 01 01 40 00"));
}

TEST_F(FirmwareExchange, AssemblesEachPartAndRefusesBlocksOutOfOrder) {
    b.expectReplies({"20 02 01 00 00 00 00 40 -> 20 02 AA"});
    // After a start the part begins at id 0: block 1 first is refused.
    b.send("20 02 AA 00 00 01 01 40 01");
    EXPECT_EQ(b.askBytes(block(0x01)), frameHex("20 02 44"));
    for (std::uint8_t id = 0; id < 3; ++id) {
        b.send("20 02 AA 00 00 01 01 40 0" + std::to_string(id));
        EXPECT_EQ(b.askBytes(block(static_cast<std::uint8_t>(0x10 + id))),
                  frameHex("20 02 00 00 00 01 01 40 0" + std::to_string(id)));
    }
    // Block 1 again after block 2, or block 4 before block 3: refused. Block 2 again (its
    // acknowledgement lost): taken once more.
    for (const char* id : {"01", "04"}) {
        b.send(std::string("20 02 AA 00 00 01 01 40 ") + id);
        EXPECT_EQ(b.askBytes(block(0x77)), frameHex("20 02 44")) << id;
    }
    b.send("20 02 AA 00 00 01 01 40 02");
    EXPECT_EQ(b.askBytes(block(0x12)), frameHex("20 02 00 00 00 01 01 40 02"));
    b.send("20 02 56 00 FE 00 01 40 03");
    EXPECT_EQ(b.askBytes(block(0x13)), frameHex("20 02 00 00 FE 00 01"));

    std::vector<std::uint8_t> expected;
    for (std::uint8_t fill : {0x10, 0x11, 0x12, 0x13}) {
        expected.insert(expected.end(), 256, fill);
    }
    EXPECT_EQ(b.model.firmware().image(2), expected);
    EXPECT_EQ(b.model.firmware().blocksOf(2), 5);
}

TEST_F(FirmwareExchange, ABlockThatDoesNotFollowItsHeaderIsRefused) {
    b.send("20 01 AA 00 00 01 01 40 00");
    b.now += 2000; // longer than a pause the matrix waits out
    const Exchange ex = b.sendBytes(block(0x44));
    ASSERT_FALSE(ex.in.empty());
    EXPECT_EQ(ex.in[0].kind, Inbound::Kind::Abandoned);
    ASSERT_FALSE(ex.out.empty());
    EXPECT_EQ(ModelOnOneLink::single(Exchange{{}, {ex.out[0]}}), frameHex("20 01 44"));
}
