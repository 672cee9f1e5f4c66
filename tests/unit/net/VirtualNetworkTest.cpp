#include "platform/sim/VirtualNetwork.h"
#include "NetTestWindow.h"
#include "platform/sim/VirtualEventLoop.h"
#include "platform/sim/VirtualTcpConnection.h"
#include "platform/sim/VirtualUdpPeer.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

using namespace zentrel;
using test::NetTestWindow;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct VirtualNet : ::testing::Test {
    VirtualEventLoop loop;
    VirtualNetwork net{loop};
    NetTestWindow page{loop};
    std::shared_ptr<VirtualTcpConnection> far;

    void listenOnMatrix() {
        net.listen("192.168.1.50", 8000,
                   [this](std::shared_ptr<VirtualTcpConnection> c) { far = std::move(c); });
    }
    std::unique_ptr<TcpSocket> connectedSocket() {
        listenOnMatrix();
        auto s = net.createTcp();
        s->asyncSelect(page, WM_TCP_GENERAL, kAllSocketEvents);
        s->connect("192.168.1.50", 8000);
        loop.advance(1);
        page.received.clear();
        return s;
    }
};

TEST_F(VirtualNet, ConnectCompletesAfterTheDelayWithTheSocketAsWParam) {
    listenOnMatrix();
    auto s = net.createTcp();
    s->asyncSelect(page, WM_TCP_MATRIX, kAllSocketEvents);
    s->connect("192.168.1.50", 8000);
    loop.settle();
    EXPECT_TRUE(page.received.empty()); // a connect never completes inside the call
    loop.advance(1);
    ASSERT_EQ(page.events(), (std::vector<int>{FD_CONNECT, FD_WRITE}));
    EXPECT_EQ(page.received[0].msg, WM_TCP_MATRIX);
    EXPECT_EQ(page.received[0].wp, s->handle());
    EXPECT_EQ(page.received[0].error(), 0);
    ASSERT_NE(far, nullptr);
    EXPECT_EQ(far->port(), 8000);
    EXPECT_EQ(net.connectsMade(), 1);
}

TEST_F(VirtualNet, ConnectOutcomesWithoutAListener) {
    auto refused = net.createTcp();
    refused->asyncSelect(page, WM_TCP_GENERAL, kAllSocketEvents);
    refused->connect("192.168.1.50", 8000);
    auto garbled = net.createTcp();
    garbled->asyncSelect(page, WM_TCP_GENERAL, FD_CONNECT);
    garbled->connect("", 8000); // an empty IP list
    loop.advance(1);
    ASSERT_EQ(page.received.size(), 2u);
    EXPECT_EQ(page.received[0].wp, garbled->handle());
    EXPECT_EQ(page.received[0].error(), WSAEADDRNOTAVAIL);
    EXPECT_EQ(page.received[1].wp, refused->handle());
    EXPECT_EQ(page.received[1].event(), FD_CONNECT);
    EXPECT_EQ(page.received[1].error(), WSAECONNREFUSED);
    EXPECT_EQ(refused->send(Bytes{1, 2}), -1);
}

TEST_F(VirtualNet, SlowAndSilentNetworks) {
    listenOnMatrix();
    net.setConnectDelayMs(150);
    auto slow = net.createTcp();
    slow->asyncSelect(page, WM_TCP_GENERAL, FD_CONNECT);
    slow->connect("192.168.1.50", 8000);
    loop.advance(149);
    EXPECT_TRUE(page.received.empty());
    loop.advance(1);
    EXPECT_EQ(page.events(), std::vector<int>{FD_CONNECT});

    net.setConnectsComplete(false);
    auto silent = net.createTcp();
    silent->asyncSelect(page, WM_TCP_GENERAL, FD_CONNECT);
    silent->connect("192.168.1.50", 8000);
    loop.advance(60000);
    EXPECT_EQ(page.received.size(), 1u);

    // Closing a socket whose connect is pending cancels the outcome.
    net.setConnectsComplete(true);
    auto abandoned = net.createTcp();
    abandoned->asyncSelect(page, WM_TCP_GENERAL, FD_CONNECT);
    abandoned->connect("192.168.1.50", 8000);
    abandoned->close();
    loop.advance(500);
    EXPECT_EQ(page.received.size(), 1u);
}

