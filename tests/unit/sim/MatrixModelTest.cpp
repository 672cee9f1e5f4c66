#include "ModelBench.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::sim;
using namespace zentrel::sim::test;

TEST(MatrixModel, DeviceInformationChainWithAndWithoutTheUpgradeMark) {
    ModelBench b;
    EXPECT_EQ(b.ask({0x01, 0x01}), frameHex({0x01, 0x01, 0x01}));
    EXPECT_EQ(b.ask({0x01, 0x02}), frameHex({0x01, 0x02, 0x04, 0x00, 0x04}));
    EXPECT_EQ(b.ask({0x01, 0x03}), frameHex({0x01, 0x03, 0x01, 0x00, 0x03}));
    // The FW Upgrade page marks its queries with 40 in byte 9; the answers are the same.
    EXPECT_EQ(b.ask({0x01, 0x01, 0, 0, 0, 0, 0, 0x40}), frameHex({0x01, 0x01, 0x01}));
    EXPECT_EQ(b.ask({0x01, 0x02, 0, 0, 0, 0, 0, 0x40}), frameHex({0x01, 0x02, 0x04, 0x00, 0x04}));
    EXPECT_EQ(b.ask({0x01, 0x03, 0, 0, 0, 0, 0, 0x40}), frameHex({0x01, 0x03, 0x01, 0x00, 0x03}));
}

TEST(MatrixModel, PortStatesReportFFForAnEmptyPort) {
    ModelBench b;
    b.model.state().inputConnected[3] = false;
    EXPECT_EQ(b.ask({0x01, 0x04, 0x01}), frameHex({0x01, 0x04, 0x01, 0x00, 0x00}));
    EXPECT_EQ(b.ask({0x01, 0x04, 0x03}), frameHex({0x01, 0x04, 0x03, 0x00, 0xFF}));
    EXPECT_EQ(b.ask({0x01, 0x05, 0x04}), frameHex({0x01, 0x05, 0x04, 0x00, 0x00}));
    // A four-by-four unit has nothing on ports 5..8; ports outside 1..8 get no answer.
    EXPECT_EQ(b.ask({0x01, 0x05, 0x05}), frameHex({0x01, 0x05, 0x05, 0x00, 0xFF}));
    EXPECT_EQ(b.ask({0x01, 0x04, 0x00}), "");
    EXPECT_EQ(b.ask({0x01, 0x05, 0x09}), "");
}

TEST(MatrixModel, BeepIrAndPowerAreSetAndReadBack) {
    ModelBench b;
    EXPECT_EQ(b.ask({0x01, 0x0B}), frameHex({0x01, 0x0B, 0, 0, 0x00}));
    EXPECT_EQ(b.ask({0x06, 0x01, 0xF0}), frameHex({0x06, 0x01, 0x00}));
    EXPECT_EQ(b.ask({0x01, 0x0B}), frameHex({0x01, 0x0B, 0, 0, 0xFF}));
    EXPECT_EQ(b.ask({0x05, 0x01, 0xF0}), frameHex({0x05, 0x01, 0x00}));
    EXPECT_EQ(b.ask({0x01, 0x0A}), frameHex({0x01, 0x0A, 0, 0, 0xFF}));
    EXPECT_EQ(b.ask({0x05, 0x01, 0x0F}), frameHex({0x05, 0x01, 0x00}));
    EXPECT_EQ(b.ask({0x01, 0x0A}), frameHex({0x01, 0x0A, 0, 0, 0x00}));
    EXPECT_EQ(b.ask({0x08, 0x0C}), frameHex({0x08, 0x0C, 0x0F}));
    // A state byte that is neither on nor off changes nothing and is not taken for success.
    EXPECT_EQ(b.ask({0x06, 0x01, 0x33}), frameHex({0x06, 0x01, 0xFF, 0x00, 0xFF}));
    EXPECT_FALSE(b.model.state().beep);
}

