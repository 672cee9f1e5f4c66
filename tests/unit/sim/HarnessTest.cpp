// The simulated matrix on the virtual clock, reached the way the panel reaches it: a serial
// link opened on its COM number and a TCP socket to its address.
#include "ModelFixture.h"
#include "platform/Window.h"
#include "sim/harness/SimulatedMatrixHarness.h"

#include <gtest/gtest.h>

#include <array>

using namespace zentrel;
using namespace zentrel::sim;
using zentrel::sim::test::frameBytes;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Collects serial bytes and socket events the way a page receives them.
class Endpoint : public Window {
public:
    using Window::Window;
    LParam onMessage(unsigned msg, WParam wp, LParam lp) override {
        if (msg == WM_SERIAL_BYTE) {
            serial.push_back(static_cast<std::uint8_t>(wp));
            serialAt.push_back(loop().nowMs());
        } else {
            events.push_back(selectEvent(lp));
        }
        return 0;
    }
    Bytes serial;
    std::vector<std::int64_t> serialAt;
    std::vector<int> events;
};

struct Harness : ::testing::Test {
    SimulatedMatrixHarness h;
    Endpoint page{h.loop()};
    // A started serial link on the matrix's COM3, as the panel opens it.
    std::unique_ptr<SerialLink> link = h.serialPorts().createLink();
    void SetUp() override {
        ASSERT_TRUE(link->open(page, 3, SerialSettings{115200, 'N', 8, 2}));
        ASSERT_TRUE(link->start());
    }
};

} // namespace

TEST_F(Harness, SerialRequestIsAnsweredAfterWireTimeAndLatencyAndRecorded) {
    link->write(frameBytes("02 03 03 00 02"));
    h.advance(100);

    EXPECT_EQ(h.toMatrix(), (std::vector<std::string>{"A5 5B 02 03 03 00 02 00 00 00 00 00 F6"}));
    const std::string ack = SimulatedMatrixHarness::frame({0x02, 0x03, 0x00, 0x00, 0x02});
    EXPECT_EQ(h.fromMatrix(), (std::vector<std::string>{ack}));
    EXPECT_EQ(hexBytes(page.serial), ack);
    // 13 bytes at 115200 8N2 take 1.24 ms each way: in at 2 ms, the reply leaves 5 ms later and
    // its last byte is in at 9 ms.
    ASSERT_EQ(page.serialAt.size(), 13u);
    EXPECT_EQ(page.serialAt.back(), 9);
    EXPECT_EQ(h.state().routing[2], 3);
}

TEST_F(Harness, FaultKnobsShowOnTheVirtualLine) {
    FaultRule silent{FaultRule::Kind::Silent, FrameMatch::of(0x01, 0x04)};
    silent.times = 1;
    h.faults().add(silent);
    FaultRule bytewise{FaultRule::Kind::ByteByByte, FrameMatch::of(0x01, 0x05)};
    bytewise.gapMs = 10;
    h.faults().add(bytewise);

    link->write(frameBytes("01 04 01"));
    h.advance(5000);
    EXPECT_TRUE(page.serial.empty());
    link->write(frameBytes("01 05 01"));
    h.advance(1000);
    EXPECT_EQ(hexBytes(page.serial), SimulatedMatrixHarness::frame({0x01, 0x05, 0x01}));
    ASSERT_EQ(page.serialAt.size(), 13u);
    EXPECT_EQ(page.serialAt[12] - page.serialAt[0], 120);
}

TEST_F(Harness, TcpConnectionsComeAndGoAndEachGetsItsOwnReplies) {
    for (int round = 0; round < 2; ++round) {
        auto sock = h.network().createTcp();
        sock->asyncSelect(page, WM_TCP_MATRIX, kAllSocketEvents);
        sock->connect("192.168.1.100", 8000);
        h.advance(10);
        ASSERT_NE(std::find(page.events.begin(), page.events.end(), FD_CONNECT), page.events.end());
        // A request split over two sends is assembled by the matrix all the same.
        const Bytes req = frameBytes("02 01 01");
        sock->send(std::span(req).first(5));
        sock->send(std::span(req).subspan(5));
        h.advance(50);
        std::array<std::uint8_t, 64> buf{};
        const int n = sock->recv(buf);
        ASSERT_EQ(n, 13);
        EXPECT_EQ(hexBytes(Bytes(buf.begin(), buf.begin() + n)),
                  SimulatedMatrixHarness::frame({0x02, 0x01, 0x01, 0x00, 0x01}));
        sock->close();
        h.advance(10);
        page.events.clear();
    }
    EXPECT_EQ(h.frames().toMatrix("TCP1").size(), 1u);
    EXPECT_EQ(h.frames().toMatrix("TCP2").size(), 1u);
}