TEST_F(VirtualNet, DataBothWaysWithReadReannouncedWhileBytesRemain) {
    auto s = connectedSocket();
    const Bytes frame{0xA5, 0x5B, 1, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0xEE};
    EXPECT_EQ(s->send(frame), 13);
    loop.settle();
    EXPECT_EQ(far->received(), frame);

    Bytes reply(20, 0x42);
    far->send(reply);
    far->send(Bytes{7});
    loop.settle();
    // Two arrivals, one announcement: no second FD_READ until the panel reads.
    ASSERT_EQ(page.events(), std::vector<int>{FD_READ});
    std::array<std::uint8_t, 13> buf{};
    EXPECT_EQ(s->recv(buf), 13);
    loop.settle();
    EXPECT_EQ(page.events(), (std::vector<int>{FD_READ, FD_READ}));
    EXPECT_EQ(s->recv(buf), 8);
    EXPECT_EQ(buf[7], 7);
    loop.settle();
    EXPECT_EQ(page.received.size(), 2u);
    EXPECT_EQ(s->recv(buf), -1); // nothing there, still connected
}

TEST_F(VirtualNet, PeerCloseComesAfterTheUnreadData) {
    auto s = connectedSocket();
    far->send(Bytes(30, 1));
    far->close();
    loop.settle();
    EXPECT_EQ(page.events(), std::vector<int>{FD_READ});
    std::array<std::uint8_t, 16> buf{};
    s->recv(buf);
    s->recv(buf);
    loop.settle();
    EXPECT_EQ(page.events(), (std::vector<int>{FD_READ, FD_READ, FD_CLOSE}));
    EXPECT_EQ(s->recv(buf), 0); // orderly close
    EXPECT_EQ(s->send(Bytes{1}), -1);
}

TEST_F(VirtualNet, ClosingDropsWhatIsInFlightTowardsThePanel) {
    net.setLatencyMs(5);
    auto s = connectedSocket();
    bool farSawClose = false;
    far->onClose([&] { farSawClose = true; });
    s->send(Bytes{1, 2, 3});
    far->send(Bytes{9, 9});
    loop.advance(2);
    s->close();
    EXPECT_EQ(net.openTcpSockets(), 0);
    loop.advance(10);
    EXPECT_TRUE(page.received.empty());
    EXPECT_EQ(far->received(), (Bytes{1, 2, 3})); // sent before the close: still delivered
    EXPECT_TRUE(farSawClose);
    EXPECT_FALSE(far->isOpen());
    EXPECT_EQ(far->send(Bytes{1}), -1);
    std::array<std::uint8_t, 4> buf{};
    EXPECT_EQ(s->recv(buf), -1);
}

TEST_F(VirtualNet, OnlyRegisteredEventsArePosted) {
    listenOnMatrix();
    auto s = net.createTcp();
    s->asyncSelect(page, WM_TCP_EDID, FD_CLOSE);
    s->connect("192.168.1.50", 8000);
    loop.advance(1);
    far->send(Bytes{1});
    far->close();
    loop.settle();
    std::array<std::uint8_t, 4> buf{};
    EXPECT_EQ(s->recv(buf), 1);
    loop.settle();
    EXPECT_EQ(page.events(), std::vector<int>{FD_CLOSE});
}

