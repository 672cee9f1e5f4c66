// What the simulated matrix refuses of the EDID commands, as a unit would: changes without the
// access granted just before, wrong fixed bytes, a data header nothing made ready for; and the
// knobs that let page tests meet odd replies and a dropped connection.
#include "ModelFixture.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::sim;
using namespace zentrel::sim::test;

namespace {

struct EdidGate : ::testing::Test {
    ModelOnOneLink b;
    void add(FaultRule::Kind kind, FrameMatch match, std::uint8_t code = 0x0F) {
        FaultRule r{kind, std::move(match)};
        r.code = code;
        b.model.faults().add(r);
    }
};

} // namespace

TEST_F(EdidGate, ChangesNeedTheirOwnAccessGrantAndARepeatOfTheSameChangeIsTaken) {
    b.expectReplies({"03 02 05 F0 01 -> 03 02 FF 00 FF", "03 0A 01 -> 03 0A FF 00 FF",
                     "03 01 05 F0 -> 03 01 FF 00 FF", "03 09 FE -> 03 09 FF 00 FF",
                     "03 03 01 -> 03 03 FF 00 FF", "03 04 01 00 02 -> 03 04 FF 00 FF",
                     "03 06 FE F0 -> 03 06 FF 00 FF", "03 07 01 F0 -> 03 07 FF 00 FF"});
    EXPECT_EQ(b.model.state().edidStatus[1], kEdidDefault);
    EXPECT_EQ(b.model.state().edidStatus[2], kEdidDefault);

    // One grant, one change; the same change again (its reply was lost) is taken, another is
    // not.
    b.expectReplies({"03 08 F0 -> 03 08 00", "03 02 05 F0 01 -> 03 02 00 00 01",
                     "03 02 05 F0 01 -> 03 02 00 00 01", "03 02 06 F0 01 -> 03 02 FF 00 FF"});
    EXPECT_EQ(b.model.state().edidStatus[1], 0x04);
}

TEST_F(EdidGate, WrongFixedBytesAreRefused) {
    b.expectReplies({"03 08 00 -> 03 08 FF 00 FF", "03 08 F0 -> 03 08 00",
                     "03 01 05 00 -> 03 01 FF 00 FF", "03 02 05 0F 01 -> 03 02 FF 00 FF",
                     "03 09 FF -> 03 09 FF 00 FF", "03 07 01 00 -> 03 07 FF 00 FF",
                     "03 06 FE 00 -> 03 06 FF 00 FF",
                     // The grant is still there for a well-formed command.
                     "03 07 01 F0 -> 03 07 AA 00 01",
                     // A header with the wrong byte 7 is refused and opens no block.
                     "03 07 56 00 00 02 -> 03 07 FF 00 FF"});
    EXPECT_FALSE(b.link.inBlock());
}

TEST_F(EdidGate, KnobsChangeWhatTheMatrixSays) {
    add(FaultRule::Kind::OtherInput, FrameMatch::of(0x01, 0x0C));
    add(FaultRule::Kind::OtherInput, FrameMatch::of(0x03, 0x02));
    add(FaultRule::Kind::Byte5Set, FrameMatch::of(0x01, 0x05));
    add(FaultRule::Kind::SwitchReport, FrameMatch::of(0x03, 0x08), 0x00);
    b.expectReplies({"01 0C 02 -> 01 0C 03 00 03", "01 0C 08 -> 01 0C 01 00 03",
                     "01 05 02 -> 01 05 02 01 00", "03 08 F0 -> 03 0B 00",
                     // A report in place of the grant grants nothing (the refusal's port
                     // byte moved on by the knob above).
                     "03 02 05 F0 02 -> 03 02 FF 00 08"});

    // The matrix drops the connection when the data header comes, and takes no block.
    b.model.faults().clear();
    add(FaultRule::Kind::CloseBeforeBlock, FrameMatch::of(0x03, 0x07));
    b.send("03 08 F0");
    b.send("03 07 01 F0");
    const Exchange ex = b.send("03 07 56 00 00 01");
    EXPECT_TRUE(ex.closeLink);
    EXPECT_TRUE(ex.out.empty());
    EXPECT_FALSE(b.link.inBlock());
}
