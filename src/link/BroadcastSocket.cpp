#include "BroadcastSocket.h"

namespace zentrel {

UdpSocket* BroadcastSocket::reopen(const std::string& ip, std::uint16_t port) {
    close();
    socket_ = network_.createUdp();
    if (!socket_) {
        return nullptr;
    }
    if (!socket_->bind(ip, port)) {
        close();
        return nullptr;
    }
    return socket_.get();
}

void BroadcastSocket::sendTo(std::span<const std::uint8_t> bytes, const std::string& ip,
                             std::uint16_t port) {
    if (UdpSocket* s = socket()) {
        s->sendTo(bytes, ip, port);
        if (watch_) {
            watch_(TrafficDirection::Sent, bytes);
        }
    }
}

int BroadcastSocket::recv(std::span<std::uint8_t> bytes) {
    UdpSocket* s = socket();
    const int n = s != nullptr ? s->recv(bytes) : -1;
    if (n > 0 && watch_) {
        watch_(TrafficDirection::Received, bytes.first(static_cast<std::size_t>(n)));
    }
    return n;
}

void BroadcastSocket::close() {
    if (socket_) {
        socket_->close();
    }
}

} // namespace zentrel
