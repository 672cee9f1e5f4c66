#pragma once
// The panel's datagram socket: a non-blocking system socket watched by Qt's event loop. Binds
// share the address, so the panel and a simulated matrix can both listen on one host;
// broadcasts need setBroadcast(true) first, as on the platform the behaviour was written for.
#include "QtDescriptorWatch.h"
#include "platform/DatagramInbox.h"
#include "platform/EventLoop.h"
#include "platform/UdpSocket.h"

#include <memory>

namespace zentrel {

class QtUdpSocket : public UdpSocket {
public:
    QtUdpSocket(EventLoop& loop, WParam handle);
    ~QtUdpSocket() override;

    WParam handle() const override { return inbox_.handle(); }
    bool bind(const std::string& ipv4, std::uint16_t port) override;
    bool setBroadcast(bool on) override;
    bool asyncSelect(Window& w, unsigned msg, int events) override;
    int sendTo(std::span<const std::uint8_t> data, const std::string& ipv4,
               std::uint16_t port) override;
    int recv(std::span<std::uint8_t> data) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }

    // The port bound to (a free one after a bind to port 0), 0 before a bind.
    std::uint16_t localPort() const;

private:
    void drain();

    DatagramInbox inbox_;
    int fd_ = -1; // -1 once closed, or when the system had no socket to give
    std::unique_ptr<QtDescriptorWatch> readable_;
    bool bound_ = false;
};

} // namespace zentrel
