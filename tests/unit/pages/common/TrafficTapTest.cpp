// The logs' hand-over to the traffic recorder: the boxes and mirrors stay exactly as without
// it, and the recorder gets one entry per frame sent and per line received, at its time.
#include "TestWindow.h"
#include "pages/common/ReceiveLog.h"
#include "pages/common/SendLog.h"
#include "pages/common/TrafficRecorder.h"
#include "platform/sim/VirtualEventLoop.h"
#include "protocol/Commands.h"
#include "protocol/HexText.h"
#include "protocol/ReplyAssembler.h"
#include "protocol/TcpReplyBuffer.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::test;

namespace {

// A page's two logs, with or without a tap, fed the same way.
struct Logs {
    Logs(EventLoop& loop, TrafficTap tap)
        : page(loop), send(page, kSendBox, true, tap), receive(page, kReceiveBox, true, tap) {}
    TestWindow page;
    SendLog send;
    ReceiveLog receive;
    ReplyAssembler serial{&receive};
    TcpReplyBuffer tcp{&receive};
};

} // namespace

TEST(TrafficTap, LeavesTheLogsByteForByteAndRecordsEachFrameAndLineAtItsTime) {
    VirtualEventLoop loop;
    TrafficRecorder recorder(loop);
    std::vector<std::string> entries;
    recorder.setListener([&](std::uint64_t, const TrafficFrame& f) {
        entries.push_back(std::to_string(f.page) +
                          (f.direction == TrafficDirection::Sent ? " sent " : " received ") +
                          std::to_string(f.timeMs) + " " + f.hex);
    });
    Logs plain(loop, {});
    Logs tapped(loop, {&recorder, 2});

    const CommandFrame query = cmd::kPowerState.frame({});
    const std::vector<std::uint8_t> block(20, 0x7E);
    const std::vector<std::uint8_t> reply(query.bytes.begin(), query.bytes.end());
    const std::vector<std::uint8_t> stray(300, 0x11); // never starts a frame nor ends a line
    for (Logs* l : {&plain, &tapped}) {
        l->send.append(query.bytes);
        l->send.append(block); // a data block: its line breaks fall by the byte count
        l->send.appendText("Send data:\r\n");
        l->serial.feed(0x00); // a stray byte before the reply, on the reply's line
        l->serial.feedAll(reply);
        l->tcp.onRead(reply);
        l->receive.appendText("A5 5B\r\n\r\nA5 "); // text written in one piece, as batched
        l->receive.appendText("01\r\n");
        l->serial.feedAll(stray);
        loop.advance(1500);
    }
    EXPECT_EQ(tapped.page.text(kSendBox), plain.page.text(kSendBox));
    EXPECT_EQ(tapped.page.text(kReceiveBox), plain.page.text(kReceiveBox));
    EXPECT_EQ(tapped.send.mirror(), plain.send.mirror());
    EXPECT_EQ(tapped.receive.mirror(), plain.receive.mirror());

    const std::string q = hexList(query.bytes);
    const std::string longest = hexList(std::vector<std::uint8_t>(256, 0x11));
    EXPECT_EQ(entries, (std::vector<std::string>{
                           "2 sent 1500 " + q,
                           "2 sent 1500 " + hexList(block),
                           "2 received 1500 00 " + q,
                           "2 received 1500 " + q,
                           "2 received 1500 A5 5B",
                           "2 received 1500 A5 01",
                           "2 received 1500 " + longest,
                       }));
}
