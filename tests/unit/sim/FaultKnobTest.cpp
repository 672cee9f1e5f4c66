#include "ModelFixture.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::sim;
using namespace zentrel::sim::test;

struct FaultKnobs : ::testing::Test {
    ModelOnOneLink b;
};

namespace {

FaultRule rule(FaultRule::Kind kind, FrameMatch match, int times = -1) {
    FaultRule r{kind, std::move(match)};
    r.times = times;
    return r;
}

const FrameMatch kSwitch = FrameMatch::of(cmd::kSwitch);

} // namespace

TEST_F(FaultKnobs, SilentOnceLosesOneReplyAndSilentAlwaysLosesThemAll) {
    b.model.faults().add(rule(FaultRule::Kind::Silent, kSwitch, 1));
    b.expectReplies({"02 03 02 00 01 ->", "02 03 02 00 01 -> 02 03 00 00 01"});
    // The lost reply was only lost: the switch itself took place.
    EXPECT_EQ(b.model.state().routing[1], 2);

    b.model.faults().add(rule(FaultRule::Kind::Silent, FrameMatch::of(cmd::kRouting)));
    for (int i = 0; i < 3; ++i) {
        b.expectReplies({"02 01 01 ->"});
    }
    b.expectReplies({"01 01 -> 01 01 01"});
}

TEST_F(FaultKnobs, StrayBytesGoOutBeforeTheReply) {
    FaultRule r = rule(FaultRule::Kind::Stray, FrameMatch::all());
    r.stray = {0x00, 0x7E};
    b.model.faults().add(r);
    const Exchange ex = b.send("01 01");
    ASSERT_EQ(ex.out.size(), 1u);
    EXPECT_EQ(hexBytes(ex.out[0].bytes), "00 7E " + frameHex("01 01 01"));
    ASSERT_EQ(ex.out[0].pieces.size(), 1u);
    EXPECT_EQ(ex.out[0].pieces[0].length, 15u);
}

TEST_F(FaultKnobs, SplitAndByteByByteDeliveryCoverTheReplyInOrder) {
    b.model.timing().latencyMs = 10;
    b.model.timing().pieceGapMs = 3;
    FaultRule split = rule(FaultRule::Kind::Split, FrameMatch::of(cmd::kModel));
    split.splitAt = {9, 5};
    b.model.faults().add(split);
    Exchange ex = b.send("01 02");
    ASSERT_EQ(ex.out.size(), 1u);
    const std::vector<Piece>& p = ex.out[0].pieces;
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ((std::vector<std::size_t>{p[0].offset, p[1].offset, p[2].offset}),
              (std::vector<std::size_t>{0, 5, 9}));
    EXPECT_EQ((std::vector<std::size_t>{p[0].length, p[1].length, p[2].length}),
              (std::vector<std::size_t>{5, 4, 4}));
    EXPECT_EQ((std::vector<std::int64_t>{p[0].delayMs, p[1].delayMs, p[2].delayMs}),
              (std::vector<std::int64_t>{10, 13, 16}));

    FaultRule bytewise = rule(FaultRule::Kind::ByteByByte, FrameMatch::of(cmd::kVersion));
    bytewise.gapMs = 1;
    b.model.faults().add(bytewise);
    ex = b.send("01 03");
    ASSERT_EQ(ex.out.size(), 1u);
    ASSERT_EQ(ex.out[0].pieces.size(), 13u);
    for (std::size_t i = 0; i < 13; ++i) {
        EXPECT_EQ(ex.out[0].pieces[i].offset, i);
        EXPECT_EQ(ex.out[0].pieces[i].length, 1u);
        EXPECT_EQ(ex.out[0].pieces[i].delayMs, 10 + static_cast<std::int64_t>(i));
    }
}

TEST_F(FaultKnobs, SilentBlockHeaderLeavesTheBlockUnacknowledged) {
    b.model.faults().add(rule(FaultRule::Kind::Silent,
                              FrameMatch::of(cmd::firmwarePart(1)).with(4, cmd::kFirmwareBlockMark),
                              1));
    b.send("20 01 AA 00 00 01 01 40 00");
    std::vector<std::uint8_t> blk(257, 0);
    EXPECT_TRUE(b.sendBytes(blk).out.empty());
    b.send("20 01 AA 00 00 01 01 40 00");
    EXPECT_EQ(b.sendBytes(blk).out.size(), 1u);
}