TEST(MatrixModel, StandbyAnswersEverythingWithTheAnnouncementUntilPoweredOn) {
    ModelBench b;
    EXPECT_EQ(b.ask({0x08, 0x0B, 0xF0}), frameHex({0x08, 0x0B, 0x00}));
    EXPECT_EQ(b.ask({0x02, 0x01, 0x01}), frameHex({0x88, 0x88}));
    EXPECT_EQ(b.ask({0x01, 0x04, 0x01}), frameHex({0x88, 0x88}));
    EXPECT_EQ(b.ask({0x08, 0x0C}), frameHex({0x08, 0x0C, 0xF0}));
    EXPECT_EQ(b.ask({0x08, 0x0B, 0x0F}), frameHex({0x08, 0x0B, 0x00}));
    EXPECT_EQ(b.ask({0x02, 0x01, 0x01}), frameHex({0x02, 0x01, 0x01, 0x00, 0x01}));

    const Reply r = b.model.enterStandby();
    EXPECT_EQ(hexBytes(r.bytes), frameHex({0x88, 0x88}));
    EXPECT_EQ(b.ask({0x03, 0x08, 0xF0}), frameHex({0x88, 0x88}));
    EXPECT_EQ(hexBytes(b.model.edidSwitchReport(0x0F).bytes), frameHex({0x03, 0x0B, 0x0F}));
}

TEST(MatrixModel, RebootAnswersThenIsSilentForAWhile) {
    ModelBench b;
    b.model.timing().rebootMs = 3000;
    const Exchange ex = b.send({0x08, 0x0D});
    ASSERT_EQ(ex.out.size(), 1u);
    EXPECT_EQ(hexBytes(ex.out[0].bytes), frameHex({0x08, 0x0D, 0x00}));
    const std::int64_t replyAt = ex.out[0].lastDelayMs();
    b.now = replyAt + 2999;
    const Exchange during = b.send({0x01, 0x01});
    EXPECT_TRUE(during.out.empty());
    ASSERT_EQ(during.in.size(), 1u);
    EXPECT_EQ(during.in[0].kind, Inbound::Kind::Ignored);
    b.now = replyAt + 3000;
    EXPECT_EQ(b.ask({0x01, 0x01}), frameHex({0x01, 0x01, 0x01}));
}

TEST(MatrixModel, SwitchingAndRoutingReadBack) {
    ModelBench b;
    EXPECT_EQ(b.ask({0x02, 0x01, 0x02}), frameHex({0x02, 0x01, 0x02, 0x00, 0x02}));
    // Input 3 to output 2 is acknowledged with byte 4 = 0, byte 6 = 2.
    EXPECT_EQ(b.ask({0x02, 0x03, 0x03, 0x00, 0x02}), frameHex({0x02, 0x03, 0x00, 0x00, 0x02}));
    EXPECT_EQ(b.ask({0x02, 0x01, 0x02}), frameHex({0x02, 0x01, 0x02, 0x00, 0x03}));
    // Output 5 of a sequence is acknowledged although a four-output unit lacks it.
    EXPECT_EQ(b.ask({0x02, 0x03, 0x02, 0x00, 0x05}), frameHex({0x02, 0x03, 0x00, 0x00, 0x05}));
    // An input outside 1..8 is refused (byte 4 not 0) and changes nothing.
    EXPECT_EQ(b.ask({0x02, 0x03, 0x09, 0x00, 0x02}), frameHex({0x02, 0x03, 0xFF, 0x00, 0x02}));
    EXPECT_EQ(b.model.state().routing[2], 3);
}

TEST(MatrixModel, FactoryResetSequenceRestoresRoutingEdidAndBeep) {
    ModelBench b;
    b.model.state().routing[1] = 4;
    b.model.state().edidStatus[2] = 0x0A;
    b.model.state().beep = false;
    for (std::uint8_t k = 1; k <= 4; ++k) {
        EXPECT_EQ(b.ask({0x02, 0x03, k, 0x00, k}), frameHex({0x02, 0x03, 0x00, 0x00, k}));
    }
    EXPECT_EQ(b.ask({0x03, 0x08, 0xF0}), frameHex({0x03, 0x08, 0x00}));
    EXPECT_EQ(b.ask({0x03, 0x01, 0x04, 0xF0}), frameHex({0x03, 0x01, 0x00}));
    EXPECT_EQ(b.ask({0x06, 0x01, 0x0F}), frameHex({0x06, 0x01, 0x00}));
    const MatrixState& s = b.model.state();
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(s.routing[static_cast<std::size_t>(k)], k);
        EXPECT_EQ(s.edidStatus[static_cast<std::size_t>(k)], 0x03); // built-in EDID 4
    }
    EXPECT_TRUE(s.beep);
}

