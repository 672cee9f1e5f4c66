#include "ModelFixture.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::sim;
using namespace zentrel::sim::test;

struct MatrixModelTest : ::testing::Test {
    ModelOnOneLink b;
};

TEST_F(MatrixModelTest, DeviceInformationChainWithAndWithoutTheUpgradeMark) {
    b.expectReplies(
        {"01 01 -> 01 01 01", "01 02 -> 01 02 04 00 04", "01 03 -> 01 03 01 00 03",
         // The FW Upgrade page marks its queries with 40 in byte 9; the answers are the same.
         "01 01 00 00 00 00 00 40 -> 01 01 01", "01 02 00 00 00 00 00 40 -> 01 02 04 00 04",
         "01 03 00 00 00 00 00 40 -> 01 03 01 00 03"});
}

TEST_F(MatrixModelTest, PortStatesReportFFForAnEmptyPort) {
    b.model.state().inputConnected[3] = false;
    b.expectReplies(
        {"01 04 01 -> 01 04 01 00 00", "01 04 03 -> 01 04 03 00 FF", "01 05 04 -> 01 05 04 00 00",
         // A four-by-four unit has nothing on ports 5..8; ports outside 1..8 get no answer.
         "01 05 05 -> 01 05 05 00 FF", "01 04 00 ->", "01 05 09 ->"});
}

TEST_F(MatrixModelTest, BeepIrAndPowerAreSetAndReadBack) {
    b.expectReplies(
        {"01 0B -> 01 0B 00 00 00", "06 01 F0 -> 06 01 00", "01 0B -> 01 0B 00 00 FF",
         "05 01 F0 -> 05 01 00", "01 0A -> 01 0A 00 00 FF", "05 01 0F -> 05 01 00",
         "01 0A -> 01 0A 00 00 00", "08 0C -> 08 0C 0F",
         // A state byte that is neither on nor off changes nothing and is not taken for success.
         "06 01 33 -> 06 01 FF 00 FF"});
    EXPECT_FALSE(b.model.state().beep);
}

TEST_F(MatrixModelTest, StandbyAnswersEverythingWithTheAnnouncementUntilPoweredOn) {
    b.expectReplies({"08 0B F0 -> 08 0B 00", "02 01 01 -> 88 88", "01 04 01 -> 88 88",
                     "08 0C -> 08 0C F0", "08 0B 0F -> 08 0B 00", "02 01 01 -> 02 01 01 00 01"});

    const Reply r = b.model.enterStandby();
    EXPECT_EQ(hexBytes(r.bytes), frameHex("88 88"));
    b.expectReplies({"03 08 F0 -> 88 88"});
    EXPECT_EQ(hexBytes(b.model.edidSwitchReport(0x0F).bytes), frameHex("03 0B 0F"));
}

TEST_F(MatrixModelTest, RebootAnswersThenIsSilentForAWhile) {
    b.model.timing().rebootMs = 3000;
    const Exchange ex = b.send("08 0D");
    ASSERT_EQ(ex.out.size(), 1u);
    EXPECT_EQ(hexBytes(ex.out[0].bytes), frameHex("08 0D 00"));
    const std::int64_t replyAt = ex.out[0].lastDelayMs();
    b.now = replyAt + 2999;
    const Exchange during = b.send("01 01");
    EXPECT_TRUE(during.out.empty());
    ASSERT_EQ(during.in.size(), 1u);
    EXPECT_EQ(during.in[0].kind, Inbound::Kind::Ignored);
    b.now = replyAt + 3000;
    b.expectReplies({"01 01 -> 01 01 01"});
}

TEST_F(MatrixModelTest, SwitchingAndRoutingReadBack) {
    b.expectReplies({"02 01 02 -> 02 01 02 00 02",
                     // Input 3 to output 2 is acknowledged with byte 4 = 0, byte 6 = 2.
                     "02 03 03 00 02 -> 02 03 00 00 02", "02 01 02 -> 02 01 02 00 03",
                     // Output 5 of a sequence is acknowledged although a four-output unit lacks it.
                     "02 03 02 00 05 -> 02 03 00 00 05",
                     // An input outside 1..8 is refused (byte 4 not 0) and changes nothing.
                     "02 03 09 00 02 -> 02 03 FF 00 02"});
    EXPECT_EQ(b.model.state().routing[2], 3);
}

TEST_F(MatrixModelTest, FactoryResetSequenceRestoresRoutingEdidAndBeep) {
    b.model.state().routing[1] = 4;
    b.model.state().edidStatus[2] = 0x0A;
    b.model.state().beep = false;
    b.expectReplies({"02 03 01 00 01 -> 02 03 00 00 01", "02 03 02 00 02 -> 02 03 00 00 02",
                     "02 03 03 00 03 -> 02 03 00 00 03", "02 03 04 00 04 -> 02 03 00 00 04",
                     "03 08 F0 -> 03 08 00", "03 01 04 F0 -> 03 01 00", "06 01 0F -> 06 01 00"});
    const MatrixState& s = b.model.state();
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(s.routing[static_cast<std::size_t>(k)], k);
        EXPECT_EQ(s.edidStatus[static_cast<std::size_t>(k)], 0x03); // built-in EDID 4
    }
    EXPECT_TRUE(s.beep);
}

