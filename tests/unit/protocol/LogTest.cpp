#include "LogPage.h"
#include "platform/sim/VirtualEventLoop.h"
#include "protocol/CommandBuilders.h"
#include "protocol/ReceiveLog.h"
#include "protocol/SendLog.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zentrel;
using namespace zentrel::test;

namespace {

struct Logs : ::testing::Test {
    VirtualEventLoop loop;
    LogPage page{loop};
};

} // namespace

TEST_F(Logs, EachSentFrameFillsOneLineAndTheMirrorKeepsOnlyByteTexts) {
    SendLog log(page, kSendBox, true);
    log.append(commandFrame(1, 4, 1).bytes);
    log.append(commandFrameB6(8, 13, 0, 0).bytes);
    EXPECT_EQ(page.text(kSendBox), "A5 5B 01 04 01 00 00 00 00 00 00 00 FA \r\n"
                                   "A5 5B 08 0D 00 00 00 00 00 00 00 00 EB \r\n");
    EXPECT_EQ(log.mirror(), "A5 5B 01 04 01 00 00 00 00 00 00 00 FA "
                            "A5 5B 08 0D 00 00 00 00 00 00 00 00 EB ");
    EXPECT_EQ(log.counter(), 0);
}

TEST_F(Logs, LineCounterRunsOnAcrossADataBlockAndTheNextFrame) {
    SendLog log(page, kSendBox);
    std::vector<std::uint8_t> block(290, 0x00);
    block[1] = 0xFF;
    log.append(block);
    // 290 bytes = 22 full lines and 4 bytes left over on the 23rd.
    const std::string afterBlock = page.text(kSendBox);
    EXPECT_EQ(log.counter(), 4);
    std::size_t breaks = 0;
    for (std::size_t at = afterBlock.find("\r\n"); at != std::string::npos;
         at = afterBlock.find("\r\n", at + 2)) {
        ++breaks;
    }
    EXPECT_EQ(breaks, 22u);
    EXPECT_EQ(afterBlock.substr(0, 41), "00 FF 00 00 00 00 00 00 00 00 00 00 00 \r\n");
    EXPECT_TRUE(log.mirror().empty()); // this page keeps no mirror

    // The frame that follows completes the 23rd line after nine of its bytes.
    log.append(commandFrame(1, 4, 1).bytes);
    EXPECT_EQ(page.text(kSendBox).substr(afterBlock.size()),
              "A5 5B 01 04 01 00 00 00 00 \r\n00 00 00 FA ");
    EXPECT_EQ(log.counter(), 4);
}

TEST_F(Logs, FreeTextLeavesTheByteCountAlone) {
    SendLog log(page, kSendBox);
    const std::uint8_t two[] = {0xA5, 0x5B};
    log.append(two);
    log.appendText("Send data:\r\n");
    EXPECT_EQ(log.counter(), 2);
    EXPECT_EQ(page.text(kSendBox), "A5 5B Send data:\r\n");
}

TEST_F(Logs, ReceiveLogWritesSerialBytesWithTheirLineEndsAndMirrorsOnlyThose) {
    ReceiveLog log(page, kReceiveBox, true);
    log.serialByte(0xA5, false);
    log.serialByte(0xFB, true);
    log.hex(0x01);
    log.lineBreak();
    EXPECT_EQ(page.text(kReceiveBox), "A5 FB \r\n01 \r\n");
    EXPECT_EQ(log.mirror(), "A5 FB ");
}

TEST_F(Logs, PageWithoutTheBoxStillCountsAndNeverFails) {
    SendLog send(page, 4242, true);
    ReceiveLog receive(page, 4243);
    send.append(commandFrame(1, 4, 1).bytes);
    receive.serialByte(0xA5, true);
    receive.lineBreak();
    EXPECT_EQ(send.counter(), 0);
    EXPECT_EQ(send.mirror().size(), 39u);
    EXPECT_EQ(page.text(kSendBox), "");
}
