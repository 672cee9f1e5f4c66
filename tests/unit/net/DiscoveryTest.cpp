#include "link/Discovery.h"
#include "NetTestWindow.h"
#include "platform/sim/VirtualEventLoop.h"
#include "platform/sim/VirtualNetwork.h"
#include "platform/sim/VirtualUdpPeer.h"
#include "platform/sim/VirtualUdpSocket.h"

#include <gtest/gtest.h>

#include <array>

using namespace zentrel;
using test::NetTestWindow;

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kIpList = Discovery::kIpList;

// A matrix's answer: MAC, IP, eight bytes not read, the signature, padding to `size`.
Bytes answer(std::array<std::uint8_t, 6> mac, std::array<std::uint8_t, 4> ip,
             std::size_t size = 50) {
    Bytes b(size, 0);
    std::copy(mac.begin(), mac.end(), b.begin());
    std::copy(ip.begin(), ip.end(), b.begin() + 6);
    b[10] = ip[0]; // gateway-like bytes, never read
    b[11] = ip[1];
    b[18] = 0x77;
    b[19] = 0x88;
    return b;
}

struct DiscoveryOnVirtualNet : ::testing::Test {
    VirtualEventLoop loop;
    VirtualNetwork net{loop};
    SharedState state;
    NetTestWindow page{loop};
    NetTestWindow mainWindow{loop};
    std::string log;
    Discovery discovery{net, state, page, [this](const std::string& s) { log += s; }};

    void SetUp() override {
        loop.setMainWindow(&mainWindow);
        page.handler = [this](unsigned msg, WParam wp, LParam lp) {
            if (msg == WM_DISCOVERY) {
                discovery.handleNotification(wp, lp);
            }
        };
    }
    // A matrix at `ip` that answers every probe with `reply` after `delayMs`.
    std::shared_ptr<VirtualUdpPeer> matrix(const std::string& ip, Bytes reply,
                                           std::int64_t delayMs = 0) {
        auto peer = net.openUdpPeer(ip, Discovery::kPort);
        VirtualUdpPeer* p = peer.get();
        p->onDatagram([this, p, reply, delayMs](const VirtualDatagram& d) {
            if (d.bytes == Bytes{Discovery::kProbe}) {
                loop.schedule(delayMs, [p, reply, d] { p->sendTo(reply, d.fromIp, d.fromPort); });
            }
        });
        return peer;
    }
    int matricesFound() const {
        int n = 0;
        for (const auto& r : mainWindow.received) {
            n += r.msg == WM_APP_RESULT && r.wp == Discovery::kMatrixFound;
        }
        return n;
    }
    std::vector<std::string> ipList() const { return page.control(kIpList).items; }
};

TEST_F(DiscoveryOnVirtualNet, TwoMatricesAreListedInArrivalOrderAndTheFirstStaysTheTarget) {
    auto slow =
        matrix("192.168.1.60", answer({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}, {192, 168, 1, 60}), 3);
    auto quick =
        matrix("192.168.1.61", answer({0xF0, 0x01, 0x02, 0x03, 0x04, 0x05}, {10, 0, 0, 7}));
    EXPECT_EQ(discovery.search(), Discovery::Start::Started);
    ASSERT_EQ(net.datagramsSent(), 1);
    EXPECT_EQ(net.datagrams()[0].bytes, Bytes{0x61});
    EXPECT_EQ(net.datagrams()[0].toIp, "255.255.255.255");
    EXPECT_EQ(net.datagrams()[0].toPort, 30600);
    loop.advance(10);

    EXPECT_EQ(ipList(), (std::vector<std::string>{"10.0.0.7", "192.168.1.60"}));
    EXPECT_EQ(page.selection(kIpList), 0);
    EXPECT_EQ(state.MatrixIp, "10.0.0.7");
    EXPECT_EQ(state.SelectedMac, "F00102030405");
    EXPECT_EQ(state.DiscoveredMacs[1], "001A2B3C4D5E");
    EXPECT_EQ(state.DiscoveredCount, 2);
    EXPECT_EQ(matricesFound(), 2);
    EXPECT_EQ(discovery.buffer().count(), 0u);
}

