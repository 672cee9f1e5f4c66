#include "QtTcpSocket.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace zentrel {

QtTcpSocket::QtTcpSocket(EventLoop& loop, WParam handle)
    : notifier_(loop, handle), socket_(new QTcpSocket), context_(std::make_unique<QObject>()) {
    socket_->setReadBufferSize(kReadBufferBytes);
    QObject::connect(socket_, &QTcpSocket::connected, context_.get(), [this] { onConnected(); });
    QObject::connect(socket_, &QTcpSocket::errorOccurred, context_.get(),
                     [this](QAbstractSocket::SocketError e) { onError(e); });
    QObject::connect(socket_, &QTcpSocket::readyRead, context_.get(), [this] { onReadyRead(); });
    QObject::connect(socket_, &QTcpSocket::disconnected, context_.get(), [this] { onPeerGone(0); });
}

QtTcpSocket::~QtTcpSocket() {
    close();
}

std::int64_t QtTcpSocket::buffered() const {
    return open_ ? socket_->bytesAvailable() : 0;
}

std::int64_t QtTcpSocket::unsent() const {
    return open_ ? socket_->bytesToWrite() : 0;
}

int QtTcpSocket::wsaError(QAbstractSocket::SocketError e) {
    switch (e) {
    case QAbstractSocket::ConnectionRefusedError:
        return WSAECONNREFUSED;
    case QAbstractSocket::SocketTimeoutError:
        return WSAETIMEDOUT;
    case QAbstractSocket::HostNotFoundError:
        return WSAEHOSTUNREACH;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return WSAEADDRNOTAVAIL;
    case QAbstractSocket::NetworkError:
        return WSAENETUNREACH;
    default:
        return WSAECONNRESET;
    }
}

void QtTcpSocket::asyncSelect(Window& w, unsigned msg, int events) {
    notifier_.select(w, msg, events);
}

void QtTcpSocket::connect(const std::string& ipv4, std::uint16_t port) {
    if (!open_ || state_ != State::Idle) {
        return;
    }
    state_ = State::Connecting;
    QHostAddress address;
    if (!address.setAddress(QString::fromStdString(ipv4)) ||
        address.protocol() != QAbstractSocket::IPv4Protocol) {
        // Reported like every other outcome, so the caller learns that this connect is over.
        state_ = State::Failed;
        notifier_.notify(FD_CONNECT, WSAEADDRNOTAVAIL);
        return;
    }
    socket_->connectToHost(address, port);
}

void QtTcpSocket::onConnected() {
    if (state_ != State::Connecting) {
        return;
    }
    state_ = State::Connected;
    notifier_.notify(FD_CONNECT);
    notifier_.notify(FD_WRITE);
}

void QtTcpSocket::onError(QAbstractSocket::SocketError e) {
    if (state_ == State::Connecting) {
        state_ = State::Failed;
        notifier_.notify(FD_CONNECT, wsaError(e));
    } else if (state_ == State::Connected && e != QAbstractSocket::RemoteHostClosedError) {
        // An orderly close by the peer arrives as `disconnected`; anything else is a reset.
        onPeerGone(wsaError(e));
    }
}

void QtTcpSocket::onReadyRead() {
    if (socket_->bytesAvailable() > 0) {
        notifier_.announceRead();
    }
}

void QtTcpSocket::onPeerGone(int error) {
    if (state_ != State::Connected) {
        return;
    }
    state_ = State::PeerClosed;
    if (socket_->bytesAvailable() > 0) {
        deferredCloseError_ = error;
    } else {
        notifier_.notify(FD_CLOSE, error);
    }
}

int QtTcpSocket::send(std::span<const std::uint8_t> data) {
    if (!open_ || state_ != State::Connected) {
        return -1;
    }
    if (socket_->bytesToWrite() + static_cast<qint64>(data.size()) > kWriteBufferBytes) {
        socket_->flush(); // hands the system what it will take now
        return -1;
    }
    const qint64 n = socket_->write(reinterpret_cast<const char*>(data.data()),
                                    static_cast<qint64>(data.size()));
    socket_->flush(); // out now rather than on the next turn of the loop
    return static_cast<int>(n);
}

int QtTcpSocket::recv(std::span<std::uint8_t> data) {
    if (!open_) {
        return -1;
    }
    // Every recv re-enables FD_READ, as on the platform, even one that finds nothing.
    notifier_.readTaken();
    if (socket_->bytesAvailable() <= 0) {
        return state_ == State::PeerClosed ? 0 : -1;
    }
    const qint64 n =
        socket_->read(reinterpret_cast<char*>(data.data()), static_cast<qint64>(data.size()));
    if (socket_->bytesAvailable() > 0) {
        notifier_.announceRead();
    } else if (deferredCloseError_ >= 0) {
        notifier_.notify(FD_CLOSE, deferredCloseError_);
        deferredCloseError_ = -1;
    }
    return static_cast<int>(n);
}

void QtTcpSocket::close() {
    if (!open_) {
        return;
    }
    open_ = false;
    notifier_.silence();
    context_.reset(); // no notification follows a close
    socket_->abort();
    // Deleted on the next turn of the loop: close may run inside a call that came from the socket.
    socket_->deleteLater();
    socket_ = nullptr;
}

} // namespace zentrel