TEST(MatrixModel, BuiltInDefaultAndCopiedEdidShowInTheStatus) {
    ModelBench b;
    // Built-in EDID m is reported as status code m - 1.
    EXPECT_EQ(b.ask({0x03, 0x02, 0x0B, 0xF0, 0x03}), frameHex({0x03, 0x02, 0x00, 0x00, 0x03}));
    EXPECT_EQ(b.ask({0x01, 0x0C, 0x03}), frameHex({0x01, 0x0C, 0x03, 0x00, 0x0A}));
    EXPECT_EQ(b.ask({0x03, 0x0A, 0x03}), frameHex({0x03, 0x0A, 0x00, 0x00, 0x03}));
    EXPECT_EQ(b.ask({0x01, 0x0C, 0x03}), frameHex({0x01, 0x0C, 0x03, 0x00, 0x03}));
    EXPECT_EQ(b.ask({0x03, 0x01, 0x0F, 0xF0}), frameHex({0x03, 0x01, 0x00}));
    EXPECT_EQ(b.ask({0x01, 0x0C, 0x04}), frameHex({0x01, 0x0C, 0x04, 0x00, 0x0E}));
    EXPECT_EQ(b.ask({0x03, 0x09, 0xFE}), frameHex({0x03, 0x09, 0x00}));
    EXPECT_EQ(b.ask({0x01, 0x0C, 0x04}), frameHex({0x01, 0x0C, 0x04, 0x00, 0x03}));
    // Copies of output A..D are codes 0F..12.
    EXPECT_EQ(b.ask({0x03, 0x04, 0x04, 0x00, 0x02}), frameHex({0x03, 0x04, 0x00, 0x00, 0x02}));
    EXPECT_EQ(b.ask({0x01, 0x0C, 0x02}), frameHex({0x01, 0x0C, 0x02, 0x00, 0x12}));
    EXPECT_EQ(b.ask({0x03, 0x03, 0x01}), frameHex({0x03, 0x03, 0x00}));
    EXPECT_EQ(b.ask({0x01, 0x0C, 0x01}), frameHex({0x01, 0x0C, 0x01, 0x00, 0x0F}));
    // An EDID number outside 1..15 is refused with the EDID switch report.
    EXPECT_EQ(b.ask({0x03, 0x02, 0x10, 0xF0, 0x01}), frameHex({0x03, 0x0B, 0x0F}));
}

TEST(MatrixModel, EdidCopyFromAnOutputWithoutDisplayIsRefused) {
    ModelBench b;
    b.model.state().outputConnected[2] = false;
    EXPECT_EQ(b.ask({0x01, 0x05, 0x02}), frameHex({0x01, 0x05, 0x02, 0x00, 0xFF}));
    EXPECT_EQ(b.ask({0x03, 0x04, 0x02, 0x00, 0x01}), frameHex({0x03, 0x04, 0xFF, 0x00, 0x01}));
    EXPECT_EQ(b.ask({0x03, 0x03, 0x02}), frameHex({0x03, 0x03, 0xFF}));
    EXPECT_EQ(b.model.state().edidStatus[1], kEdidDefault);
}

