#pragma once
// The one UDP socket object that discovery (port 30600) and the network configuration (port
// 30601) take turns on. Whoever starts closes it and opens it again on its own port, so only one
// use is live at a time, and a notification still queued for the other use can be told apart by
// its handle. What either use sends and reads goes through here, so the traffic log hears both.
#include "LinkWatch.h"
#include "platform/Network.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zentrel {

class BroadcastSocket {
public:
    explicit BroadcastSocket(Network& network) : network_(network) {}

    // Closes whatever is open, then makes a new socket bound to ip:port. Returns it, or nullptr
    // when the system gives no socket or the bind fails (nothing is open then).
    UdpSocket* reopen(const std::string& ip, std::uint16_t port);
    void close();

    // The open socket, or nullptr.
    UdpSocket* socket() const { return socket_ && socket_->isOpen() ? socket_.get() : nullptr; }
    // Whether a notification with this wParam comes from the open socket.
    bool isCurrent(WParam wp) const { return socket() != nullptr && socket_->handle() == wp; }

    void setWatch(LinkWatch watch) { watch_ = std::move(watch); }
    // One datagram out on the open socket; nothing happens when none is open.
    void sendTo(std::span<const std::uint8_t> bytes, const std::string& ip, std::uint16_t port);
    // One datagram read from the open socket into `bytes`: its length, or <= 0 for none.
    int recv(std::span<std::uint8_t> bytes);

private:
    Network& network_;
    std::unique_ptr<UdpSocket> socket_;
    LinkWatch watch_;
};

} // namespace zentrel
