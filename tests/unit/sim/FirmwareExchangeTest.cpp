#include "ModelBench.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::sim;
using namespace zentrel::sim::test;

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

TEST(FirmwareExchange, Part1FromStartToRebootPoll) {
    ModelBench b;
    b.model.timing().upgradeRebootMs = 5000;
    EXPECT_EQ(b.ask({0x20, 0x01, 0x01, 0, 0, 0, 0, 0x40}), frameHex({0x20, 0x01, 0xAA}));
    EXPECT_EQ(b.ask({0x20, 0x01, 0x80, 0, 0, 0, 0, 0x40}), frameHex({0x20, 0x01, 0x00}));
    EXPECT_EQ(b.ask({0x20, 0x01, 0x10, 0, 0, 0, 0, 0x40}), frameHex({0x20, 0x01, 0x00}));

    EXPECT_EQ(b.ask({0x20, 0x01, 0xAA, 0, 0, 0x01, 0x01, 0x40, 0x00}), "");
    Exchange ex = b.sendBytes(block(0x11));
    ASSERT_EQ(ex.in.size(), 1u);
    EXPECT_EQ(ex.in[0].kind, Inbound::Kind::FirmwareBlock);
    EXPECT_EQ(ModelBench::single(ex),
              frameHex({0x20, 0x01, 0x00, 0x00, 0x00, 0x01, 0x01, 0x40, 0x00}));

    b.send({0x20, 0x01, 0xAA, 0, 0, 0x01, 0x01, 0x40, 0x01});
    EXPECT_EQ(b.askBytes(block(0x22)),
              frameHex({0x20, 0x01, 0x00, 0x00, 0x00, 0x01, 0x01, 0x40, 0x01}));

    // Last block: the completion reply, then the unit reboots and ignores the first polls.
    b.send({0x20, 0x01, 0x56, 0, 0xFE, 0, 0x01, 0x40, 0x02});
    ex = b.sendBytes(block(0x33));
    ASSERT_EQ(ex.out.size(), 1u);
    EXPECT_EQ(ModelBench::single(ex), frameHex({0x20, 0x01, 0x00, 0x00, 0xFE, 0x00, 0x01}));
    const std::int64_t completeAt = ex.out[0].lastDelayMs();

    const std::initializer_list<std::uint8_t> poll = {0x01, 0x01, 0, 0, 0, 0, 0, 0x40};
    b.now = completeAt + 3000;
    EXPECT_EQ(b.ask(poll), "");
    b.now = completeAt + 6000;
    // Byte 4 = 1, byte 5 = 0: "reboot finished" for the upgrade page.
    EXPECT_EQ(b.ask(poll), frameHex({0x01, 0x01, 0x01, 0x00}));

    const auto& blocks = b.model.firmware().blocks();
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_TRUE(blocks[2].last);
    EXPECT_EQ(blocks[1].data, std::vector<std::uint8_t>(256, 0x22));
    EXPECT_EQ(b.model.firmware().partsCompleted(), 1);
}

TEST(FirmwareExchange, BankMarkB0IsRepeatedInTheAcknowledgement) {
    ModelBench b;
    // The header of block id F0 carries B0 01 in bytes 9 and 10.
    b.send({0x20, 0x01, 0xAA, 0, 0, 0x01, 0x01, 0xB0, 0x01});
    const Exchange ex = b.sendBytes(block(0x5A));
    ASSERT_EQ(ex.out.size(), 1u);
    EXPECT_EQ(
        (std::vector<std::uint8_t>(ex.out[0].bytes.begin() + 7, ex.out[0].bytes.begin() + 10)),
        (std::vector<std::uint8_t>{0x01, 0x01, 0xB0}));
}

TEST(FirmwareExchange, BlockWithWrongChecksumGetsTheWriteFailureOfItsPart) {
    ModelBench b;
    b.send({0x20, 0x01, 0xAA, 0, 0, 0x01, 0x01, 0x40, 0x07});
    EXPECT_EQ(b.askBytes(block(0x10, false)), frameHex({0x20, 0x01, 0x44}));
    b.send({0x20, 0x02, 0xAA, 0, 0, 0x01, 0x01, 0x40, 0x00});
    EXPECT_EQ(b.askBytes(block(0x10, false)), frameHex({0x20, 0x02, 0x44}));
    EXPECT_FALSE(b.model.firmware().blocks().back().checksumOk);
}

TEST(FirmwareExchange, Part2AndPart3StartsAndAcknowledgements) {
    ModelBench b;
    EXPECT_EQ(b.ask({0x20, 0x02, 0x01, 0, 0, 0, 0, 0x40}), frameHex({0x20, 0x02, 0xAA}));
    b.send({0x20, 0x02, 0xAA, 0, 0, 0x01, 0x01, 0x40, 0x00});
    EXPECT_EQ(b.askBytes(block(0x01)),
              frameHex({0x20, 0x02, 0x00, 0x00, 0x00, 0x01, 0x01, 0x40, 0x00}));
    b.send({0x20, 0x02, 0x56, 0, 0xFE, 0, 0x01, 0x40, 0x01});
    EXPECT_EQ(b.askBytes(block(0x02)), frameHex({0x20, 0x02, 0x00, 0x00, 0xFE, 0x00, 0x01}));

    b.now += 60'000; // past the reboot
    EXPECT_EQ(b.ask({0x20, 0x02, 0x03, 0, 0, 0, 0, 0x40}), frameHex({0x20, 0x02, 0xFE}));
    b.send({0x20, 0x03, 0xAA, 0, 0, 0x01, 0x01, 0x40, 0x00});
    EXPECT_EQ(b.askBytes(block(0x03)),
              frameHex({0x20, 0x03, 0x00, 0x00, 0x00, 0x01, 0x01, 0x40, 0x00}));
}

TEST(FirmwareExchange, ABlockCutShortIsGivenUpAfterAPause) {
    ModelBench b;
    b.send({0x20, 0x01, 0xAA, 0, 0, 0x01, 0x01, 0x40, 0x00});
    std::vector<std::uint8_t> part = block(0x44);
    part.resize(100);
    EXPECT_TRUE(b.sendBytes(part).out.empty());
    // Seven seconds later the panel sends the header and the whole block again.
    b.now += 7000;
    const Exchange resent = b.send({0x20, 0x01, 0xAA, 0, 0, 0x01, 0x01, 0x40, 0x00});
    ASSERT_FALSE(resent.in.empty());
    EXPECT_EQ(resent.in[0].kind, Inbound::Kind::Abandoned);
    EXPECT_EQ(b.askBytes(block(0x44)),
              frameHex({0x20, 0x01, 0x00, 0x00, 0x00, 0x01, 0x01, 0x40, 0x00}));
}
