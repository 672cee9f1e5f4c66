#pragma once
#include "TcpSocket.h"
#include "UdpSocket.h"

#include <memory>

namespace zentrel {

// Makes sockets. Either may return nullptr when the system has no socket to give.
class Network {
public:
    virtual ~Network() = default;
    virtual std::unique_ptr<TcpSocket> createTcp() = 0;
    virtual std::unique_ptr<UdpSocket> createUdp() = 0;
};

} // namespace zentrel
