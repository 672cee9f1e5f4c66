#pragma once
// A datagram socket of another host on the virtual segment (a simulated matrix, a test). It
// hears datagrams to its address and port and broadcasts to its port, and sends from its address.
#include "VirtualNetwork.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zentrel {

class VirtualUdpPeer {
public:
    // `ip` is the peer host's address; "0.0.0.0" puts the peer on the panel's own host.
    VirtualUdpPeer(VirtualNetwork& net, std::string ip, std::uint16_t port);
    ~VirtualUdpPeer();
    VirtualUdpPeer(const VirtualUdpPeer&) = delete;
    VirtualUdpPeer& operator=(const VirtualUdpPeer&) = delete;

    const std::string& ip() const { return ip_; }
    std::uint16_t port() const { return port_; }

    void onDatagram(VirtualNetwork::DatagramHandler fn) { onDatagram_ = std::move(fn); }
    int sendTo(std::span<const std::uint8_t> bytes, const std::string& ip, std::uint16_t port);
    void close();
    bool isOpen() const { return binding_ != 0; }
    // Everything that reached this peer, in order.
    const std::vector<VirtualDatagram>& received() const { return received_; }

private:
    VirtualNetwork& net_;
    std::string ip_;
    std::uint16_t port_;
    int binding_ = 0;
    VirtualNetwork::DatagramHandler onDatagram_;
    std::vector<VirtualDatagram> received_;
};

} // namespace zentrel
