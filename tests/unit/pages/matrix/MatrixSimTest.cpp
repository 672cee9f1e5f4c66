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
