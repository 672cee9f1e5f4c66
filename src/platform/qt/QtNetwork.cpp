#include "QtNetwork.h"

#include "QtTcpSocket.h"
#include "QtUdpSocket.h"

namespace zentrel {

std::unique_ptr<TcpSocket> QtNetwork::createTcp() {
    auto socket = std::make_unique<QtTcpSocket>(loop_, nextHandle_++);
    return socket->isOpen() ? std::move(socket) : nullptr;
}

std::unique_ptr<UdpSocket> QtNetwork::createUdp() {
    auto socket = std::make_unique<QtUdpSocket>(loop_, nextHandle_++);
    return socket->isOpen() ? std::move(socket) : nullptr;
}

} // namespace zentrel
