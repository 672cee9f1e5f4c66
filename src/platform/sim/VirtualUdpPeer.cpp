#include "VirtualUdpPeer.h"

namespace zentrel {

VirtualUdpPeer::VirtualUdpPeer(VirtualNetwork& net, std::string ip, std::uint16_t port)
    : net_(net), ip_(std::move(ip)), port_(port) {
    const std::string host = ip_ == VirtualNetwork::kAnyAddress ? net_.hostIp() : ip_;
    binding_ = net_.bindUdp(ip_, port_, host, [this](const VirtualDatagram& d) {
        received_.push_back(d);
        if (onDatagram_) {
            VirtualNetwork::DatagramHandler fn = onDatagram_;
            fn(d);
        }
    });
}

VirtualUdpPeer::~VirtualUdpPeer() {
    close();
}

int VirtualUdpPeer::sendTo(std::span<const std::uint8_t> bytes, const std::string& ip,
                           std::uint16_t port) {
    if (!isOpen()) {
        return -1;
    }
    const std::string from = ip_ == VirtualNetwork::kAnyAddress ? net_.hostIp() : ip_;
    net_.sendDatagram(VirtualDatagram{from, port_, ip, port, {bytes.begin(), bytes.end()}});
    return static_cast<int>(bytes.size());
}

void VirtualUdpPeer::close() {
    if (binding_ != 0) {
        net_.unbindUdp(binding_);
        binding_ = 0;
    }
}

} // namespace zentrel
