#include "protocol/ReplyAssembler.h"
#include "LogPage.h"
#include "platform/sim/VirtualEventLoop.h"
#include "protocol/ReceiveLog.h"
#include "state/SharedState.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zentrel;
using namespace zentrel::test;

namespace {

const char* const kPortStatus = "A5 5B 01 04 01 00 FF 00 00 00 00 00 FB";

struct Assembly : ::testing::Test {
    VirtualEventLoop loop;
    LogPage page{loop};
    ReceiveLog log{page, kReceiveBox, true};

    // Feeds the bytes as serial byte messages from COM3 and collects the frames.
    std::vector<AssembledFrame> receive(ReplyAssembler& a, const std::string& hex) {
        std::vector<AssembledFrame> frames;
        for (std::uint8_t b : bytesOf(hex)) {
            ReplyAssembler::ByteOutcome out = a.onByteMessage(kModeCom, b, 3);
            EXPECT_EQ(out.result, 0);
            if (out.frame) {
                frames.push_back(*out.frame);
            }
        }
        return frames;
    }
};

} // namespace

TEST_F(Assembly, StrayByteBeforeTheHeaderIsLoggedButNeverPartOfAFrame) {
    ReplyAssembler a(&log);
    auto frames = receive(a, std::string("00 ") + kPortStatus);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].frame, frameOf(kPortStatus));
    // Only accepted bytes count towards the line, so the stray byte shares the frame's line.
    EXPECT_EQ(page.text(kReceiveBox), "00 A5 5B 01 04 01 00 FF 00 00 00 00 00 FB \r\n");
    EXPECT_EQ(log.mirror(), "00 A5 5B 01 04 01 00 FF 00 00 00 00 00 FB ");
}

TEST_F(Assembly, ThirteenBytesWithoutTheHeaderAreDroppedWholeThenA5StartsAFreshFrame) {
    ReplyAssembler a(&log);
    // The A5 5B inside the bad run is ordinary data: the run is not re-synchronised mid-way.
    auto frames = receive(a, "A5 01 A5 5B 01 04 01 00 FF 00 00 00 00");
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(a.length(), 0);
    EXPECT_FALSE(a.inFrame());
    EXPECT_EQ(a.runningSum(), 0);

    frames = receive(a, std::string("5B 00 ") + kPortStatus);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].frame, frameOf(kPortStatus));
    EXPECT_EQ(page.text(kReceiveBox), "A5 01 A5 5B 01 04 01 00 FF 00 00 00 00 \r\n"
                                      "5B 00 A5 5B 01 04 01 00 FF 00 00 00 00 00 FB \r\n");
}

TEST_F(Assembly, ChecksumTestPassesTheSoundPortStatusReplyAndFailsTheCorruptOne) {
    ReplyAssembler a(&log);
    auto good = receive(a, kPortStatus);
    auto bad = receive(a, "A5 5B 01 04 01 00 FF 00 00 00 00 00 FA");
    ASSERT_EQ(good.size(), 1u);
    ASSERT_EQ(bad.size(), 1u);
    EXPECT_TRUE(good[0].checksumPassed());
    // Handed out all the same: only the device-information and switch replies are judged by it.
    EXPECT_FALSE(bad[0].checksumPassed());
    EXPECT_EQ(bad[0].runningSum, 0xFF);
    // The value copy holds every byte as 0..255, FF included.
    EXPECT_EQ(good[0].values[6], 255);
    EXPECT_EQ(good[0].values[12], 0xFB);
}

TEST_F(Assembly, ByteMessagesAreIgnoredInTcpModeAndFromPortNumbersOutOfRange) {
    ReplyAssembler a(&log);
    EXPECT_EQ(a.onByteMessage(kModeTcp, 0xA5, 3).result, 0);
    EXPECT_EQ(a.onByteMessage(kModeCom, 0xA5, 0).result, -1);
    EXPECT_EQ(a.onByteMessage(kModeCom, 0xA5, 256).result, -1);
    EXPECT_EQ(a.onByteMessage(kModeCom, 0xA5, -3).result, -1);
    EXPECT_EQ(a.length(), 0);
    EXPECT_EQ(page.text(kReceiveBox), "");

    EXPECT_EQ(a.onByteMessage(kModeCom, 0xA5, 255).result, 0);
    EXPECT_EQ(a.onByteMessage(kModeCom, 0x5B, 1).result, 0);
    EXPECT_EQ(a.length(), 2);
    EXPECT_EQ(page.text(kReceiveBox), "A5 5B ");
}

TEST_F(Assembly, PartialFrameWaitsAcrossModeChangesForItsThirteenthByte) {
    ReplyAssembler a(&log);
    receive(a, "A5 5B 01 04 01 00");
    // Bytes that arrive while TCP is chosen neither reset nor extend the partial frame.
    a.onByteMessage(kModeTcp, 0x77, 3);
    auto frames = receive(a, "FF 00 00 00 00 00 FB");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].frame, frameOf(kPortStatus));
}

TEST_F(Assembly, PageThatCountsStrayBytesBreaksLinesEveryThirteenMessages) {
    ReplyAssembler a(&log, {.countsStrayBytes = true});
    auto frames = receive(a, std::string("00 00 ") + kPortStatus);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].frame, frameOf(kPortStatus));
    EXPECT_EQ(page.text(kReceiveBox), "00 00 A5 5B 01 04 01 00 FF 00 00 00 00 \r\n00 FB ");
    EXPECT_EQ(a.logCounter(), 2);
}

TEST_F(Assembly, BulkFeedGivesTheFramesOfSingleBytes) {
    ReplyAssembler single;
    ReplyAssembler bulk;
    const auto stream =
        bytesOf(std::string("13 A5 5B 02 03 00 00 02 00 00 00 00 00 F9 A5 A5 ") + kPortStatus);
    std::vector<CommandFrame> one;
    for (std::uint8_t b : stream) {
        if (auto f = single.feed(b)) {
            one.push_back(f->frame);
        }
    }
    std::vector<CommandFrame> all;
    for (const AssembledFrame& f : bulk.feedAll(stream)) {
        all.push_back(f.frame);
    }
    EXPECT_EQ(one, all);
    // The first frame is sound; A5 A5 then starts a headerless run that swallows the status.
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].hex(), "A5 5B 02 03 00 00 02 00 00 00 00 00 F9");
    EXPECT_EQ(bulk.length(), 0); // the trailing 00 FB are stray
}
