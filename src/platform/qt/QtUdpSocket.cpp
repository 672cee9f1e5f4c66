#include "QtUdpSocket.h"

#include <QHostAddress>
#include <QUdpSocket>

#include <sys/socket.h>

#include <vector>

namespace zentrel {

namespace {
constexpr std::size_t kMaxDatagram = 65536;

bool toIpv4(const std::string& text, QHostAddress& out) {
    return out.setAddress(QString::fromStdString(text)) &&
           out.protocol() == QAbstractSocket::IPv4Protocol;
}
} // namespace

QtUdpSocket::QtUdpSocket(EventLoop& loop, WParam handle)
    : inbox_(loop, handle), socket_(new QUdpSocket), context_(std::make_unique<QObject>()) {
    QObject::connect(socket_, &QUdpSocket::readyRead, context_.get(), [this] { onReadyRead(); });
}

QtUdpSocket::~QtUdpSocket() {
    close();
}

bool QtUdpSocket::bind(const std::string& ipv4, std::uint16_t port) {
    QHostAddress address;
    if (!open_ || bound_ || !toIpv4(ipv4, address)) {
        return false;
    }
    if (!socket_->bind(address, port,
                       QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
        return false;
    }
    bound_ = true;
    return applyBroadcast();
}

bool QtUdpSocket::setBroadcast(bool on) {
    if (!open_) {
        return false;
    }
    broadcast_ = on;
    return !bound_ || applyBroadcast();
}

bool QtUdpSocket::applyBroadcast() {
    // Qt switches SO_BROADCAST on for every datagram socket; the behaviour expects it off until
    // asked for, so a missing setBroadcast fails here as it would on the platform.
    const int on = broadcast_ ? 1 : 0;
    const auto fd = static_cast<int>(socket_->socketDescriptor());
    return fd >= 0 && ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0;
}

bool QtUdpSocket::asyncSelect(Window& w, unsigned msg, int events) {
    if (!open_) {
        return false;
    }
    inbox_.select(w, msg, events);
    return true;
}

int QtUdpSocket::sendTo(std::span<const std::uint8_t> data, const std::string& ipv4,
                        std::uint16_t port) {
    QHostAddress address;
    if (!open_ || !toIpv4(ipv4, address)) {
        return -1;
    }
    // Bound here rather than by Qt's implicit bind, so the broadcast setting applies.
    if (!bound_ && !bind("0.0.0.0", 0)) {
        return -1;
    }
    const qint64 n = socket_->writeDatagram(reinterpret_cast<const char*>(data.data()),
                                            static_cast<qint64>(data.size()), address, port);
    return static_cast<int>(n);
}

int QtUdpSocket::recv(std::span<std::uint8_t> data) {
    return open_ ? inbox_.read(data) : -1;
}

std::uint16_t QtUdpSocket::localPort() const {
    return open_ && bound_ ? socket_->localPort() : 0;
}

void QtUdpSocket::close() {
    if (!open_) {
        return;
    }
    open_ = false;
    inbox_.close();
    context_.reset();
    socket_->abort();
    socket_->deleteLater();
    socket_ = nullptr;
}

void QtUdpSocket::onReadyRead() {
    drain();
}

void QtUdpSocket::drain() {
    // Qt reports an unbuffered socket once and then stays silent until a read; a report that
    // finds nothing (the loop may deliver one after the data was already taken) would leave it
    // silent for good. So every report is answered with reads until one comes back empty, which
    // re-arms Qt's notification whatever happened in between. The bound keeps a flood from
    // holding the loop; Qt reports again for what is left.
    for (int i = 0; i < 256; ++i) {
        const qint64 size = socket_->hasPendingDatagrams() ? socket_->pendingDatagramSize() : -1;
        std::vector<std::uint8_t> d(size > 0 ? static_cast<std::size_t>(size) : kMaxDatagram);
        const qint64 n =
            socket_->readDatagram(reinterpret_cast<char*>(d.data()), static_cast<qint64>(d.size()));
        if (n < 0) {
            return;
        }
        d.resize(static_cast<std::size_t>(n));
        inbox_.arrive(std::move(d));
    }
}

} // namespace zentrel