TEST_F(DiscoveryOnVirtualNet, TheProbeEchoWaitsForTheRestOfTheAnswerAndIsLogged) {
    Bytes short49 = answer({0x11, 0x22, 0x33, 0x44, 0x55, 0x66}, {192, 168, 0, 9}, 49);
    auto m = matrix("192.168.1.60", short49, 2);
    discovery.search();
    loop.advance(1);
    EXPECT_EQ(discovery.buffer().count(), 1u); // the echo alone is not an answer
    EXPECT_EQ(log, "61 ");
    loop.advance(1);
    EXPECT_EQ(ipList(), std::vector<std::string>{"192.168.0.9"});
    EXPECT_EQ(state.SelectedMac, "112233445566");
    // The log shows the buffer from its start (the echo, then the answer less its last byte),
    // one hex pair per byte read, with a line break after every 13 bytes of the buffer.
    std::string expected = "61 61 ";
    for (std::size_t j = 0; j < 48; ++j) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X ", short49[j]);
        expected += hex;
        if ((j + 3) % 13 == 0) {
            expected += "\r\n";
        }
    }
    EXPECT_EQ(log, expected);
}

TEST_F(DiscoveryOnVirtualNet, AMacBeginningWithTheProbeByteIsReadWhole) {
    auto m = matrix("192.168.1.60", answer({0x61, 0x61, 0x02, 0x03, 0x04, 0x05}, {172, 16, 4, 2}));
    discovery.search();
    loop.advance(1);
    EXPECT_EQ(state.SelectedMac, "616102030405");
    EXPECT_EQ(state.MatrixIp, "172.16.4.2");
}

TEST_F(DiscoveryOnVirtualNet, AnswersWithoutTheSignatureOrTooShortAddNothing) {
    auto peer = net.openUdpPeer("192.168.1.60", Discovery::kPort);
    discovery.search();
    loop.settle();              // the echo
    Bytes unsigned50(49, 0x10); // 50 with the echo, no signature anywhere
    peer->sendTo(unsigned50, net.hostIp(), Discovery::kPort);
    loop.settle();
    EXPECT_TRUE(ipList().empty());
    EXPECT_EQ(discovery.buffer().count(), 0u);                // looked at and dropped
    Bytes cut = answer({1, 2, 3, 4, 5, 6}, {1, 2, 3, 4}, 19); // signature's second byte missing
    peer->sendTo(cut, net.hostIp(), Discovery::kPort);
    peer->sendTo(Bytes(31, 0), net.hostIp(), Discovery::kPort);
    loop.settle();
    EXPECT_TRUE(ipList().empty());
    EXPECT_EQ(matricesFound(), 0);
    EXPECT_EQ(state.DiscoveredCount, 0);
    EXPECT_EQ(state.MatrixIp, "");
}

TEST_F(DiscoveryOnVirtualNet, AnOverlongStreamStaysInsideTheBuffer) {
    auto peer = net.openUdpPeer("192.168.1.60", Discovery::kPort);
    discovery.search();
    loop.settle();
    peer->sendTo(Bytes(48, 0x61), net.hostIp(), Discovery::kPort); // 49 pending: the most there is
    Bytes huge(1500, 0x61);                                        // a read takes 1024 of it
    const Bytes rec = answer({0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0x01}, {192, 168, 5, 5}, 20);
    std::copy(rec.begin(), rec.end(), huge.begin() + 1024 - 20); // ends exactly at the read's end
    peer->sendTo(huge, net.hostIp(), Discovery::kPort);
    for (int i = 0; i < 5; ++i) {
        peer->sendTo(Bytes(1500, 0x77), net.hostIp(), Discovery::kPort);
    }
    loop.settle();
    EXPECT_EQ(ipList(), std::vector<std::string>{"192.168.5.5"});
    EXPECT_EQ(state.SelectedMac, "AABBCCDDEE01");
    EXPECT_EQ(discovery.buffer().count(), 0u);
}

TEST_F(DiscoveryOnVirtualNet, SearchFailuresSendNoProbe) {
    net.setUdpPortBusy(30600);
    page.addItem(kIpList, "192.168.1.60");
    state.DiscoveredCount = 3;
    EXPECT_EQ(discovery.search(), Discovery::Start::BindFailed);
    EXPECT_TRUE(ipList().empty());
    EXPECT_EQ(state.DiscoveredCount, 0);
    EXPECT_EQ(discovery.broadcastSocket().socket(), nullptr);

    net.setUdpPortBusy(30600, false);
    net.setUdpCreateFails(true);
    EXPECT_EQ(discovery.search(), Discovery::Start::BindFailed);
    net.setUdpCreateFails(false);
    net.setUdpSelectFails(true);
    EXPECT_EQ(discovery.search(), Discovery::Start::SelectFailed);
    EXPECT_EQ(net.datagramsSent(), 0);
    EXPECT_STREQ(Discovery::kSearchFailedText, "Search failed");
}