TEST_F(VirtualNet, BroadcastReachesEveryBindingOfThePortAndEchoesToTheSender) {
    auto panel = net.createUdp();
    ASSERT_TRUE(panel->bind("0.0.0.0", 30600));
    ASSERT_TRUE(panel->asyncSelect(page, WM_DISCOVERY, FD_READ));
    auto matrixA = net.openUdpPeer("192.168.1.50", 30600);
    auto matrixB = net.openUdpPeer("192.168.1.51", 30600);
    auto other = net.openUdpPeer("192.168.1.52", 30601);
    const Bytes probe{0x61};
    EXPECT_EQ(panel->sendTo(probe, "255.255.255.255", 30600), -1); // no SO_BROADCAST yet
    ASSERT_TRUE(panel->setBroadcast(true));
    EXPECT_EQ(panel->sendTo(probe, "255.255.255.255", 30600), 1);
    loop.settle();
    ASSERT_EQ(matrixA->received().size(), 1u);
    EXPECT_EQ(matrixA->received()[0].fromIp, net.hostIp());
    EXPECT_EQ(matrixA->received()[0].fromPort, 30600);
    EXPECT_EQ(matrixB->received().size(), 1u);
    EXPECT_TRUE(other->received().empty());
    ASSERT_EQ(page.events(), std::vector<int>{FD_READ});
    EXPECT_EQ(page.received[0].wp, panel->handle());
    std::array<std::uint8_t, 8> buf{};
    EXPECT_EQ(panel->recv(buf), 1);
    EXPECT_EQ(buf[0], 0x61);
    EXPECT_EQ(net.datagramsSent(), 1);
    EXPECT_EQ(net.datagrams()[0].toIp, "255.255.255.255");
}

TEST_F(VirtualNet, UnicastFindsTheWildcardBindingOfItsHostAndReadsOneDatagramAtATime) {
    auto panel = net.createUdp();
    ASSERT_TRUE(panel->bind("0.0.0.0", 30600));
    panel->asyncSelect(page, WM_DISCOVERY, FD_READ);
    auto matrix = net.openUdpPeer("192.168.1.50", 30600);
    matrix->sendTo(Bytes(60, 0xAB), net.hostIp(), 30600);
    matrix->sendTo(Bytes{1, 2}, net.hostIp(), 30600);
    matrix->sendTo(Bytes{3}, "192.168.1.99", 30600); // another host: not ours
    loop.settle();
    ASSERT_EQ(page.events(), std::vector<int>{FD_READ});
    std::array<std::uint8_t, 50> buf{};
    EXPECT_EQ(panel->recv(buf), 50); // cut to the buffer; the rest of the datagram is gone
    loop.settle();
    EXPECT_EQ(page.events(), (std::vector<int>{FD_READ, FD_READ}));
    EXPECT_EQ(panel->recv(buf), 2);
    EXPECT_EQ(panel->recv(buf), -1);
    loop.settle();
    EXPECT_EQ(page.received.size(), 2u);
}

TEST_F(VirtualNet, UdpFailureKnobsAndClosedSockets) {
    net.setUdpPortBusy(30600);
    auto a = net.createUdp();
    EXPECT_FALSE(a->bind("0.0.0.0", 30600));
    EXPECT_TRUE(a->bind("0.0.0.0", 30601));
    EXPECT_FALSE(a->bind("0.0.0.0", 30602)); // bound already
    net.setUdpSelectFails(true);
    EXPECT_FALSE(a->asyncSelect(page, WM_DISCOVERY, FD_READ));
    net.setUdpSelectFails(false);
    net.setUdpCreateFails(true);
    EXPECT_EQ(net.createUdp(), nullptr);
    net.setTcpCreateFails(true);
    EXPECT_EQ(net.createTcp(), nullptr);

    // A socket closed before a datagram lands never hears of it; its port is free again.
    ASSERT_TRUE(a->asyncSelect(page, WM_DISCOVERY, FD_READ));
    auto peer = net.openUdpPeer("192.168.1.50", 30601);
    peer->sendTo(Bytes{1}, "255.255.255.255", 30601);
    a->close();
    loop.settle();
    EXPECT_TRUE(page.received.empty());
    EXPECT_EQ(peer->received().size(), 1u); // the peer's own broadcast
}

TEST_F(VirtualNet, AnUnboundSocketSendsFromAFreshPortAndHearsTheAnswer) {
    auto panel = net.createUdp();
    panel->asyncSelect(page, WM_CONFIG_SOCKET, FD_READ);
    auto matrix = net.openUdpPeer("192.168.1.50", 30601);
    matrix->onDatagram(
        [&](const VirtualDatagram& d) { matrix->sendTo(Bytes{0x55}, d.fromIp, d.fromPort); });
    panel->sendTo(Bytes{1, 2, 3}, "192.168.1.50", 30601);
    loop.settle();
    EXPECT_NE(net.datagrams()[0].fromPort, 0);
    EXPECT_EQ(page.events(), std::vector<int>{FD_READ});
}

} // namespace
