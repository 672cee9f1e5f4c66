#include "TestWindow.h"
#include "link/FrameSender.h"
#include "session/ReceiveLog.h"
#include "session/SendLog.h"
#include "session/SerialByteMessage.h"
#include "platform/sim/VirtualEventLoop.h"
#include "protocol/Commands.h"
#include "protocol/ReplyAssembler.h"
#include "state/SharedState.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::test;

namespace {

using Writes = std::vector<std::vector<std::uint8_t>>;

struct Sending : ::testing::Test {
    VirtualEventLoop loop;
    TestWindow page{loop};
    SharedState state;
    SendLog log{page, kSendBox, true};
    RecordingSerialLink serial;
    Writes tcpSends;
    FrameSender sender{
        state,
        [this](std::span<const std::uint8_t> b) { tcpSends.emplace_back(b.begin(), b.end()); },
        &serial, [this](std::span<const std::uint8_t> b) { log.append(b); }};
};

} // namespace

TEST_F(Sending, EachFrameGoesOutOnceByTheModeOfTheMomentAndFillsOneLogLine) {
    sender.send(cmd::queryInput(1));
    state.ControlMode = kModeTcp;
    sender.send(cmd::reboot());
    sender.send(cmd::builtInEdidAll(4));
    EXPECT_EQ(serial.writes, Writes{bytesOf("A5 5B 01 04 01 00 00 00 00 00 00 00 FA")});
    EXPECT_EQ(tcpSends, (Writes{bytesOf("A5 5B 08 0D 00 00 00 00 00 00 00 00 EB"),
                                bytesOf("A5 5B 03 01 04 F0 00 00 00 00 00 00 08")}));
    EXPECT_EQ(page.text(kSendBox), "A5 5B 01 04 01 00 00 00 00 00 00 00 FA \r\n"
                                   "A5 5B 08 0D 00 00 00 00 00 00 00 00 EB \r\n"
                                   "A5 5B 03 01 04 F0 00 00 00 00 00 00 08 \r\n");
    EXPECT_EQ(log.mirror().substr(0, 42), "A5 5B 01 04 01 00 00 00 00 00 00 00 FA A5 ");
}

TEST_F(Sending, DataBlocksAreOneWriteAndShareTheLogLineCounter) {
    std::vector<std::uint8_t> edid(290, 0x00);
    edid[1] = 0xFF;
    sender.sendBlock(edid);
    EXPECT_EQ(serial.writes, Writes{edid});
    // 290 bytes: 22 lines and 4 bytes, so the next frame breaks its line after 9 bytes.
    EXPECT_EQ(page.text(kSendBox).substr(0, 41), "00 FF 00 00 00 00 00 00 00 00 00 00 00 \r\n");
    const std::string afterBlock = page.text(kSendBox);
    EXPECT_EQ(log.counter(), 4);
    sender.send(cmd::queryInput(1));
    EXPECT_EQ(page.text(kSendBox).substr(afterBlock.size()),
              "A5 5B 01 04 01 00 00 00 00 \r\n00 00 00 FA ");

    // The firmware page routes its blocks unlogged and writes its own lines, outside the count.
    const std::vector<std::uint8_t> firmware(257, 0x5A);
    sender.route(firmware);
    log.appendText("Send data:\r\n");
    EXPECT_EQ(serial.writes.back(), firmware);
    EXPECT_EQ(log.counter(), 4);
    EXPECT_TRUE(page.text(kSendBox).ends_with("00 00 00 FA Send data:\r\n"));
}

TEST_F(Sending, NoChannelOrNoBoxYetMeansNothingWrittenAndNothingThrown) {
    SendLog boxless(page, 4242);
    FrameSender early(state, FrameSender::TcpSend{}, nullptr,
                      [&boxless](std::span<const std::uint8_t> b) { boxless.append(b); });
    early.send(cmd::queryPowerState());
    state.ControlMode = kModeTcp;
    early.send(cmd::queryPowerState());
    EXPECT_TRUE(serial.writes.empty());
    EXPECT_EQ(boxless.counter(), 0);
    state.ControlMode = kModeCom;
    early.setSerial(&serial);
    early.send(cmd::queryPowerState());
    EXPECT_EQ(serial.writes.size(), 1u);
}

// The serial byte message as every page takes it: a byte that trickles in after the switch to
// TCP, or that names no port, belongs to no request and leaves a partial frame alone.
TEST(SerialByteMessage, TcpModeAndBadPortsAreIgnoredAndKeepThePartialFrame) {
    VirtualEventLoop loop;
    TestWindow page{loop};
    ReceiveLog log{page, kReceiveBox, true};
    ReplyAssembler a(&log);
    const std::string status = "A5 5B 01 04 01 00 FF 00 00 00 00 00 FB";
    const auto bytes = bytesOf(status);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_FALSE(onSerialByteMessage(a, kModeCom, bytes[i], 3).frame);
    }
    EXPECT_EQ(onSerialByteMessage(a, kModeTcp, 0x77, 3).result, 0);
    for (LParam port : {0, 256, -3}) {
        EXPECT_EQ(onSerialByteMessage(a, kModeCom, 0x77, port).result, -1);
    }
    std::optional<AssembledFrame> done;
    for (std::size_t i = 6; i < bytes.size(); ++i) {
        done = onSerialByteMessage(a, kModeCom, bytes[i], 255).frame;
    }
    ASSERT_TRUE(done);
    EXPECT_EQ(done->frame, frameOf(status));
    EXPECT_EQ(page.text(kReceiveBox), status + " \r\n");
    EXPECT_EQ(log.mirror(), status + " "); // the page's mirror has no line breaks
}

// A session of any length keeps a bounded mirror whose tail is what was logged last.
TEST(PageLogs, MirrorsKeepABoundedTail) {
    VirtualEventLoop loop;
    TestWindow page{loop};
    SendLog log{page, kSendBox, true};
    const std::vector<std::uint8_t> block(1000, 0x5A);
    for (int i = 0; i < 300; ++i) { // 300 KB of traffic
        log.append(block);
    }
    log.append(bytesOf("A5 5B"));
    EXPECT_LE(log.mirror().size(), 64u * 1024);
    EXPECT_TRUE(log.mirror().ends_with("5A 5A A5 5B "));
}
