#include "link/Discovery.h"
#include "NetTestWindow.h"
#include "platform/sim/VirtualEventLoop.h"
#include "platform/sim/VirtualNetwork.h"
#include "platform/sim/VirtualUdpPeer.h"

#include <gtest/gtest.h>

#include <array>

using namespace zentrel;

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kIpList = Discovery::kIpList;

using test::discoveryAnswer;

struct DiscoveryOnVirtualNet : ::testing::Test {
    VirtualEventLoop loop;
    VirtualNetwork net{loop};
    SharedState state;
    test::NetTestWindow page{loop};
    test::NetTestWindow mainWindow{loop};
    std::string log;
    Discovery discovery{net, state, page, [this](const std::string& s) { log += s; }};
    std::shared_ptr<VirtualUdpPeer> peer = net.openUdpPeer("192.168.1.60", Discovery::kPort);

    void SetUp() override {
        loop.setMainWindow(&mainWindow);
        page.handler = [this](unsigned, WParam wp, LParam lp) {
            discovery.handleNotification(wp, lp);
        };
    }
    // A matrix that answers every probe with `reply` after `delayMs`.
    std::shared_ptr<VirtualUdpPeer> matrix(const std::string& ip, Bytes reply,
                                           std::int64_t delayMs = 0) {
        auto m = net.openUdpPeer(ip, Discovery::kPort);
        m->onDatagram([this, p = m.get(), reply, delayMs](const VirtualDatagram& d) {
            if (d.bytes == Bytes{Discovery::kProbe}) {
                loop.schedule(delayMs, [=] { p->sendTo(reply, d.fromIp, d.fromPort); });
            }
        });
        return m;
    }
    void receive(const Bytes& b) {
        peer->sendTo(b, net.hostIp(), Discovery::kPort);
        loop.settle();
    }
    std::vector<std::string> ipList() const { return page.control(kIpList).items; }
};

TEST_F(DiscoveryOnVirtualNet, TwoMatricesAreListedInArrivalOrderAndTheFirstStaysTheTarget) {
    auto slow = matrix("192.168.1.61",
                       discoveryAnswer({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}, {192, 168, 1, 61}), 3);
    auto quick = matrix("192.168.1.62", discoveryAnswer({0xF0, 1, 2, 3, 4, 5}, {10, 0, 0, 7}));
    EXPECT_EQ(discovery.search(), Discovery::Start::Started);
    ASSERT_EQ(net.datagramsSent(), 1);
    EXPECT_EQ(net.datagrams()[0].bytes, Bytes{0x61});
    EXPECT_EQ(net.datagrams()[0].toIp, "255.255.255.255");
    loop.advance(10);
    EXPECT_EQ(ipList(), (std::vector<std::string>{"10.0.0.7", "192.168.1.61"}));
    EXPECT_EQ(page.selection(kIpList), 0);
    EXPECT_EQ(state.MatrixIp, "10.0.0.7");
    EXPECT_EQ(state.SelectedMac, "F00102030405");
    EXPECT_EQ(state.DiscoveredMacs[1], "001A2B3C4D5E");
    EXPECT_EQ(state.DiscoveredCount, 2);
    ASSERT_EQ(mainWindow.received.size(), 2u);
    EXPECT_EQ(mainWindow.received[1].msg, WM_APP_RESULT);
    EXPECT_EQ(mainWindow.received[1].wp, 2u);
}

TEST_F(DiscoveryOnVirtualNet, TheProbeEchoWaitsForTheRestOfTheAnswerAndIsLogged) {
    discovery.search();
    loop.settle();
    EXPECT_EQ(discovery.buffer().count(), 1u); // the echo alone
    const Bytes short49 =
        discoveryAnswer({0x11, 0x22, 0x33, 0x44, 0x55, 0x66}, {192, 168, 0, 9}, 49);
    receive(short49);
    EXPECT_EQ(ipList(), std::vector<std::string>{"192.168.0.9"});
    EXPECT_EQ(state.SelectedMac, "112233445566");
    // The log shows the buffer from its start (the echo, then the answer less its last byte),
    // breaking the line after every 13 bytes of the buffer.
    EXPECT_EQ(log.substr(0, 44), "61 61 11 22 33 44 55 66 C0 A8 00 09 00 \r\n00 ");
    EXPECT_EQ(log.size(), 50u * 3 + 3 * 2);
}