TEST_F(DiscoveryOnVirtualNet, ANewSearchStartsAFreshListAndReusesTheSlots) {
    auto a = matrix("192.168.1.60", answer({1, 1, 1, 1, 1, 1}, {192, 168, 1, 60}));
    auto b = matrix("192.168.1.61", answer({2, 2, 2, 2, 2, 2}, {192, 168, 1, 61}), 1);
    discovery.search();
    loop.advance(5);
    b->close();
    discovery.search();
    loop.advance(5);
    EXPECT_EQ(ipList(), std::vector<std::string>{"192.168.1.60"});
    EXPECT_EQ(state.DiscoveredCount, 1);
    EXPECT_EQ(state.DiscoveredMacs[1], "020202020202"); // left from the last search
    EXPECT_EQ(net.datagramsSent(), 2 + 3);              // two probes, three answers
}

TEST_F(DiscoveryOnVirtualNet, SelectionMakesAnEntryTheTargetEvenPastTheSlotCount) {
    auto peer = net.openUdpPeer("192.168.1.60", Discovery::kPort);
    discovery.search();
    for (int k = 0; k < 300; ++k) {
        const auto lo = static_cast<std::uint8_t>(k & 0xFF);
        const auto hi = static_cast<std::uint8_t>(k >> 8);
        peer->sendTo(answer({0, 0, 0, 0, hi, lo}, {10, 0, hi, lo}), net.hostIp(), Discovery::kPort);
    }
    loop.settle();
    ASSERT_EQ(page.itemCount(kIpList), 300);
    EXPECT_EQ(state.DiscoveredCount, 300 % 256); // the 8-bit count wrapped
    discovery.select(100);
    EXPECT_EQ(state.MatrixIp, "10.0.0.100");
    EXPECT_EQ(state.SelectedMac, "000000000064");
    discovery.select(1); // its slot went to the 258th matrix when the count wrapped
    EXPECT_EQ(state.MatrixIp, "10.0.0.1");
    EXPECT_EQ(state.SelectedMac, "000000000101");
    discovery.select(299); // the 300th matrix went to slot 299 mod 256
    EXPECT_EQ(state.MatrixIp, "10.0.1.43");
    EXPECT_EQ(state.SelectedMac, "00000000012B");
    EXPECT_EQ(page.selection(kIpList), 299);
    discovery.select(300);
    discovery.select(-1);
    EXPECT_EQ(state.MatrixIp, "10.0.1.43");
}

TEST_F(DiscoveryOnVirtualNet, AfterTheConfigurationReopensTheSocketQueuedNoticesAreIgnored) {
    page.handler = nullptr;
    auto m = matrix("192.168.1.60", answer({1, 2, 3, 4, 5, 6}, {192, 168, 1, 60}));
    discovery.search();
    loop.settle();
    ASSERT_FALSE(page.received.empty());
    const test::Received queued = page.received.back();

    NetTestWindow dialog{loop};
    UdpSocket* config = discovery.broadcastSocket().reopen("0.0.0.0", 30601);
    ASSERT_NE(config, nullptr);
    config->setBroadcast(true);
    config->asyncSelect(dialog, WM_CONFIG_SOCKET, FD_READ);
    auto configPeer = net.openUdpPeer("192.168.1.60", 30601);
    configPeer->sendTo(Bytes(76, 0), net.hostIp(), 30601);
    loop.settle();
    ASSERT_EQ(dialog.received.size(), 1u);
    discovery.handleNotification(dialog.received[0].wp, queued.lp); // not the search's socket
    discovery.handleNotification(queued.wp, queued.lp);
    EXPECT_TRUE(ipList().empty());
    std::array<std::uint8_t, 100> buf{};
    EXPECT_EQ(config->recv(buf), 76); // the dialog's answer is still there for the dialog
}

} // namespace
