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

TEST_F(FirmwareExchange, Part1FromStartToRebootPoll) {
    b.model.timing().upgradeRebootMs = 5000;
    b.expectReplies({"20 01 01 00 00 00 00 40 -> 20 01 AA", "20 01 80 00 00 00 00 40 -> 20 01 00",
                     "20 01 10 00 00 00 00 40 -> 20 01 00"});

    b.expectReplies({"20 01 AA 00 00 01 01 40 00 ->"});
    Exchange ex = b.sendBytes(block(0x11));
    ASSERT_EQ(ex.in.size(), 1u);
    EXPECT_EQ(ex.in[0].kind, Inbound::Kind::FirmwareBlock);
    EXPECT_EQ(ModelOnOneLink::single(ex), frameHex("20 01 00 00 00 01 01 40 00"));

    b.send("20 01 AA 00 00 01 01 40 01");
    EXPECT_EQ(b.askBytes(block(0x22)), frameHex("20 01 00 00 00 01 01 40 01"));

    // Last block: the completion reply, then the unit reboots and ignores the first polls.
    b.send("20 01 56 00 FE 00 01 40 02");
    ex = b.sendBytes(block(0x33));
    ASSERT_EQ(ex.out.size(), 1u);
    EXPECT_EQ(ModelOnOneLink::single(ex), frameHex("20 01 00 00 FE 00 01"));
    const std::int64_t completeAt = ex.out[0].lastDelayMs();

    const char* poll = "01 01 00 00 00 00 00 40";
    b.now = completeAt + 3000;
    EXPECT_EQ(b.ask(poll), "");
    b.now = completeAt + 6000;
    // Byte 4 = 1, byte 5 = 0: "reboot finished" for the upgrade page.
    EXPECT_EQ(b.ask(poll), frameHex("01 01 01 00"));

    const auto& blocks = b.model.firmware().blocks();
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_TRUE(blocks[2].last);
    EXPECT_EQ(blocks[1].data, std::vector<std::uint8_t>(256, 0x22));
    EXPECT_EQ(b.model.firmware().partsCompleted(), 1);
}

TEST_F(FirmwareExchange, BankMarkB0IsRepeatedInTheAcknowledgement) {
    // The header of block id F0 carries B0 01 in bytes 9 and 10.
    b.send("20 01 AA 00 00 01 01 B0 01");
    const Exchange ex = b.sendBytes(block(0x5A));
    ASSERT_EQ(ex.out.size(), 1u);
    EXPECT_EQ(
        (std::vector<std::uint8_t>(ex.out[0].bytes.begin() + 7, ex.out[0].bytes.begin() + 10)),
        (std::vector<std::uint8_t>{0x01, 0x01, 0xB0}));
}

TEST_F(FirmwareExchange, BlockWithWrongChecksumGetsTheWriteFailureOfItsPart) {
    b.send("20 01 AA 00 00 01 01 40 07");
    EXPECT_EQ(b.askBytes(block(0x10, false)), frameHex("20 01 44"));
    b.send("20 02 AA 00 00 01 01 40 00");
    EXPECT_EQ(b.askBytes(block(0x10, false)), frameHex("20 02 44"));
    EXPECT_FALSE(b.model.firmware().blocks().back().checksumOk);
}

