#include "LogPage.h"
#include "link/FrameSender.h"
#include "pages/common/SendLog.h"
#include "platform/sim/VirtualEventLoop.h"
#include "protocol/Commands.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zentrel;
using namespace zentrel::test;

namespace {

using Writes = std::vector<std::vector<std::uint8_t>>;

struct Sending : ::testing::Test {
    VirtualEventLoop loop;
    LogPage page{loop};
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

TEST(CommandCatalogue, FramesOnTheWire) {
    EXPECT_EQ(cmd::routeInput(3, 2).hex(), "A5 5B 02 03 03 00 02 00 00 00 00 00 F6");
    EXPECT_EQ(cmd::builtInEdid(11, 3).hex(), "A5 5B 03 02 0B F0 03 00 00 00 00 00 FD");
    EXPECT_EQ(cmd::copyEdid(2, 4).hex(), "A5 5B 03 04 02 00 04 00 00 00 00 00 F3");
    EXPECT_EQ(cmd::edidDataHeader().hex(), "A5 5B 03 07 56 00 00 01 00 00 00 00 9F");
    EXPECT_EQ(cmd::firmwarePartStart(1, 0x80).hex(), "A5 5B 20 01 80 00 00 00 00 40 00 00 1F");
    // Other pages' shapes: 40 in byte 9, a firmware block header with its block id in byte 10.
    EXPECT_EQ(CommandFrame::make({1, 2}).put(9, 0x40).hex(),
              "A5 5B 01 02 00 00 00 00 00 40 00 00 BD");
    EXPECT_EQ(CommandFrame::make({0x20, 1, 0xAA, 0, 0, 1, 1, 0x40}).put(10, 7).hex(),
              "A5 5B 20 01 AA 00 00 01 01 40 07 00 EC");
    CommandFrame f = cmd::queryInput(1);
    for (std::size_t pos : {0u, 1u, 12u}) { // header and checksum are the frame's own
        EXPECT_THROW(f.put(pos, 0), std::out_of_range);
    }
    EXPECT_EQ(f, cmd::queryInput(1));
}

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
