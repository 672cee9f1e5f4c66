#include "link/ControlSocket.h"
#include "NetTestWindow.h"
#include "platform/sim/VirtualEventLoop.h"
#include "platform/sim/VirtualNetwork.h"
#include "platform/sim/VirtualTcpConnection.h"

#include <gtest/gtest.h>

#include <array>

using namespace zentrel;
using test::NetTestWindow;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ControlSocketOnVirtualNet : ::testing::Test {
    VirtualEventLoop loop;
    VirtualNetwork net{loop};
    SharedState state;
    ControlSocket cs{net, state};
    NetTestWindow general{loop};
    NetTestWindow matrix{loop};
    std::vector<std::shared_ptr<VirtualTcpConnection>> accepted;
    Bytes generalData, matrixData;

    void SetUp() override {
        state.MatrixIp = "192.168.1.50";
        net.listen("192.168.1.50", 8000, [this](std::shared_ptr<VirtualTcpConnection> c) {
            accepted.push_back(std::move(c));
        });
        // Each page hands its notifications to the socket and reads on FD_READ, as the pages do.
        general.handler = readerFor(generalData);
        matrix.handler = readerFor(matrixData);
    }
    std::function<void(unsigned, WParam, LParam)> readerFor(Bytes& sink) {
        return [this, &sink](unsigned, WParam wp, LParam lp) {
            if (cs.handleNotification(wp, lp) == FD_READ) {
                std::array<std::uint8_t, 1024> buf{};
                const int n = cs.recv(buf);
                if (n > 0) {
                    sink.insert(sink.end(), buf.begin(), buf.begin() + n);
                }
            }
        };
    }
};

TEST_F(ControlSocketOnVirtualNet, ConnectForFollowsTheConnectUntilItCompletes) {
    ASSERT_TRUE(cs.create());
    state.TcpConnected = 1; // left over from an earlier link
    cs.connectFor(general, WM_TCP_GENERAL);
    EXPECT_EQ(state.TcpConnected, 0);
    EXPECT_TRUE(cs.connecting());
    ASSERT_EQ(net.connectTargets().size(), 1u);
    EXPECT_EQ(net.connectTargets()[0],
              (std::pair<std::string, std::uint16_t>{"192.168.1.50", 8000}));
    EXPECT_EQ(net.openTcpSockets(), 1); // the start-up socket was closed
    loop.advance(1);
    EXPECT_EQ(state.TcpConnected, 1);
    EXPECT_FALSE(cs.connecting());
    ASSERT_FALSE(general.received.empty());
    EXPECT_EQ(general.received[0].msg, WM_TCP_GENERAL);
    EXPECT_EQ(general.received[0].wp, cs.socket()->handle());
}

TEST_F(ControlSocketOnVirtualNet, RefusedAndSlowConnects) {
    state.MatrixIp = "192.168.1.77"; // nothing listens there
    cs.connectFor(general, WM_TCP_GENERAL);
    loop.advance(1);
    EXPECT_EQ(state.TcpConnected, 0);
    EXPECT_FALSE(cs.connecting());

    // Late completion: still connecting when the page looks after 100 ms, connected afterwards.
    state.MatrixIp = "192.168.1.50";
    net.setConnectDelayMs(250);
    cs.connectFor(general, WM_TCP_GENERAL);
    loop.advance(100);
    EXPECT_TRUE(cs.connecting());
    EXPECT_EQ(state.TcpConnected, 0);
    loop.advance(150);
    EXPECT_EQ(state.TcpConnected, 1);
    const Bytes frame{0xA5, 0x5B, 1, 0x0B};
    EXPECT_EQ(cs.send(frame), 4);
    loop.settle();
    EXPECT_EQ(accepted.back()->received(), frame);
}