TEST_F(FirmwareExchange, Part2AndPart3StartsAndAcknowledgements) {
    b.expectReplies({"20 02 01 00 00 00 00 40 -> 20 02 AA"});
    b.send("20 02 AA 00 00 01 01 40 00");
    EXPECT_EQ(b.askBytes(block(0x01)), frameHex("20 02 00 00 00 01 01 40 00"));
    b.send("20 02 56 00 FE 00 01 40 01");
    EXPECT_EQ(b.askBytes(block(0x02)), frameHex("20 02 00 00 FE 00 01"));

    b.now += 60'000; // past the reboot
    b.expectReplies({"20 02 03 00 00 00 00 40 -> 20 02 FE"});
    b.send("20 03 AA 00 00 01 01 40 00");
    EXPECT_EQ(b.askBytes(block(0x03)), frameHex("20 03 00 00 00 01 01 40 00"));
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

TEST_F(FirmwareExchange, TheBankMarkClosesTheFirstBankOfBlocks) {
    b.expectReplies({"20 01 01 00 00 00 00 40 -> 20 01 AA"});
    for (int id = 0; id < 0xF0; ++id) {
        b.send(hexBytes(
            {0x20, 0x01, 0xAA, 0x00, 0x00, 0x01, 0x01, 0x40, static_cast<std::uint8_t>(id)}));
        ASSERT_NE(b.askBytes(block(0x01)), frameHex("20 01 44")) << id;
    }
    b.send("20 01 AA 00 00 01 01 B0 01");
    EXPECT_EQ(b.askBytes(block(0x02)), frameHex("20 01 00 00 00 01 01 B0 01"));
    // Id 1 would not follow; id 0 is block 256.
    b.send("20 01 AA 00 00 01 01 40 01");
    EXPECT_EQ(b.askBytes(block(0x03)), frameHex("20 01 44"));
    b.send("20 01 56 00 FE 00 01 40 00");
    EXPECT_EQ(b.askBytes(block(0x04)), frameHex("20 01 00 00 FE 00 01"));
    const auto& image = b.model.firmware().image(1);
    ASSERT_EQ(image.size(), 257u * 256);
    EXPECT_EQ(image[240 * 256], 0x02);
    EXPECT_EQ(image[241 * 256], 0x00); // skipped
    EXPECT_EQ(image[256 * 256], 0x04);
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

TEST_F(FirmwareExchange, UpgradeKnobs) {
    FaultRule ackId{FaultRule::Kind::AckId, FrameMatch::of(0x20, 0x02).with(10, 1), 1};
    ackId.ackId = 0x33;
    b.model.faults().add(ackId);
    b.model.faults().add({FaultRule::Kind::ExtraAck, FrameMatch::of(0x20, 0x02)});
    b.model.faults().add({FaultRule::Kind::StayDown, FrameMatch::of(0x20, 0x02)});
    b.send("20 02 AA 00 00 01 01 40 00");
    EXPECT_EQ(b.askBytes(block(0x01)), frameHex("20 02 00 00 00 01 01 40 00"));
    b.send("20 02 AA 00 00 01 01 40 01");
    EXPECT_EQ(b.askBytes(block(0x02)), frameHex("20 02 00 00 00 01 01 40 33"));
    // The last block: its acknowledgement, then the completion; then nothing comes back.
    b.send("20 02 56 00 FE 00 01 40 02");
    const Exchange ex = b.sendBytes(block(0x03));
    ASSERT_EQ(ex.out.size(), 2u);
    EXPECT_EQ(ModelOnOneLink::single(Exchange{{}, {ex.out[0]}}),
              frameHex("20 02 00 00 00 01 01 40 02"));
    EXPECT_EQ(ModelOnOneLink::single(Exchange{{}, {ex.out[1]}}), frameHex("20 02 00 00 FE 00 01"));
    b.now += 3'600'000;
    EXPECT_EQ(b.ask("01 01 00 00 00 00 00 40"), "");

    ModelOnOneLink s;
    FaultRule standby{FaultRule::Kind::StandbyAtBlock, FrameMatch::of(0x20, 0x01)};
    standby.atBlock = 1;
    s.model.faults().add(standby);
    s.send("20 01 AA 00 00 01 01 40 00");
    EXPECT_EQ(s.askBytes(block(0x01)), frameHex("20 01 00 00 00 01 01 40 00"));
    s.send("20 01 AA 00 00 01 01 40 01");
    EXPECT_EQ(s.askBytes(block(0x02)), frameHex("88 88"));
    EXPECT_FALSE(s.model.state().powerOn);
}
