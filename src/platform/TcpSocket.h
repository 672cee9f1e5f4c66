#pragma once
// A stream socket with notifications to a window, as the behaviour expects of its socket layer:
// connect returns at once and its outcome arrives as FD_CONNECT; readable data as FD_READ
// (re-announced after each recv while data remains); the peer's close as FD_CLOSE.
#include "Messages.h"

#include <cstdint>
#include <span>
#include <string>

namespace zentrel {

class Window;

class TcpSocket {
public:
    virtual ~TcpSocket() = default;
    // The value notifications carry as wParam.
    virtual WParam handle() const = 0;
    // Directs the notifications of `events` to `w` as `msg`; makes the socket non-blocking.
    virtual void asyncSelect(Window& w, unsigned msg, int events) = 0;
    // Starts a connect to a dotted IPv4 address; the result is not reported here.
    virtual void connect(const std::string& ipv4, std::uint16_t port) = 0;
    // Returns the bytes taken, or -1.
    virtual int send(std::span<const std::uint8_t> data) = 0;
    // Returns the bytes read (at most data.size()), 0 after an orderly close, -1 when none.
    virtual int recv(std::span<std::uint8_t> data) = 0;
    // Closes the socket; no notification follows. Closing twice does nothing.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};

} // namespace zentrel