TEST(MatrixModel, ValidEdidNeedsHeaderChecksumsAndAtMostOneExtension) {
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

TEST(MatrixModel, EdidDownloadToOneInputAcceptsAValidBlock) {
    ModelBench b;
    EXPECT_EQ(b.ask({0x03, 0x08, 0xF0}), frameHex({0x03, 0x08, 0x00}));
    EXPECT_EQ(b.ask({0x03, 0x07, 0x02, 0xF0}), frameHex({0x03, 0x07, 0xAA, 0x00, 0x02}));
    EXPECT_EQ(b.ask({0x03, 0x07, 0x56, 0x00, 0x00, 0x01}), "");
    EXPECT_TRUE(b.link.inBlock());
    const std::vector<std::uint8_t> edid = makeEdid(true);
    const Exchange ex = b.sendBytes(edidBlock(edid));
    ASSERT_EQ(ex.in.size(), 1u);
    EXPECT_EQ(ex.in[0].kind, Inbound::Kind::EdidBlock);
    EXPECT_EQ(ModelBench::single(ex), frameHex({0x03, 0x07, 0x00, 0x00, 0x02, 0x01}));
    EXPECT_EQ(b.model.userEdid(2), edid);
    EXPECT_EQ(b.ask({0x01, 0x0C, 0x02}), frameHex({0x01, 0x0C, 0x02, 0x00, 0x13}));
    EXPECT_EQ(b.ask({0x01, 0x0C, 0x01}), frameHex({0x01, 0x0C, 0x01, 0x00, 0x03}));
}

TEST(MatrixModel, EdidDownloadToAllInputsFailsWithFFForAnInvalidBlockOrNoRequest) {
    ModelBench b;
    EXPECT_EQ(b.ask({0x03, 0x06, 0xFE, 0xF0}), frameHex({0x03, 0x06, 0xAA}));
    b.send({0x03, 0x06, 0x56, 0x00, 0x00, 0x01});
    std::vector<std::uint8_t> edid = makeEdid(false);
    edid[20] ^= 0x40; // base block no longer sums to zero
    EXPECT_EQ(b.askBytes(edidBlock(edid)), frameHex({0x03, 0x06, 0xFF, 0x00, 0x00, 0x01}));
    EXPECT_EQ(b.model.state().edidStatus[1], kEdidDefault);
    // The line is back to frames after the block.
    EXPECT_EQ(b.ask({0x01, 0x01}), frameHex({0x01, 0x01, 0x01}));

    b.send({0x03, 0x06, 0xFE, 0xF0});
    b.send({0x03, 0x06, 0x56, 0x00, 0x00, 0x01});
    EXPECT_EQ(b.askBytes(edidBlock(makeEdid(false))),
              frameHex({0x03, 0x06, 0x00, 0x00, 0x00, 0x01}));
    for (std::size_t i = 1; i <= 4; ++i) {
        EXPECT_EQ(b.model.state().edidStatus[i], kEdidUserDefined);
    }
    // A one-input data header without a download request names no input: the block is taken
    // off the line and the download fails.
    b.send({0x03, 0x07, 0x56, 0x00, 0x00, 0x01});
    EXPECT_EQ(b.askBytes(edidBlock(makeEdid(false))),
              frameHex({0x03, 0x07, 0xFF, 0x00, 0x00, 0x01}));
}

TEST(MatrixModel, UnknownAndCorruptFramesGetNoAnswerAndTwoInOneDeliveryBothDo) {
    ModelBench b;
    EXPECT_EQ(b.ask({0x07, 0x07}), "");
    std::vector<std::uint8_t> bad = frameBytes({0x01, 0x01});
    bad[12] ^= 0x01;
    const Exchange ex = b.sendBytes(bad);
    EXPECT_TRUE(ex.out.empty());
    ASSERT_EQ(ex.in.size(), 1u);
    EXPECT_EQ(ex.in[0].kind, Inbound::Kind::BadChecksum);

    std::vector<std::uint8_t> two = frameBytes({0x01, 0x04, 0x01});
    const std::vector<std::uint8_t> second = frameBytes({0x01, 0x05, 0x01});
    two.insert(two.end(), second.begin(), second.end());
    const Exchange both = b.sendBytes(two);
    ASSERT_EQ(both.out.size(), 2u);
    EXPECT_EQ(hexBytes(both.out[0].bytes), frameHex({0x01, 0x04, 0x01}));
    EXPECT_EQ(hexBytes(both.out[1].bytes), frameHex({0x01, 0x05, 0x01}));
}
