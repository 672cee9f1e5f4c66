#include "HexFrames.h"
#include "TextReplyLog.h"
#include "protocol/ReplyAssembler.h"
#include "protocol/TcpReplyBuffer.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zentrel;
using namespace zentrel::test;

namespace {

const std::string kStatus = "A5 5B 01 04 01 00 FF 00 00 00 00 00 FB";
const std::string kPower = "A5 5B 08 0C 0F 00 00 00 00 00 00 00 DD";

struct Assembly : ::testing::Test {
    TextReplyLog log;

    // Feeds bytes one at a time, as the serial channel delivers them.
    std::vector<AssembledFrame> receive(ReplyAssembler& a, const std::string& hex) {
        std::vector<AssembledFrame> frames;
        for (std::uint8_t b : bytesOf(hex)) {
            if (auto done = a.feed(b)) {
                frames.push_back(*done);
            }
        }
        return frames;
    }
    std::string box() const { return log.text; }
};

} // namespace

TEST_F(Assembly, StrayBytesAndHeaderlessRunsAreLoggedButNeverDispatched) {
    ReplyAssembler a(&log);
    // The stray 00 is not counted; the A5 5B inside the headerless run is data, nothing
    // re-synchronises half-way through a frame; the 13 bytes are dropped whole.
    EXPECT_TRUE(receive(a, "00 A5 01 A5 5B 01 04 01 00 FF 00 00 00 00").empty());
    auto frames = receive(a, "5B 00 " + kStatus);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].frame, frameOf(kStatus));
    EXPECT_EQ(box(), "00 A5 01 A5 5B 01 04 01 00 FF 00 00 00 00 \r\n5B 00 " + kStatus + " \r\n");
}

TEST_F(Assembly, PortStatusEndingFaFailsTheSerialChecksumButIsTakenOverTcp) {
    ReplyAssembler a(&log);
    const std::string bad = "A5 5B 01 04 01 00 FF 00 00 00 00 00 FA";
    auto frames = receive(a, kStatus + " " + bad);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_TRUE(frames[0].checksumPassed());
    EXPECT_FALSE(frames[1].checksumPassed()); // the dispatcher decides which replies it judges
    EXPECT_EQ(frames[0].values[6], 255);

    TcpReplyBuffer buffer(&log);
    const auto wire = bytesOf(bad);
    EXPECT_FALSE(buffer.onRead(std::span(wire).first(12)));
    EXPECT_EQ(buffer.onRead(std::span(wire).last(1)), frameOf(bad));
}

TEST_F(Assembly, PageCountingStrayBytesBreaksLinesEveryThirteenMessages) {
    ReplyAssembler a(&log, {.countsStrayBytes = true});
    EXPECT_EQ(receive(a, "00 00 " + kStatus).size(), 1u);
    EXPECT_EQ(box(), "00 00 A5 5B 01 04 01 00 FF 00 00 00 00 \r\n00 FB ");
}

TEST_F(Assembly, TcpTakesOnlyTheFirstReplyOfAReadAndNothingWhileHiddenOrHeaderless) {
    TcpReplyBuffer buffer(&log);
    EXPECT_EQ(buffer.onRead(bytesOf(kStatus + " " + kPower)), frameOf(kStatus));
    EXPECT_EQ(box(), kStatus + " \r\n");
    EXPECT_FALSE(buffer.onRead(bytesOf(kStatus + " A5 5B 08"), false));
    EXPECT_EQ(box(), kStatus + " \r\n"); // hidden: dropped unlogged, leftovers included
    EXPECT_FALSE(buffer.onRead(bytesOf("00 " + kStatus)));
    EXPECT_EQ(box(), kStatus + " \r\n00 A5 5B 01 04 01 00 FF 00 00 00 00 00 \r\n");
    EXPECT_EQ(buffer.onRead(bytesOf(kPower)), frameOf(kPower));
}

TEST_F(Assembly, TcpBytesBeyondTheBufferAreDiscarded) {
    TcpReplyBuffer buffer(&log);
    const auto status = bytesOf(kStatus);
    EXPECT_EQ(buffer.append(std::span(status).first(12)), 12u);
    const std::vector<std::uint8_t> flood(3000, 0xFB);
    EXPECT_EQ(buffer.append(flood), TcpReplyBuffer::kCapacity - 12);
    EXPECT_EQ(buffer.append(flood), 0u);
    EXPECT_EQ(buffer.take(), frameOf(kStatus));
    EXPECT_EQ(buffer.fill(), 0u);
}

TEST_F(Assembly, TcpPerByteLogBreaksLinesOnTheFillCount) {
    TcpReplyBuffer buffer(&log, TcpReplyBuffer::LogStyle::PerByte);
    const auto both = bytesOf(kStatus + " " + kPower);
    EXPECT_EQ(buffer.onRead(std::span(both).first(15)), frameOf(kStatus));
    EXPECT_FALSE(buffer.onRead(std::span(both).first(2)));
    EXPECT_EQ(box(), kStatus + " \r\nA5 5B A5 5B ");
}

// A dispatcher may open a modal pop-up whose nested loop delivers the next reply to the same
// page before the dispatcher returns; here the first dispatch takes that reply in directly.
TEST_F(Assembly, ReplyArrivingDuringADispatchIsItsOwnAndNoneRepeats) {
    ReplyAssembler serial(&log);
    TcpReplyBuffer tcp(&log);
    std::vector<CommandFrame> dispatched;
    std::function<void(const CommandFrame&, bool)> dispatch = [&](const CommandFrame& f,
                                                                  bool viaTcp) {
        dispatched.push_back(f);
        if (dispatched.size() % 2 == 1) {
            if (viaTcp) {
                if (auto r = tcp.onRead(bytesOf(kStatus))) {
                    dispatch(*r, true);
                }
            } else {
                for (const AssembledFrame& nested : serial.feedAll(bytesOf(kStatus))) {
                    dispatch(nested.frame, false);
                }
            }
        }
    };
    for (const AssembledFrame& f : serial.feedAll(bytesOf(kPower))) {
        dispatch(f.frame, false);
    }
    if (auto r = tcp.onRead(bytesOf(kPower))) {
        dispatch(*r, true);
    }
    const auto p = frameOf(kPower), st = frameOf(kStatus);
    EXPECT_EQ(dispatched, (std::vector{p, st, p, st}));
    EXPECT_EQ(box(), kPower + " \r\n" + kStatus + " \r\n" + kPower + " \r\n" + kStatus + " \r\n");
    EXPECT_EQ(serial.length() + static_cast<int>(tcp.fill()), 0);
}
