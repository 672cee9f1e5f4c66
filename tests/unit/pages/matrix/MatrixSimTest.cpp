// The simulated matrix as the Matrix page meets it: a four-by-four unit's routing table and
// status answers, and the fault knobs that spoil a switch acknowledgment or a routing answer.
#include "ModelFixture.h"
#include "sim/faults/FaultParser.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::sim;
using namespace zentrel::sim::test;

struct MatrixSim : ::testing::Test {
    ModelOnOneLink b;
};

TEST_F(MatrixSim, AFourByFourUnitAcknowledgesEverySwitchButRoutesOnlyPortsItHas) {
    b.expectReplies({"02 03 05 00 01 -> 02 03 00 00 01", "02 01 01 -> 02 01 01 00 01",
                     "02 03 03 00 05 -> 02 03 00 00 05", "02 03 04 00 02 -> 02 03 00 00 02",
                     "02 01 02 -> 02 01 02 00 04"});
    for (int k = 1; k <= kMaxPorts; ++k) {
        EXPECT_LE(b.model.state().routing[static_cast<std::size_t>(k)], 4) << k;
    }
    // An eight-input unit takes input 5.
    ModelOnOneLink big;
    big.model.state() = MatrixState::factory(8, 8);
    big.expectReplies({"02 03 05 00 01 -> 02 03 00 00 01", "02 01 01 -> 02 01 01 00 05"});
}

TEST_F(MatrixSim, KnobsPatchAByteNameAnotherOutputOrAddASecondFrame) {
    FaultRule patch{FaultRule::Kind::Patch, FrameMatch::of(0x02, 0x01).with(4, 2), 1};
    patch.patchValue = 0xFF;
    b.model.faults().add(patch);
    b.expectReplies(
        {"02 01 01 -> 02 01 01 00 01", "02 01 02 -> 02 01 02 00 FF", "02 01 02 -> 02 01 02 00 02"});

    b.model.faults().add(FaultRule{FaultRule::Kind::OtherOutput, FrameMatch::of(0x02, 0x03), 1});
    b.expectReplies({"02 03 01 00 04 -> 02 03 00 00 05", "02 03 01 00 08 -> 02 03 00 00 08"});
    EXPECT_EQ(b.model.state().routing[4], 1); // the switch itself took place

    b.model.faults().add(FaultRule{FaultRule::Kind::Twin, FrameMatch::of(0x02, 0x01), 1});
    const Exchange ex = b.send("02 01 03");
    ASSERT_EQ(ex.out.size(), 1u);
    ASSERT_EQ(ex.out[0].pieces.size(), 1u); // both frames leave in one piece
    EXPECT_EQ(hexBytes(ex.out[0].bytes), frameHex("02 01 03 00 03") + " " + frameHex("88 88"));
}

TEST_F(MatrixSim, TheCommandLineNamesTheNewKnobs) {
    const ParsedFault p = FaultParser::parse("patch:02.01@4=02,byte=6,value=FF,times=1");
    EXPECT_EQ(p.rule.kind, FaultRule::Kind::Patch);
    EXPECT_EQ(p.rule.patchAt, 6u);
    EXPECT_EQ(p.rule.patchValue, 0xFF);
    EXPECT_EQ(p.rule.times, 1);
    EXPECT_EQ(FaultParser::parse("other-output:02.03").rule.kind, FaultRule::Kind::OtherOutput);
    const ParsedFault twin = FaultParser::parse("twin:02.01,then=020102000300");
    EXPECT_EQ(twin.rule.kind, FaultRule::Kind::Twin);
    EXPECT_EQ(twin.rule.then, (std::vector<std::uint8_t>{0x02, 0x01, 0x02, 0x00, 0x03, 0x00}));
    EXPECT_THROW(FaultParser::parse("patch:02.01,byte=12"), std::invalid_argument);
    EXPECT_THROW(FaultParser::parse("twin:02.01,then=0"), std::invalid_argument);
}
