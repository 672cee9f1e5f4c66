#include "protocol/TcpReplyBuffer.h"
#include "LogPage.h"
#include "platform/sim/VirtualEventLoop.h"
#include "protocol/ReceiveLog.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zentrel;
using namespace zentrel::test;

namespace {

const char* const kPortStatus = "A5 5B 01 04 01 00 FF 00 00 00 00 00 FB";
const char* const kPowerState = "A5 5B 08 0C 0F 00 00 00 00 00 00 00 DD";

struct TcpAssembly : ::testing::Test {
    VirtualEventLoop loop;
    LogPage page{loop};
    ReceiveLog log{page, kReceiveBox, true};
};

} // namespace

TEST_F(TcpAssembly, TwoRepliesInOneReadOnlyTheFirstIsDispatchedAndLogged) {
    TcpReplyBuffer buffer(&log);
    const auto read = bytesOf(std::string(kPortStatus) + " " + kPowerState);
    auto reply = buffer.onRead(read);
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, frameOf(kPortStatus));
    EXPECT_EQ(buffer.fill(), 0u);
    EXPECT_EQ(page.text(kReceiveBox), std::string(kPortStatus) + " \r\n");
    EXPECT_EQ(log.mirror(), ""); // the mirror follows the serial bytes only
}

TEST_F(TcpAssembly, TwelveBytesWaitForTheThirteenth) {
    TcpReplyBuffer buffer(&log);
    const auto all = bytesOf(kPortStatus);
    EXPECT_FALSE(buffer.onRead(std::span(all).first(12)));
    EXPECT_EQ(buffer.fill(), 12u);
    EXPECT_EQ(page.text(kReceiveBox), "");
    auto reply = buffer.onRead(std::span(all).last(1));
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, frameOf(kPortStatus));
}

TEST_F(TcpAssembly, NoChecksumTestOverTcp) {
    TcpReplyBuffer buffer(&log);
    auto reply = buffer.onRead(bytesOf("A5 5B 01 04 01 00 FF 00 00 00 00 00 FA"));
    ASSERT_TRUE(reply);
    EXPECT_FALSE(reply->checksumOk());
}

TEST_F(TcpAssembly, ReplyWhileAnotherPageIsShownIsDiscardedUnloggedAndLeavesNothingBehind) {
    TcpReplyBuffer buffer(&log);
    const auto both = bytesOf(std::string(kPortStatus) + " " + kPowerState);
    EXPECT_FALSE(buffer.onRead(std::span(both).first(20), false));
    EXPECT_EQ(buffer.fill(), 0u);
    EXPECT_EQ(page.text(kReceiveBox), "");
    // Once shown again, a reply is taken from its own first byte, not from leftovers.
    auto reply = buffer.onRead(bytesOf(kPowerState), true);
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, frameOf(kPowerState));
}

TEST_F(TcpAssembly, ReplyWithoutHeaderIsLoggedButNotActedOn) {
    TcpReplyBuffer buffer(&log);
    EXPECT_FALSE(buffer.onRead(bytesOf("00 A5 5B 01 04 01 00 FF 00 00 00 00 00 FB")));
    EXPECT_EQ(page.text(kReceiveBox), "00 A5 5B 01 04 01 00 FF 00 00 00 00 00 \r\n");
    EXPECT_EQ(buffer.fill(), 0u);
}

TEST_F(TcpAssembly, BytesBeyondTheBufferAreDiscarded) {
    TcpReplyBuffer buffer(&log);
    const auto head = bytesOf(kPortStatus);
    EXPECT_EQ(buffer.append(std::span(head).first(12)), 12u);
    std::vector<std::uint8_t> flood(TcpReplyBuffer::kCapacity, 0xFB);
    EXPECT_EQ(buffer.append(flood), TcpReplyBuffer::kCapacity - 12);
    EXPECT_EQ(buffer.fill(), TcpReplyBuffer::kCapacity);
    EXPECT_EQ(buffer.append(flood), 0u);
    auto reply = buffer.take();
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, frameOf(kPortStatus));
    EXPECT_EQ(buffer.fill(), 0u);

    // A single read larger than the whole buffer keeps what fits and still yields its reply.
    std::vector<std::uint8_t> huge(3000, 0x00);
    std::copy(head.begin(), head.end(), huge.begin());
    reply = buffer.onRead(huge);
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, frameOf(kPortStatus));
}

TEST_F(TcpAssembly, PerByteLogBreaksLinesOnTheFillCount) {
    TcpReplyBuffer buffer(&log, TcpReplyBuffer::LogStyle::PerByte);
    const auto both = bytesOf(std::string(kPortStatus) + " " + kPowerState);
    auto reply = buffer.onRead(std::span(both).first(15));
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, frameOf(kPortStatus));
    EXPECT_EQ(page.text(kReceiveBox), std::string(kPortStatus) + " \r\nA5 5B ");

    page.setText(kReceiveBox, "");
    EXPECT_FALSE(buffer.onRead(std::span(both).first(5)));
    EXPECT_EQ(page.text(kReceiveBox), "A5 5B 01 04 01 ");
}
