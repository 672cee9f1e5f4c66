#pragma once
// The panel's stream socket on Qt, with the notifications the behaviour expects of its socket
// layer: FD_CONNECT (with the outcome), FD_READ (re-announced after a recv while data remains),
// FD_CLOSE when the peer goes; each posted through the event loop to the selected window.
#include "platform/EventLoop.h"
#include "platform/SocketNotifier.h"
#include "platform/TcpSocket.h"

#include <QAbstractSocket>

#include <cstdint>
#include <memory>

class QObject;
class QTcpSocket;

namespace zentrel {

class QtTcpSocket : public TcpSocket {
public:
    // What the socket takes in ahead of the reader, at most: a peer that streams faster than
    // the panel reads is held back by TCP's own flow control instead of filling memory.
    static constexpr std::int64_t kReadBufferBytes = 64 * 1024;
    // What the socket holds back for a peer that does not read, at most: beyond it a send is
    // refused whole, as a full non-blocking socket would, so a frame never goes out in part.
    static constexpr std::int64_t kWriteBufferBytes = 64 * 1024;

    QtTcpSocket(EventLoop& loop, WParam handle);
    ~QtTcpSocket() override;

    WParam handle() const override { return notifier_.handle(); }
    void asyncSelect(Window& w, unsigned msg, int events) override;
    void connect(const std::string& ipv4, std::uint16_t port) override;
    int send(std::span<const std::uint8_t> data) override;
    int recv(std::span<std::uint8_t> data) override;
    void close() override;
    bool isOpen() const override { return open_; }

    // Bytes received and not yet read, and bytes sent that the system has not taken yet; for
    // tests.
    std::int64_t buffered() const;
    std::int64_t unsent() const;

    // The error code the platform reports for a socket error of Qt.
    static int wsaError(QAbstractSocket::SocketError e);

private:
    enum class State { Idle, Connecting, Connected, Failed, PeerClosed };

    void onConnected();
    void onError(QAbstractSocket::SocketError e);
    void onReadyRead();
    void onPeerGone(int error);

    SocketNotifier notifier_;
    QTcpSocket* socket_;
    // Receiver of every connection to the socket's signals: deleting it silences the socket.
    std::unique_ptr<QObject> context_;
    bool open_ = true;
    State state_ = State::Idle;
    int deferredCloseError_ = -1; // FD_CLOSE waits for the unread data; -1 when none waits
};

} // namespace zentrel
