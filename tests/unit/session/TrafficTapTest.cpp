// The logs' hand-over to the traffic recorder: the boxes and mirrors stay exactly as without
// it, and the recorder gets one entry per frame sent and per line received, at its time.
#include "TestWindow.h"
#include "session/ReceiveLog.h"
#include "session/SendLog.h"
#include "platform/sim/VirtualEventLoop.h"
#include "protocol/HexText.h"
#include "protocol/ReplyAssembler.h"
#include "protocol/TcpReplyBuffer.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::test;

TEST(TrafficTap, LeavesTheLogsByteForByteAndRecordsEachFrameAndLineAtItsTime) {
    VirtualEventLoop loop;
    TrafficRecorder recorder(loop);
    std::vector<std::string> entries;
    recorder.setListener([&](std::uint64_t, const TrafficFrame& f) {
        entries.push_back(std::to_string(f.page) +
                          (f.direction == TrafficDirection::Sent ? " sent " : " received ") +
                          std::to_string(f.timeMs) + " " + f.hex);
    });
    const std::vector<std::uint8_t> frame = bytesOf("A5 5B 08 0C 00 00 00 00 00 00 00 00 EC");
    const std::vector<std::uint8_t> block(20, 0x7E), stray(300, 0x11);
    std::vector<std::string> boxes;
    for (TrafficTap tap : {TrafficTap{}, TrafficTap{&recorder, 2}}) {
        TestWindow page(loop);
        SendLog send(page, kSendBox, true, tap);
        ReceiveLog receive(page, kReceiveBox, true, tap);
        ReplyAssembler serial(&receive);
        TcpReplyBuffer tcp(&receive);
        loop.advance(1500);
        send.append(frame);
        send.append(block); // its line breaks fall by the byte count
        send.appendText("Send data:\r\n");
        serial.feed(0x00); // a stray byte, on the reply's line
        serial.feedAll(frame);
        tcp.onRead(frame);
        receive.appendText("A5 5B\r\n\r\nA5 "); // batched text
        receive.appendText("01\r\n");
        serial.feedAll(stray); // never ends a line
        boxes.push_back(page.text(kSendBox) + page.text(kReceiveBox) + send.mirror() +
                        receive.mirror());
    }
    EXPECT_EQ(boxes[1], boxes[0]);
    const std::string f = hexList(frame);
    EXPECT_EQ(entries,
              (std::vector<std::string>{
                  "2 sent 3000 " + f, "2 sent 3000 " + hexList(block), "2 received 3000 00 " + f,
                  "2 received 3000 " + f, "2 received 3000 A5 5B", "2 received 3000 A5 01",
                  "2 received 3000 " + hexList(std::span(stray).first(256))}));
}
