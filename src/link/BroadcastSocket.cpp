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

void BroadcastSocket::close() {
    if (socket_) {
        socket_->close();
    }
}

} // namespace zentrel
