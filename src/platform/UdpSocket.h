#pragma once
// A datagram socket with notifications to a window (FD_READ while datagrams wait).
#include "Messages.h"

#include <cstdint>
#include <span>
#include <string>

namespace zentrel {

class Window;

class UdpSocket {
public:
    virtual ~UdpSocket() = default;
    virtual WParam handle() const = 0;
    // Binds with address reuse, so the panel and a simulated matrix can share one host.
    virtual bool bind(const std::string& ipv4, std::uint16_t port) = 0;
    virtual bool setBroadcast(bool on) = 0;
    virtual bool asyncSelect(Window& w, unsigned msg, int events) = 0;
    virtual int sendTo(std::span<const std::uint8_t> data, const std::string& ipv4,
                       std::uint16_t port) = 0;
    // Reads the next datagram (cut to data.size()); -1 when none is waiting.
    virtual int recv(std::span<std::uint8_t> data) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};

} // namespace zentrel