TEST_F(MatrixModelTest, BuiltInDefaultAndCopiedEdidShowInTheStatus) {
    // Built-in EDID m is reported as status code m - 1.
    // Each change follows its own access grant.
    b.expectReplies(
        {"03 08 F0 -> 03 08 00", "03 02 0B F0 03 -> 03 02 00 00 03", "01 0C 03 -> 01 0C 03 00 0A",
         "03 08 F0 -> 03 08 00", "03 0A 03 -> 03 0A 00 00 03", "01 0C 03 -> 01 0C 03 00 03",
         "03 08 F0 -> 03 08 00", "03 01 0F F0 -> 03 01 00", "01 0C 04 -> 01 0C 04 00 0E",
         "03 08 F0 -> 03 08 00", "03 09 FE -> 03 09 00", "01 0C 04 -> 01 0C 04 00 03",
         // Copies of output A..D are codes 0F..12.
         "03 08 F0 -> 03 08 00", "03 04 04 00 02 -> 03 04 00 00 02", "01 0C 02 -> 01 0C 02 00 12",
         "03 08 F0 -> 03 08 00", "03 03 01 -> 03 03 00", "01 0C 01 -> 01 0C 01 00 0F",
         // An EDID number outside 1..15 is refused with the EDID switch report.
         "03 08 F0 -> 03 08 00", "03 02 10 F0 01 -> 03 0B 0F"});
}

TEST_F(MatrixModelTest, EdidCopyFromAnOutputWithoutDisplayIsRefused) {
    b.model.state().outputConnected[2] = false;
    b.expectReplies({"01 05 02 -> 01 05 02 00 FF", "03 08 F0 -> 03 08 00",
                     "03 04 02 00 01 -> 03 04 FF 00 01", "03 08 F0 -> 03 08 00",
                     "03 03 02 -> 03 03 FF"});
    EXPECT_EQ(b.model.state().edidStatus[1], kEdidDefault);
}

TEST_F(MatrixModelTest, ValidEdidNeedsHeaderChecksumsAndAtMostOneExtension) {
    std::vector<std::uint8_t> e = makeEdid(true);
    EXPECT_TRUE(MatrixModel::validEdid(e));
    e[255] ^= 1;
    EXPECT_FALSE(MatrixModel::validEdid(e));
    e = makeEdid(false);
    e[200] = 0x77; // bytes past the base block do not matter without an extension
    EXPECT_TRUE(MatrixModel::validEdid(e));
    e[3] = 0x00;
    EXPECT_FALSE(MatrixModel::validEdid(e));
    e = makeEdid(false);
    e[126] = 2;
    e[127] = static_cast<std::uint8_t>(e[127] - 2);
    EXPECT_FALSE(MatrixModel::validEdid(e));
}

TEST_F(MatrixModelTest, EdidDownloadToOneInputAcceptsAValidBlock) {
    b.expectReplies(
        {"03 08 F0 -> 03 08 00", "03 07 02 F0 -> 03 07 AA 00 02", "03 07 56 00 00 01 ->"});
    EXPECT_TRUE(b.link.inBlock());
    const std::vector<std::uint8_t> edid = makeEdid(true);
    const Exchange ex = b.sendBytes(edidBlock(edid));
    ASSERT_EQ(ex.in.size(), 1u);
    EXPECT_EQ(ex.in[0].kind, Inbound::Kind::EdidBlock);
    EXPECT_EQ(ModelOnOneLink::single(ex), frameHex("03 07 00 00 02 01"));
    EXPECT_EQ(b.model.userEdid(2), edid);
    b.expectReplies({"01 0C 02 -> 01 0C 02 00 13", "01 0C 01 -> 01 0C 01 00 03"});
}

TEST_F(MatrixModelTest, EdidDownloadToAllInputsFailsWithFFForAnInvalidBlockOrNoRequest) {
    b.expectReplies({"03 08 F0 -> 03 08 00", "03 06 FE F0 -> 03 06 AA"});
    b.send("03 06 56 00 00 01");
    std::vector<std::uint8_t> edid = makeEdid(false);
    edid[20] ^= 0x40; // base block no longer sums to zero
    EXPECT_EQ(b.askBytes(edidBlock(edid)), frameHex("03 06 FF 00 00 01"));
    EXPECT_EQ(b.model.state().edidStatus[1], kEdidDefault);
    // The line is back to frames after the block.
    b.expectReplies({"01 01 -> 01 01 01"});

    b.send("03 08 F0");
    b.send("03 06 FE F0");
    b.send("03 06 56 00 00 01");
    EXPECT_EQ(b.askBytes(edidBlock(makeEdid(false))), frameHex("03 06 00 00 00 01"));
    for (std::size_t i = 1; i <= 4; ++i) {
        EXPECT_EQ(b.model.state().edidStatus[i], kEdidUserDefined);
    }
    // A data header that no download request made ready for is not taken: no block follows it
    // on the matrix's side, and nothing is downloaded.
    b.send("03 07 56 00 00 01");
    EXPECT_FALSE(b.link.inBlock());
    // Nor is a download request without the access grant before it.
    b.expectReplies({"03 07 02 F0 -> 03 07 FF 00 FF"});
}

TEST_F(MatrixModelTest, UnknownAndCorruptFramesGetNoAnswerAndTwoInOneDeliveryBothDo) {
    b.expectReplies({"07 07 ->"});
    std::vector<std::uint8_t> bad = frameBytes("01 01");
    bad[12] ^= 0x01;
    const Exchange ex = b.sendBytes(bad);
    EXPECT_TRUE(ex.out.empty());
    ASSERT_EQ(ex.in.size(), 1u);
    EXPECT_EQ(ex.in[0].kind, Inbound::Kind::BadChecksum);

    std::vector<std::uint8_t> two = frameBytes("01 04 01");
    const std::vector<std::uint8_t> second = frameBytes("01 05 01");
    two.insert(two.end(), second.begin(), second.end());
    const Exchange both = b.sendBytes(two);
    ASSERT_EQ(both.out.size(), 2u);
    EXPECT_EQ(hexBytes(both.out[0].bytes), frameHex("01 04 01"));
    EXPECT_EQ(hexBytes(both.out[1].bytes), frameHex("01 05 01"));
}
