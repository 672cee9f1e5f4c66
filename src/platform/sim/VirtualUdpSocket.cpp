#include "VirtualUdpSocket.h"

#include "VirtualEventLoop.h"
#include "VirtualNetwork.h"

namespace zentrel {

VirtualUdpSocket::VirtualUdpSocket(VirtualNetwork& net)
    : net_(net), inbox_(net.loop(), net.nextHandle()) {}

VirtualUdpSocket::~VirtualUdpSocket() {
    close();
}

bool VirtualUdpSocket::bind(const std::string& ipv4, std::uint16_t port) {
    if (!open_ || bound() || net_.udpPortBusy(port) || !VirtualNetwork::isDottedIpv4(ipv4)) {
        return false;
    }
    ip_ = ipv4;
    port_ = port == 0 ? net_.ephemeralPort() : port;
    binding_ =
        net_.bindUdp(ip_, port_, net_.hostIp(), [this](const VirtualDatagram& d) { arrive(d); });
    return true;
}

bool VirtualUdpSocket::setBroadcast(bool on) {
    if (!open_) {
        return false;
    }
    broadcast_ = on;
    return true;
}

bool VirtualUdpSocket::asyncSelect(Window& w, unsigned msg, int events) {
    if (!open_ || net_.udpSelectFails()) {
        return false;
    }
    inbox_.select(w, msg, events);
    return true;
}

int VirtualUdpSocket::sendTo(std::span<const std::uint8_t> data, const std::string& ipv4,
                             std::uint16_t port) {
    if (!open_ || !VirtualNetwork::isDottedIpv4(ipv4)) {
        return -1;
    }
    // As on the platform, a broadcast needs SO_BROADCAST.
    if (ipv4 == VirtualNetwork::kBroadcast && !broadcast_) {
        return -1;
    }
    // A socket that sends before binding gets a wildcard address and a free port, so answers
    // can find it.
    if (!bound() && !bind(VirtualNetwork::kAnyAddress, 0)) {
        return -1;
    }
    const std::string from = ip_ == VirtualNetwork::kAnyAddress ? net_.hostIp() : ip_;
    net_.sendDatagram(VirtualDatagram{from, port_, ipv4, port, {data.begin(), data.end()}});
    return static_cast<int>(data.size());
}

int VirtualUdpSocket::recv(std::span<std::uint8_t> data) {
    return open_ ? inbox_.read(data) : -1;
}

void VirtualUdpSocket::close() {
    if (!open_) {
        return;
    }
    open_ = false;
    inbox_.close();
    if (binding_ != 0) {
        net_.unbindUdp(binding_);
        binding_ = 0;
    }
}

void VirtualUdpSocket::arrive(const VirtualDatagram& d) {
    if (!open_) {
        return;
    }
    inbox_.arrive(d.bytes);
}

} // namespace zentrel
