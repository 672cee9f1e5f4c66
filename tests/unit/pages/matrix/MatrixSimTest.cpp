// The simulated matrix as the Matrix page meets it: a four-by-four unit's routing table and
// status answers.
#include "ModelFixture.h"

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
