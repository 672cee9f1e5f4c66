#include "platform/sim/VirtualNetwork.h"
#include "NetTestWindow.h"
#include "platform/DatagramInbox.h"
#include "platform/sim/VirtualEventLoop.h"
#include "platform/sim/VirtualTcpConnection.h"
#include "platform/sim/VirtualUdpPeer.h"

#include <gtest/gtest.h>

#include <array>

using namespace zentrel;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct VirtualNet : ::testing::Test {
    VirtualEventLoop loop;
    VirtualNetwork net{loop};
    test::NetTestWindow page{loop};
    std::shared_ptr<VirtualTcpConnection> far;
    std::array<std::uint8_t, 13> buf{};

    std::unique_ptr<TcpSocket> connect(const std::string& ip) {
        net.listen("192.168.1.50", 8000, [this](auto c) { far = std::move(c); });
        auto s = net.createTcp();
        s->asyncSelect(page, WM_TCP_MATRIX, kAllSocketEvents);
        s->connect(ip, 8000);
        return s;
    }
    std::vector<int> events() const {
        std::vector<int> out;
        for (const auto& r : page.received) {
            out.push_back(r.event());
        }
        return out;
    }
};

TEST_F(VirtualNet, ConnectOutcomesArriveLaterAsFdConnect) {
    net.setConnectDelayMs(150);
    auto s = connect("192.168.1.50");
    auto refused = connect("192.168.1.77");
    loop.advance(149);
    EXPECT_TRUE(page.received.empty()); // a slow network: nothing yet
    loop.advance(1);
    ASSERT_EQ(events(), (std::vector<int>{FD_CONNECT, FD_WRITE, FD_CONNECT}));
    EXPECT_EQ(page.received[0].wp, s->handle());
    EXPECT_EQ(page.received[0].msg, WM_TCP_MATRIX);
    EXPECT_EQ(page.received[0].error(), 0);
    EXPECT_EQ(page.received[2].error(), WSAECONNREFUSED);
    EXPECT_EQ(net.connectsMade(), 2);

    net.setConnectsComplete(false); // a silent network: never
    auto silent = connect("192.168.1.50");
    loop.advance(60000);
    EXPECT_EQ(page.received.size(), 3u);
}

TEST_F(VirtualNet, ReadIsReannouncedWhileBytesRemainAndCloseWaitsForTheLastByte) {
    auto s = connect("192.168.1.50");
    loop.advance(1);
    page.received.clear();
    EXPECT_EQ(s->send(Bytes{0xA5, 0x5B}), 2);
    loop.settle();
    EXPECT_EQ(far->received(), (Bytes{0xA5, 0x5B}));
    far->send(Bytes(20, 0x42));
    far->send(Bytes{7});
    far->close();
    loop.settle();
    EXPECT_EQ(events(), std::vector<int>{FD_READ}); // one until the panel reads
    EXPECT_EQ(s->recv(buf), 13);
    loop.settle();
    EXPECT_EQ(events(), (std::vector<int>{FD_READ, FD_READ}));
    EXPECT_EQ(s->recv(buf), 8);
    EXPECT_EQ(buf[7], 7);
    loop.settle();
    EXPECT_EQ(events(), (std::vector<int>{FD_READ, FD_READ, FD_CLOSE}));
    EXPECT_EQ(s->recv(buf), 0);
}

TEST_F(VirtualNet, BroadcastsReachEveryBindingOfThePortTheSenderIncluded) {
    auto panel = net.createUdp();
    ASSERT_TRUE(panel->bind("0.0.0.0", 30600));
    ASSERT_TRUE(panel->asyncSelect(page, WM_DISCOVERY, FD_READ));
    auto matrix = net.openUdpPeer("192.168.1.50", 30600);
    auto other = net.openUdpPeer("192.168.1.52", 30601);
    EXPECT_EQ(panel->sendTo(Bytes{0x61}, "255.255.255.255", 30600), -1); // needs SO_BROADCAST
    panel->setBroadcast(true);
    EXPECT_EQ(panel->sendTo(Bytes{0x61}, "255.255.255.255", 30600), 1);
    loop.settle();
    ASSERT_EQ(matrix->received().size(), 1u);
    EXPECT_EQ(matrix->received()[0].fromIp, net.hostIp());
    EXPECT_TRUE(other->received().empty());
    matrix->sendTo(Bytes(60, 0xAB), net.hostIp(), 30600);
    loop.settle();
    EXPECT_EQ(page.received.size(), 1u); // the echo's FD_READ stands for both datagrams
    EXPECT_EQ(panel->recv(buf), 1);
    EXPECT_EQ(panel->recv(buf), 13); // one datagram per read, cut to the buffer
    EXPECT_EQ(panel->recv(buf), -1);
    loop.settle();
    EXPECT_EQ(page.received.size(), 2u);
}

} // namespace

TEST_F(VirtualNet, AFloodOfDatagramsKeepsOnlyWhatTheInboxHoldsInArrivalOrder) {
    auto s = net.createUdp();
    ASSERT_TRUE(s->bind("0.0.0.0", 30600));
    auto flooder = net.openUdpPeer("192.168.1.66", 5000);
    const std::size_t floodCount = DatagramInbox::kMaxDatagrams + 36;
    for (std::size_t i = 0; i < floodCount; ++i) {
        flooder->sendTo(Bytes{static_cast<std::uint8_t>(i)}, "192.168.1.10", 30600);
    }
    loop.settle();
    std::array<std::uint8_t, 1024> in{};
    Bytes firsts;
    for (int n; (n = s->recv(in)) > 0;) {
        firsts.push_back(in[0]);
    }
    ASSERT_EQ(firsts.size(), DatagramInbox::kMaxDatagrams);
    EXPECT_EQ(firsts.front(), 0);
    EXPECT_EQ(firsts.back(), DatagramInbox::kMaxDatagrams - 1);

    // Big datagrams count by their bytes too; once read, the room is there again.
    const Bytes big(DatagramInbox::kMaxBytes / 2, 0x55);
    for (int i = 0; i < 3; ++i) {
        flooder->sendTo(big, "192.168.1.10", 30600);
    }
    loop.settle();
    EXPECT_GT(s->recv(in), 0);
    EXPECT_GT(s->recv(in), 0);
    EXPECT_EQ(s->recv(in), -1);
    flooder->sendTo(Bytes{0x61}, "192.168.1.10", 30600);
    loop.settle();
    EXPECT_EQ(s->recv(in), 1);
}