TEST_F(ControlSocketOnVirtualNet, TabChangeMovesTheLinkAndLosesWhatWasInFlight) {
    net.setLatencyMs(5);
    cs.connectFor(general, WM_TCP_GENERAL);
    loop.advance(1);
    ASSERT_EQ(state.TcpConnected, 1);
    cs.send(Bytes{0xA5, 0x5B, 1, 0x0B});
    loop.advance(5);
    accepted[0]->send(Bytes{0xA5, 0x5B, 1, 0x0B, 0, 0, 1}); // the reply is on its way...
    cs.connectFor(matrix, WM_TCP_MATRIX);                   // ...when the tab changes
    EXPECT_EQ(state.TcpConnected, 0);
    EXPECT_EQ(net.openTcpSockets(), 1);
    loop.advance(20);
    EXPECT_TRUE(generalData.empty());
    EXPECT_TRUE(matrixData.empty());
    EXPECT_FALSE(accepted[0]->panelOpen()); // the matrix sees one link closed...
    ASSERT_EQ(accepted.size(), 2u);         // ...and a new one opened
    EXPECT_EQ(state.TcpConnected, 1);
    EXPECT_EQ(matrix.received.front().msg, WM_TCP_MATRIX);

    accepted[1]->send(Bytes{1, 2, 3});
    loop.advance(5);
    EXPECT_EQ(matrixData, (Bytes{1, 2, 3}));
    accepted[1]->close();
    loop.advance(5);
    EXPECT_EQ(state.TcpConnected, 0);
}

TEST_F(ControlSocketOnVirtualNet, StaleNotificationsOfAReplacedOrClosedSocketChangeNothing) {
    general.handler = nullptr; // keep the General page's notifications unhandled for now
    cs.connectFor(general, WM_TCP_GENERAL);
    loop.advance(1);
    ASSERT_FALSE(general.received.empty());
    const test::Received connectDone = general.received.front();
    ASSERT_EQ(connectDone.event(), FD_CONNECT);

    net.setConnectDelayMs(50);
    cs.connectFor(matrix, WM_TCP_MATRIX);
    EXPECT_EQ(cs.handleNotification(connectDone.wp, connectDone.lp), 0);
    EXPECT_EQ(state.TcpConnected, 0);
    EXPECT_TRUE(cs.connecting());
    loop.advance(50);
    EXPECT_EQ(state.TcpConnected, 1);

    cs.disconnect();
    EXPECT_EQ(state.TcpConnected, 0);
    EXPECT_FALSE(cs.connecting());
    const test::Received matrixDone = matrix.received.front();
    EXPECT_EQ(cs.handleNotification(matrixDone.wp, matrixDone.lp), 0);
    EXPECT_EQ(state.TcpConnected, 0);
    EXPECT_FALSE(cs.isCurrent(matrixDone.wp));
}

TEST_F(ControlSocketOnVirtualNet, NoSocketToSendOrReadOn) {
    std::array<std::uint8_t, 4> buf{};
    EXPECT_EQ(cs.send(buf), -1); // before start-up made one
    EXPECT_EQ(cs.recv(buf), -1);
    cs.connectFor(general, WM_TCP_GENERAL);
    loop.advance(1);
    cs.disconnect();
    EXPECT_EQ(cs.send(buf), -1);
    EXPECT_EQ(net.openTcpSockets(), 0);

    net.setTcpCreateFails(true);
    EXPECT_FALSE(cs.create());
    cs.connectFor(general, WM_TCP_GENERAL);
    EXPECT_FALSE(cs.connecting()); // nothing to wait for
    EXPECT_EQ(cs.send(buf), -1);
    cs.disconnect(); // harmless without a socket
}

TEST_F(ControlSocketOnVirtualNet, EventsOtherThanConnectAndCloseLeaveTheFlag) {
    state.TcpConnected = 1;
    EXPECT_EQ(cs.handleNotification(selectLParam(FD_WRITE, 0)), FD_WRITE);
    EXPECT_EQ(cs.handleNotification(selectLParam(FD_READ, 0)), FD_READ);
    EXPECT_EQ(state.TcpConnected, 1);
    EXPECT_EQ(cs.handleNotification(selectLParam(FD_CONNECT, WSAETIMEDOUT)), FD_CONNECT);
    EXPECT_EQ(state.TcpConnected, 1); // a failed connect leaves the flag as it was
    EXPECT_EQ(cs.handleNotification(selectLParam(FD_CLOSE, WSAECONNRESET)), FD_CLOSE);
    EXPECT_EQ(state.TcpConnected, 0);
}

} // namespace
