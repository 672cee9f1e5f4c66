// The traffic log's tap on a page link: every write that goes onto the link and every reply the
// link assembles is one entry, whichever way the page logs it, and a long block is one short
// line with its length.
#include "TestWindow.h"
#include "link/ControlSocket.h"
#include "platform/sim/VirtualEventLoop.h"
#include "platform/sim/VirtualNetwork.h"
#include "protocol/Commands.h"
#include "protocol/HexText.h"
#include "session/PageLink.h"
#include "state/SharedState.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::test;

TEST(TrafficTap, EveryWriteAndEveryAssembledReplyIsOneEntryAtItsTime) {
    VirtualEventLoop loop;
    VirtualNetwork net{loop};
    SharedState state;
    ControlSocket socket{net, state};
    TrafficRecorder recorder(loop);
    std::vector<std::string> entries;
    recorder.setListener([&](std::uint64_t, const TrafficFrame& f) {
        entries.push_back(std::to_string(f.page) +
                          (f.direction == TrafficDirection::Sent ? " sent " : " received ") +
                          std::to_string(f.timeMs) + " " + f.hex);
    });
    TestWindow page(loop);
    PageLink::Options options{kSendBox, kReceiveBox, false, {&recorder, 4}};
    options.sendsLogged = false; // a page that writes its own lines still has its frames listed
    PageLink link(page, state, socket, std::make_unique<RecordingSerialLink>(), options);
    loop.advance(1500);

    const CommandFrame query = cmd::queryInput(1);
    link.sender().send(query);
    link.sender().route(std::vector<std::uint8_t>(257, 0x5A));
    link.sender().sendBlock(std::vector<std::uint8_t>(65, 0x00));
    link.sender().route(std::vector<std::uint8_t>(64, 0x11)); // still short enough to show whole
    LParam result = 0;
    link.onSerialByte(0x00, 1, result); // a stray byte is no frame
    const std::vector<std::uint8_t> reply = bytesOf("A5 5B 01 04 01 00 FF 00 00 00 00 00 FB");
    for (std::uint8_t b : reply) {
        link.onSerialByte(b, 1, result);
    }
    EXPECT_EQ(entries,
              (std::vector<std::string>{
                  "4 sent 1500 " + hexList(query.bytes),
                  "4 sent 1500 257 bytes: 5A 5A 5A 5A 5A 5A 5A 5A ...",
                  "4 sent 1500 65 bytes: 00 00 00 00 00 00 00 00 ...",
                  "4 sent 1500 " + hexList(std::vector<std::uint8_t>(64, 0x11)),
                  "4 received 1500 " + hexList(reply)}));
    EXPECT_EQ(page.text(kSendBox), ""); // the tap never writes the page's own log
}
