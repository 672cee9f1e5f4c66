#include "VirtualTcpSocket.h"

#include "VirtualNetwork.h"
#include "VirtualTcpConnection.h"

#include <algorithm>

namespace zentrel {

VirtualTcpSocket::VirtualTcpSocket(VirtualNetwork& net)
    : net_(net), notifier_(net.loop(), net.nextHandle()) {
    net_.tcpSocketOpened();
}

VirtualTcpSocket::~VirtualTcpSocket() {
    close();
}

void VirtualTcpSocket::asyncSelect(Window& w, unsigned msg, int events) {
    notifier_.select(w, msg, events);
}

void VirtualTcpSocket::connect(const std::string& ipv4, std::uint16_t port) {
    if (!open_ || state_ != State::Idle) {
        return;
    }
    net_.recordConnect(ipv4, port);
    state_ = State::Connecting;
    if (!VirtualNetwork::isDottedIpv4(ipv4)) {
        // Reported like every other outcome, so the caller learns that this connect is over.
        connectAction_ = net_.loop().schedule(0, [this] {
            connectAction_.reset();
            state_ = State::Refused;
            notifier_.notify(FD_CONNECT, WSAEADDRNOTAVAIL);
        });
        return;
    }
    if (!net_.connectsComplete()) {
        return;
    }
    connectAction_ = net_.loop().schedule(net_.connectDelayMs(),
                                          [this, ipv4, port] { completeConnect(ipv4, port); });
}

void VirtualTcpSocket::completeConnect(const std::string& ip, std::uint16_t port) {
    connectAction_.reset();
    const VirtualNetwork::AcceptHandler* listener = net_.listener(ip, port);
    if (listener == nullptr) {
        state_ = State::Refused;
        notifier_.notify(FD_CONNECT, WSAECONNREFUSED);
        return;
    }
    state_ = State::Connected;
    conn_ = std::make_shared<VirtualTcpConnection>(net_, *this, ip, port);
    VirtualNetwork::AcceptHandler accept = *listener; // the handler may stop listening
    accept(conn_);
    notifier_.notify(FD_CONNECT);
    notifier_.notify(FD_WRITE);
}

int VirtualTcpSocket::send(std::span<const std::uint8_t> data) {
    if (!open_ || state_ != State::Connected || !conn_) {
        return -1;
    }
    conn_->fromPanel(data);
    return static_cast<int>(data.size());
}

int VirtualTcpSocket::recv(std::span<std::uint8_t> data) {
    if (!open_) {
        return -1;
    }
    // Every recv re-enables FD_READ, as on the platform, even one that finds nothing.
    notifier_.readTaken();
    if (rx_.empty()) {
        return state_ == State::PeerClosed ? 0 : -1;
    }
    const std::size_t n = std::min(data.size(), rx_.size());
    std::copy_n(rx_.begin(), n, data.begin());
    rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(n));
    if (!rx_.empty()) {
        notifier_.announceRead();
    } else if (closeDeferred_) {
        closeDeferred_ = false;
        notifier_.notify(FD_CLOSE);
    }
    return static_cast<int>(n);
}

void VirtualTcpSocket::close() {
    if (!open_) {
        return;
    }
    open_ = false;
    notifier_.silence();
    if (connectAction_) {
        net_.loop().cancel(*connectAction_);
        connectAction_.reset();
    }
    if (conn_) {
        conn_->panelClosed();
        conn_.reset();
    }
    // What had arrived and was not read is gone with the socket.
    rx_.clear();
    net_.tcpSocketClosed();
}

void VirtualTcpSocket::arrive(std::span<const std::uint8_t> bytes) {
    if (!open_ || state_ != State::Connected) {
        return;
    }
    rx_.insert(rx_.end(), bytes.begin(), bytes.end());
    notifier_.announceRead();
}

void VirtualTcpSocket::peerClosed() {
    if (!open_ || state_ != State::Connected) {
        return;
    }
    state_ = State::PeerClosed;
    if (rx_.empty()) {
        notifier_.notify(FD_CLOSE);
    } else {
        closeDeferred_ = true;
    }
}

} // namespace zentrel
