#include "protocol/FrameSender.h"
#include "LogPage.h"
#include "platform/sim/VirtualEventLoop.h"
#include "protocol/CommandBuilders.h"
#include "protocol/SendLog.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zentrel;
using namespace zentrel::test;

namespace {

std::vector<std::uint8_t> wire(const CommandFrame& f) {
    return {f.bytes.begin(), f.bytes.end()};
}

struct Sending : ::testing::Test {
    VirtualEventLoop loop;
    LogPage page{loop};
    SharedState state;
    SendLog log{page, kSendBox, true};
    RecordingSerialLink serial;
    std::vector<std::vector<std::uint8_t>> tcpSends;
    FrameSender sender{
        state,
        [this](std::span<const std::uint8_t> b) { tcpSends.emplace_back(b.begin(), b.end()); },
        &serial, &log};
};

} // namespace

TEST_F(Sending, ComModeWritesOnceToTheSerialChannelAndLogsTheLine) {
    sender.sendCommand(1, 4, 1);
    ASSERT_EQ(serial.writes.size(), 1u);
    EXPECT_EQ(serial.writes[0], bytesOf("A5 5B 01 04 01 00 00 00 00 00 00 00 FA"));
    EXPECT_TRUE(tcpSends.empty());
    EXPECT_EQ(page.text(kSendBox), "A5 5B 01 04 01 00 00 00 00 00 00 00 FA \r\n");
}

TEST_F(Sending, ModeIsReadAtEachSendAndEachFrameGoesOutExactlyOnce) {
    state.ControlMode = kModeTcp;
    sender.sendCommandB5(3, 1, 4, 0xF0);
    state.ControlMode = kModeCom;
    sender.sendCommandB6(8, 13, 0, 0);
    state.ControlMode = kModeTcp;
    sender.send(commandFrameB6(2, 3, 3, 2));

    EXPECT_EQ(tcpSends, (std::vector<std::vector<std::uint8_t>>{wire(commandFrameB5(3, 1, 4, 0xF0)),
                                                                wire(commandFrameB6(2, 3, 3, 2))}));
    EXPECT_EQ(serial.writes,
              (std::vector<std::vector<std::uint8_t>>{wire(commandFrameB6(8, 13, 0, 0))}));
    // Whatever the route, the send log shows every frame once, one per line.
    EXPECT_EQ(page.text(kSendBox), "A5 5B 03 01 04 F0 00 00 00 00 00 00 08 \r\n"
                                   "A5 5B 08 0D 00 00 00 00 00 00 00 00 EB \r\n"
                                   "A5 5B 02 03 03 00 02 00 00 00 00 00 F6 \r\n");
}

TEST_F(Sending, DataBlockIsOneWriteAndIsLoggedOnlyWhenAsked) {
    std::vector<std::uint8_t> edidBlock(290, 0x00);
    edidBlock[1] = 0xFF;
    sender.sendBlock(edidBlock);
    ASSERT_EQ(serial.writes.size(), 1u);
    EXPECT_EQ(serial.writes[0], edidBlock);
    EXPECT_EQ(log.counter(), 4);
    EXPECT_EQ(log.mirror().size(), 290u * 3);

    // A firmware block goes out whole but leaves the log to the page's own lines.
    const std::string before = page.text(kSendBox);
    std::vector<std::uint8_t> firmwareBlock(257, 0x5A);
    state.ControlMode = kModeTcp;
    sender.route(firmwareBlock);
    ASSERT_EQ(tcpSends.size(), 1u);
    EXPECT_EQ(tcpSends[0], firmwareBlock);
    EXPECT_EQ(page.text(kSendBox), before);
}

TEST_F(Sending, PageWithoutAChannelYetLogsButWritesNothing) {
    FrameSender early(state, FrameSender::TcpSend{}, nullptr, &log);
    early.sendCommand(8, 12, 0);
    state.ControlMode = kModeTcp;
    early.sendCommand(8, 12, 0);
    EXPECT_TRUE(serial.writes.empty());
    EXPECT_EQ(log.mirror().size(), 2u * 39);

    early.setSerial(&serial);
    state.ControlMode = kModeCom;
    early.sendCommand(8, 12, 0);
    EXPECT_EQ(serial.writes.size(), 1u);
}
