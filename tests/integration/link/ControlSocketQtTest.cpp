// The control socket on the panel's sockets against a real loopback listener. Real time passes
// here, in short bounded waits; nothing leaves 127.0.0.1.
#include "NetTestWindow.h"
#include "link/ControlSocket.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtNetwork.h"
#include "platform/qt/QtTcpSocket.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <array>

using namespace zentrel;

namespace {

using Bytes = std::vector<std::uint8_t>;

int argc = 1;
char name[] = "test_net_qt";
char* argv[] = {name, nullptr};

struct ControlSocketOnLoopback : ::testing::Test {
    static void SetUpTestSuite() { static QCoreApplication app(argc, argv); }

    QtEventLoop loop;
    QtNetwork net{loop};
    SharedState state;
    test::NetTestWindow page{loop};
    QTcpServer server;
    QTcpSocket* peer = nullptr;
    Bytes received;

    // Runs the Qt loop until `done` holds, for at most five seconds.
    static bool waitFor(const std::function<bool()>& done) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return done();
    }
    void handleWith(ControlSocket& cs) {
        page.handler = [this, &cs](unsigned, WParam wp, LParam lp) {
            if (cs.handleNotification(wp, lp) == FD_READ) {
                std::array<std::uint8_t, 1024> buf{};
                const int n = cs.recv(buf);
                received.insert(received.end(), buf.begin(), buf.begin() + std::max(n, 0));
            }
        };
    }
};

TEST_F(ControlSocketOnLoopback, ARefusedConnectIsReportedAndLeavesTheLinkDown) {
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    const quint16 closedPort = server.serverPort();
    server.close(); // nothing listens there now
    state.MatrixIp = "127.0.0.1";
    ControlSocket cs(net, state, closedPort);
    handleWith(cs);
    cs.connectFor(page, WM_TCP_GENERAL);
    ASSERT_TRUE(waitFor([&] { return !cs.connecting(); }));
    EXPECT_EQ(state.TcpConnected, 0);
    ASSERT_EQ(page.received.size(), 1u);
    EXPECT_EQ(page.received[0].error(), WSAECONNREFUSED);

    state.MatrixIp = ""; // no matrix chosen yet
    cs.connectFor(page, WM_TCP_GENERAL);
    ASSERT_TRUE(waitFor([&] { return !cs.connecting(); }));
    EXPECT_EQ(page.received.back().error(), WSAEADDRNOTAVAIL);
}

TEST_F(ControlSocketOnLoopback, APeerThatStreamsIsHeldBackInsteadOfFillingMemory) {
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server, &QTcpServer::newConnection,
                     [this] { peer = server.nextPendingConnection(); });
    state.MatrixIp = "127.0.0.1";
    ControlSocket cs(net, state, server.serverPort());
    ASSERT_TRUE(cs.create());
    page.handler = [&cs](unsigned, WParam wp, LParam lp) { cs.handleNotification(wp, lp); };
    cs.connectFor(page, WM_TCP_GENERAL); // the page reads nothing yet
    ASSERT_TRUE(waitFor([&] { return state.TcpConnected == 1 && peer != nullptr; }));
    auto& socket = dynamic_cast<QtTcpSocket&>(*cs.socket());

    constexpr int kStreamed = 16 * 1024 * 1024; // more than the system buffers of both ends
    QByteArray stream(kStreamed, '\0');
    for (int i = 0; i < stream.size(); ++i) {
        stream[i] = static_cast<char>(i % 251);
    }
    peer->write(stream);
    // The socket takes in what its receive buffer holds (the system counts its own bookkeeping
    // in it, and doubles what it is asked for), and no more however long the loop runs.
    ASSERT_TRUE(waitFor([&] { return socket.buffered() >= QtTcpSocket::kReadBufferBytes / 2; }));
    for (int i = 0; i < 50; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    const std::int64_t held = socket.buffered();
    EXPECT_LE(held, 2 * QtTcpSocket::kReadBufferBytes);
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_EQ(socket.buffered(), held);
    EXPECT_GT(peer->bytesToWrite(), 0) << "the rest waits at the sender";

    // Reading makes room, and every byte comes through in order.
    handleWith(cs);
    std::array<std::uint8_t, 1024> buf{};
    for (int n; (n = cs.recv(buf)) > 0;) {
        received.insert(received.end(), buf.begin(), buf.begin() + n);
    }
    ASSERT_TRUE(waitFor([&] { return received.size() == static_cast<std::size_t>(kStreamed); }))
        << received.size() << " read, " << socket.buffered() << " buffered";
    EXPECT_EQ(Bytes(received.begin(), received.end()), Bytes(stream.begin(), stream.end()));
}

} // namespace

TEST_F(ControlSocketOnLoopback, APeerThatNeverReadsMakesSendsFailInsteadOfFillingMemory) {
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server, &QTcpServer::newConnection, [this] {
        peer = server.nextPendingConnection();
        peer->setReadBufferSize(1); // takes a byte and then nothing more
    });
    state.MatrixIp = "127.0.0.1";
    ControlSocket cs(net, state, server.serverPort());
    ASSERT_TRUE(cs.create());
    handleWith(cs);
    cs.connectFor(page, WM_TCP_GENERAL);
    ASSERT_TRUE(waitFor([&] { return state.TcpConnected == 1 && peer != nullptr; }));
    auto& socket = dynamic_cast<QtTcpSocket&>(*cs.socket());

    // 257-byte blocks until the system buffers of both ends and the socket's own are full.
    const Bytes block(257, 0x5A);
    std::size_t accepted = 0;
    int refused = 0;
    for (int i = 0; i < 65536 && refused < 20; ++i) { // 16 MiB at most
        const int n = cs.send(block);
        if (n < 0) {
            ++refused;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        } else {
            EXPECT_EQ(n, 257);
            accepted += static_cast<std::size_t>(n);
        }
    }
    EXPECT_EQ(refused, 20) << accepted << " bytes taken";
    EXPECT_LE(socket.unsent(), static_cast<std::int64_t>(QtTcpSocket::kWriteBufferBytes));
    EXPECT_GT(socket.unsent(), 0);
}
