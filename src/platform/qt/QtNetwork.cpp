#include "QtNetwork.h"

#include "QtTcpSocket.h"
#include "QtUdpSocket.h"

namespace zentrel {

std::unique_ptr<TcpSocket> QtNetwork::createTcp() {
    return std::make_unique<QtTcpSocket>(loop_, nextHandle_++);
}

std::unique_ptr<UdpSocket> QtNetwork::createUdp() {
    return std::make_unique<QtUdpSocket>(loop_, nextHandle_++);
}

} // namespace zentrel
