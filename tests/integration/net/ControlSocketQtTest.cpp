// The control socket and the Qt sockets against real loopback sockets. Real time passes here,
// in short bounded waits; nothing leaves 127.0.0.1 and nothing is broadcast.
#include "link/ControlSocket.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtNetwork.h"
#include "platform/qt/QtUdpSocket.h"
#include "unit/net/NetTestWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>

using namespace zentrel;
using test::NetTestWindow;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Runs the Qt loop until `done` holds or `ms` of real time have passed.
bool waitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

class QtLinks : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_net_qt";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) {
            app_ = new QCoreApplication(argc, argv);
        }
    }
    static inline QCoreApplication* app_ = nullptr;

    QtEventLoop loop;
    QtNetwork net{loop};
    SharedState state;
    NetTestWindow page{loop};
};

struct ControlSocketOnLoopback : QtLinks {
    QTcpServer server;
    QTcpSocket* peer = nullptr;
    std::unique_ptr<ControlSocket> cs;
    Bytes received;

    void SetUp() override {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&server, &QTcpServer::newConnection,
                         [this] { peer = server.nextPendingConnection(); });
        state.MatrixIp = "127.0.0.1";
        cs = std::make_unique<ControlSocket>(net, state, server.serverPort());
        page.handler = [this](unsigned, WParam wp, LParam lp) {
            if (cs->handleNotification(wp, lp) == FD_READ) {
                std::array<std::uint8_t, 1024> buf{};
                const int n = cs->recv(buf);
                if (n > 0) {
                    received.insert(received.end(), buf.begin(), buf.begin() + n);
                }
            }
        };
    }
};

TEST_F(ControlSocketOnLoopback, ConnectsCarriesDataBothWaysAndSeesThePeerClose) {
    ASSERT_TRUE(cs->create());
    cs->connectFor(page, WM_TCP_GENERAL);
    EXPECT_TRUE(cs->connecting());
    ASSERT_TRUE(waitFor([&] { return state.TcpConnected == 1 && peer != nullptr; }));
    EXPECT_FALSE(cs->connecting());
    EXPECT_EQ(page.received.front().msg, WM_TCP_GENERAL);
    EXPECT_EQ(page.received.front().wp, cs->socket()->handle());

    const Bytes frame{0xA5, 0x5B, 0x01, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0xF4};
    EXPECT_EQ(cs->send(frame), 13);
    ASSERT_TRUE(waitFor([&] { return peer->bytesAvailable() >= 13; }));
    const QByteArray got = peer->readAll();
    EXPECT_EQ(Bytes(got.begin(), got.end()), frame);

    // More than one read's worth: FD_READ comes again while bytes remain.
    QByteArray reply(2500, '\0');
    for (int i = 0; i < reply.size(); ++i) {
        reply[i] = static_cast<char>(i % 251);
    }
    peer->write(reply);
    peer->flush();
    ASSERT_TRUE(waitFor([&] { return received.size() == 2500; }));
    EXPECT_EQ(received[2499], 2499 % 251);

    peer->disconnectFromHost();
    ASSERT_TRUE(waitFor([&] { return state.TcpConnected == 0; }));
    EXPECT_EQ(page.received.back().event(), FD_CLOSE);
    std::array<std::uint8_t, 4> buf{};
    EXPECT_EQ(cs->recv(buf), 0);
}

TEST_F(ControlSocketOnLoopback, ReconnectingForAnotherPageClosesTheOldConnection) {
    cs->connectFor(page, WM_TCP_GENERAL);
    ASSERT_TRUE(waitFor([&] { return state.TcpConnected == 1 && peer != nullptr; }));
    QTcpSocket* first = peer;
    NetTestWindow other{loop};
    other.handler = [&](unsigned, WParam wp, LParam lp) { cs->handleNotification(wp, lp); };
    cs->connectFor(other, WM_TCP_MATRIX);
    EXPECT_EQ(state.TcpConnected, 0);
    ASSERT_TRUE(waitFor([&] {
        return first->state() == QAbstractSocket::UnconnectedState && state.TcpConnected == 1;
    }));
    EXPECT_NE(peer, first);
    EXPECT_EQ(other.received.front().msg, WM_TCP_MATRIX);
    EXPECT_EQ(other.received.front().event(), FD_CONNECT);
}

TEST_F(ControlSocketOnLoopback, ARefusedConnectIsReportedAndLeavesTheLinkDown) {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 closedPort = probe.serverPort();
    probe.close(); // nothing listens there now
    ControlSocket refused(net, state, closedPort);
    cs.reset();
    page.handler = [&](unsigned, WParam wp, LParam lp) { refused.handleNotification(wp, lp); };
    refused.connectFor(page, WM_TCP_GENERAL);
    ASSERT_TRUE(waitFor([&] { return !refused.connecting(); }));
    EXPECT_EQ(state.TcpConnected, 0);
    ASSERT_EQ(page.received.size(), 1u);
    EXPECT_EQ(page.received[0].event(), FD_CONNECT);
    EXPECT_EQ(page.received[0].error(), WSAECONNREFUSED);

    state.MatrixIp = ""; // no matrix chosen yet
    refused.connectFor(page, WM_TCP_GENERAL);
    ASSERT_TRUE(waitFor([&] { return !refused.connecting(); }));
    EXPECT_EQ(page.received.back().error(), WSAEADDRNOTAVAIL);
}

TEST_F(QtLinks, DatagramsAreReadOneAtATimeWithReadReannounced) {
    auto receiver = net.createUdp();
    ASSERT_TRUE(receiver->bind("127.0.0.1", 0));
    const auto port = static_cast<QtUdpSocket*>(receiver.get())->localPort();
    ASSERT_NE(port, 0);
    ASSERT_TRUE(receiver->asyncSelect(page, WM_DISCOVERY, FD_READ));
    auto sender = net.createUdp(); // sends unbound: gets a port of its own
    EXPECT_EQ(sender->sendTo(Bytes(60, 0x42), "127.0.0.1", port), 60);
    EXPECT_EQ(sender->sendTo(Bytes{1, 2}, "127.0.0.1", port), 2);
    ASSERT_TRUE(waitFor([&] { return !page.received.empty(); }));
    EXPECT_EQ(page.received[0].wp, receiver->handle());
    std::array<std::uint8_t, 50> buf{};
    EXPECT_EQ(receiver->recv(buf), 50); // cut to the buffer
    ASSERT_TRUE(waitFor([&] { return page.received.size() == 2; }));
    EXPECT_EQ(receiver->recv(buf), 2);
    EXPECT_EQ(receiver->recv(buf), -1);
    receiver->close();
    EXPECT_EQ(receiver->recv(buf), -1);
    EXPECT_FALSE(receiver->bind("127.0.0.1", 0));
}

} // namespace
