#include "ModelFixture.h"
#include "protocol/Replies.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::sim;
using namespace zentrel::sim::test;

struct MatrixModelTest : ::testing::Test {
    ModelOnOneLink b;
};

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
        EXPECT_EQ(b.model.state().edidStatus[i], reply::kEdidUserDefined);
    }
    // A data header that no download request made ready for is not taken: no block follows it
    // on the matrix's side, and nothing is downloaded.
    b.send("03 07 56 00 00 01");
    EXPECT_FALSE(b.link.inBlock());
    // Nor is a download request without the access grant before it.
    b.expectReplies({"03 07 02 F0 -> 03 07 FF 00 FF"});
}

TEST_F(MatrixModelTest, AFourByFourUnitAcknowledgesEverySwitchButRoutesOnlyPortsItHas) {
    const auto before = b.model.state().routing;
    b.expectReplies({"02 03 05 00 01 -> 02 03 00 00 01", "02 01 01 -> 02 01 01 00 01",
                     "02 03 03 00 05 -> 02 03 00 00 05", "02 03 04 00 02 -> 02 03 00 00 02",
                     "02 01 02 -> 02 01 02 00 04"});
    for (std::size_t k = 5; k <= kMaxPorts; ++k) {
        EXPECT_EQ(b.model.state().routing[k], before[k]) << k; // outputs it lacks stay as made
    }
}

TEST_F(MatrixModelTest, AReplySplitAfterStrayBytesIsCutWithinTheReply) {
    FaultRule stray{FaultRule::Kind::Stray, FrameMatch::all()};
    stray.stray = {0x00, 0x7E};
    FaultRule split{FaultRule::Kind::Split, FrameMatch::all()};
    split.splitAt = {5};
    b.model.faults().add(stray);
    b.model.faults().add(split);
    const Exchange ex = b.send("01 01");
    ASSERT_EQ(ex.out.size(), 1u);
    EXPECT_EQ(hexBytes(ex.out[0].bytes), "00 7E " + frameHex("01 01 01"));
    ASSERT_EQ(ex.out[0].pieces.size(), 2u);
    EXPECT_EQ(ex.out[0].pieces[1].offset, 7u);
}
