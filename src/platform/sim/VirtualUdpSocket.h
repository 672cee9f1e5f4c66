#pragma once
// The panel's datagram socket on the virtual network. It lives on the panel's host, so a
// wildcard bind answers to the host's address, and a broadcast it sends to its own port comes
// back to it, as on a real network.
#include "platform/DatagramInbox.h"
#include "platform/UdpSocket.h"

namespace zentrel {

class VirtualNetwork;
struct VirtualDatagram;

class VirtualUdpSocket : public UdpSocket {
public:
    explicit VirtualUdpSocket(VirtualNetwork& net);
    ~VirtualUdpSocket() override;

    WParam handle() const override { return inbox_.handle(); }
    bool bind(const std::string& ipv4, std::uint16_t port) override;
    bool setBroadcast(bool on) override;
    bool asyncSelect(Window& w, unsigned msg, int events) override;
    int sendTo(std::span<const std::uint8_t> data, const std::string& ipv4,
               std::uint16_t port) override;
    int recv(std::span<std::uint8_t> data) override;
    void close() override;
    bool isOpen() const override { return open_; }

    bool bound() const { return binding_ != 0; }
    std::uint16_t port() const { return port_; }
    bool broadcastEnabled() const { return broadcast_; }
    // Datagrams arrived and not yet read.
    std::size_t pending() const { return inbox_.size(); }

private:
    void arrive(const VirtualDatagram& d);

    VirtualNetwork& net_;
    DatagramInbox inbox_;
    bool open_ = true;
    bool broadcast_ = false;
    int binding_ = 0;
    std::string ip_;
    std::uint16_t port_ = 0;
};

} // namespace zentrel