TEST_F(DiscoveryOnVirtualNet, AMacBeginningWithTheProbeByteIsReadWhole) {
    auto m = matrix("192.168.1.61", discoveryAnswer({0x61, 0x61, 2, 3, 4, 5}, {172, 16, 4, 2}));
    discovery.search();
    loop.settle();
    EXPECT_EQ(state.SelectedMac, "616102030405");
    EXPECT_EQ(state.MatrixIp, "172.16.4.2");
}

TEST_F(DiscoveryOnVirtualNet, AnOverlongStreamStaysInsideTheBuffer) {
    discovery.search();
    loop.settle();
    receive(Bytes(48, 0x61)); // 49 pending: the most there can be
    Bytes huge(1500, 0x61);   // a read takes 1024 of it
    const Bytes rec = discoveryAnswer({0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0x01}, {192, 168, 5, 5}, 20);
    std::copy(rec.begin(), rec.end(), huge.begin() + 1024 - 20); // ends where the read ends
    receive(huge);
    receive(Bytes(1500, 0x77));
    EXPECT_EQ(ipList(), std::vector<std::string>{"192.168.5.5"});
    EXPECT_EQ(state.SelectedMac, "AABBCCDDEE01");
}

TEST_F(DiscoveryOnVirtualNet, SelectionPastTheSlotsReadsTheSlotTheWrappedCountWrote) {
    discovery.search();
    for (int k = 0; k < 300; ++k) {
        const auto hi = static_cast<std::uint8_t>(k >> 8), lo = static_cast<std::uint8_t>(k);
        peer->sendTo(discoveryAnswer({0, 0, 0, 0, hi, lo}, {10, 0, hi, lo}), net.hostIp(), 30600);
    }
    loop.settle();
    ASSERT_EQ(page.itemCount(kIpList), 300);
    EXPECT_EQ(state.DiscoveredCount, 300 % 256);
    discovery.select(100);
    EXPECT_EQ(state.MatrixIp, "10.0.0.100");
    EXPECT_EQ(state.SelectedMac, "000000000064");
    discovery.select(299);
    EXPECT_EQ(state.MatrixIp, "10.0.1.43");
    EXPECT_EQ(state.SelectedMac, "00000000012B");
    discovery.select(300); // past the list: nothing changes
    EXPECT_EQ(state.MatrixIp, "10.0.1.43");
    EXPECT_EQ(state.SelectedMac, "00000000012B");
}

TEST_F(DiscoveryOnVirtualNet, AfterTheConfigurationReopensTheSocketQueuedNoticesAreIgnored) {
    page.handler = nullptr;
    discovery.search();
    loop.settle();
    const test::Received queued = page.received.at(0); // the echo, not yet read
    test::NetTestWindow dialog{loop};
    UdpSocket* config = discovery.broadcastSocket().reopen("0.0.0.0", 30601);
    config->asyncSelect(dialog, WM_CONFIG_SOCKET, FD_READ);
    net.openUdpPeer("192.168.1.60", 30601)->sendTo(Bytes(76, 0), net.hostIp(), 30601);
    loop.settle();
    discovery.handleNotification(queued.wp, queued.lp);
    discovery.handleNotification(dialog.received.at(0).wp, queued.lp);
    EXPECT_EQ(discovery.buffer().count(), 0u);
    std::array<std::uint8_t, 100> buf{};
    EXPECT_EQ(config->recv(buf), 76); // still there for the dialog
}

TEST(DiscoveryBuffer, NeverGrowsPastItsCapacity) {
    DiscoveryBuffer b;
    std::size_t kept = 0;
    for (int i = 0; i < 3000; ++i) {
        kept += b.append(0x77) ? 1 : 0;
    }
    EXPECT_EQ(kept, DiscoveryBuffer::kCapacity);
    EXPECT_EQ(b.at(DiscoveryBuffer::kCapacity), 0);
}

} // namespace
