#include "link/ControlSocket.h"
#include "NetTestWindow.h"
#include "platform/sim/VirtualEventLoop.h"
#include "platform/sim/VirtualNetwork.h"
#include "platform/sim/VirtualTcpConnection.h"

#include <gtest/gtest.h>

#include <array>

using namespace zentrel;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ControlSocketOnVirtualNet : ::testing::Test {
    VirtualEventLoop loop;
    VirtualNetwork net{loop};
    SharedState state;
    ControlSocket cs{net, state};
    test::NetTestWindow general{loop};
    test::NetTestWindow matrix{loop};
    std::vector<std::shared_ptr<VirtualTcpConnection>> accepted;
    Bytes generalData, matrixData;

    void SetUp() override {
        state.MatrixIp = "192.168.1.50";
        net.listen("192.168.1.50", 8000, [this](auto c) { accepted.push_back(std::move(c)); });
        general.handler = readerFor(generalData);
        matrix.handler = readerFor(matrixData);
    }
    // A page's notification handler: the socket first, then a read on FD_READ.
    std::function<void(unsigned, WParam, LParam)> readerFor(Bytes& sink) {
        return [this, &sink](unsigned, WParam wp, LParam lp) {
            if (cs.handleNotification(wp, lp) == FD_READ) {
                std::array<std::uint8_t, 1024> buf{};
                const int n = cs.recv(buf);
                sink.insert(sink.end(), buf.begin(), buf.begin() + std::max(n, 0));
            }
        };
    }
};

TEST_F(ControlSocketOnVirtualNet, ConnectingLastsUntilTheOutcomeArrives) {
    ASSERT_TRUE(cs.create());
    state.TcpConnected = 1; // left from an earlier link
    net.setConnectDelayMs(250);
    cs.connectFor(general, WM_TCP_GENERAL);
    EXPECT_EQ(state.TcpConnected, 0);
    EXPECT_EQ(net.openTcpSockets(), 1); // the start-up socket was closed
    ASSERT_EQ(net.connectTargets().size(), 1u);
    EXPECT_EQ(net.connectTargets()[0].second, 8000);
    loop.advance(100);
    EXPECT_TRUE(cs.connecting()); // what the General page's patient check looks at
    loop.advance(150);
    EXPECT_FALSE(cs.connecting());
    EXPECT_EQ(state.TcpConnected, 1);
    EXPECT_EQ(general.received[0].msg, WM_TCP_GENERAL);

    EXPECT_FALSE(VirtualNetwork::isDottedIpv4("192.168.1.256")); // as the platform refuses it
    state.MatrixIp = "192.168.1.77"; // nothing listens there
    cs.connectFor(general, WM_TCP_GENERAL);
    loop.advance(250);
    EXPECT_FALSE(cs.connecting());
    EXPECT_EQ(state.TcpConnected, 0);
    EXPECT_EQ(cs.send(Bytes{1}), -1);
}

TEST_F(ControlSocketOnVirtualNet, TabChangeMovesTheLinkAndLosesWhatWasInFlight) {
    net.setLatencyMs(5);
    cs.connectFor(general, WM_TCP_GENERAL);
    loop.advance(1);
    cs.send(Bytes{0xA5, 0x5B, 1, 0x0B});
    loop.advance(5);
    EXPECT_EQ(accepted[0]->received(), (Bytes{0xA5, 0x5B, 1, 0x0B}));
    accepted[0]->send(Bytes{0xA5, 0x5B, 1, 0x0B, 0, 0, 1}); // the reply is on its way...
    cs.connectFor(matrix, WM_TCP_MATRIX);                   // ...when the tab changes
    loop.advance(20);
    EXPECT_TRUE(generalData.empty());
    EXPECT_TRUE(matrixData.empty());
    EXPECT_FALSE(accepted[0]->panelOpen());
    ASSERT_EQ(accepted.size(), 2u);
    EXPECT_EQ(state.TcpConnected, 1);
    accepted[1]->send(Bytes{1, 2, 3});
    accepted[1]->close();
    loop.advance(5);
    EXPECT_EQ(matrixData, (Bytes{1, 2, 3}));
    EXPECT_EQ(state.TcpConnected, 0);
}

TEST_F(ControlSocketOnVirtualNet, NotificationsOfAReplacedOrClosedSocketChangeNothing) {
    general.handler = nullptr; // leave the General page's notice unhandled for now
    cs.connectFor(general, WM_TCP_GENERAL);
    loop.advance(1);
    const test::Received connectDone = general.received.at(0);
    net.setConnectDelayMs(50);
    cs.connectFor(matrix, WM_TCP_MATRIX);
    EXPECT_EQ(cs.handleNotification(connectDone.wp, connectDone.lp), 0);
    EXPECT_EQ(state.TcpConnected, 0);
    EXPECT_TRUE(cs.connecting());
    loop.advance(50);
    EXPECT_EQ(state.TcpConnected, 1);
    cs.disconnect();
    const test::Received matrixDone = matrix.received.at(0);
    EXPECT_EQ(cs.handleNotification(matrixDone.wp, matrixDone.lp), 0);
    EXPECT_EQ(state.TcpConnected, 0);
}

} // namespace
