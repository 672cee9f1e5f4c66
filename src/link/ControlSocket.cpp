#include "ControlSocket.h"

namespace zentrel {

ControlSocket::ControlSocket(Network& network, SharedState& state, std::uint16_t port)
    : network_(network), state_(state), port_(port) {}

bool ControlSocket::create() {
    socket_ = network_.createTcp();
    return socket_ != nullptr;
}

void ControlSocket::connectFor(Window& page, unsigned msg) {
    if (socket_) {
        socket_->close();
    }
    socket_ = network_.createTcp();
    // Without a socket there is nothing to wait for: the page's check sees the failure at once
    // instead of waiting out its patience.
    connecting_ = socket_ != nullptr;
    if (socket_) {
        socket_->asyncSelect(page, msg, kAllSocketEvents);
        socket_->connect(state_.MatrixIp, port_);
    }
    state_.TcpConnected = 0;
}

void ControlSocket::disconnect() {
    state_.TcpConnected = 0;
    connecting_ = false;
    if (socket_) {
        socket_->close();
    }
}

int ControlSocket::send(std::span<const std::uint8_t> bytes) {
    if (!socket_ || !socket_->isOpen()) {
        return -1;
    }
    return socket_->send(bytes);
}

int ControlSocket::recv(std::span<std::uint8_t> bytes) {
    if (!socket_ || !socket_->isOpen()) {
        return -1;
    }
    return socket_->recv(bytes);
}

int ControlSocket::handleNotification(LParam lp) {
    const int event = selectEvent(lp);
    switch (event) {
    case FD_CONNECT:
        connecting_ = false;
        if (selectError(lp) == 0) {
            state_.TcpConnected = 1;
        }
        break;
    case FD_CLOSE:
        connecting_ = false;
        state_.TcpConnected = 0;
        break;
    default:
        break;
    }
    return event;
}

bool ControlSocket::isCurrent(WParam wp) const {
    return socket_ && socket_->isOpen() && socket_->handle() == wp;
}

int ControlSocket::handleNotification(WParam wp, LParam lp) {
    if (!isCurrent(wp)) {
        return 0;
    }
    return handleNotification(lp);
}

std::vector<std::uint8_t> ControlSocket::readNotified(WParam wp, LParam lp) {
    if (handleNotification(wp, lp) != FD_READ) {
        return {};
    }
    std::vector<std::uint8_t> bytes(kReadSize);
    const int n = recv(bytes);
    bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return bytes;
}

} // namespace zentrel
