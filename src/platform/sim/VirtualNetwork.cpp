#include "VirtualNetwork.h"

#include "VirtualEventLoop.h"
#include "VirtualTcpSocket.h"
#include "VirtualUdpPeer.h"
#include "VirtualUdpSocket.h"

namespace zentrel {

VirtualNetwork::VirtualNetwork(VirtualEventLoop& loop, std::string hostIp)
    : loop_(loop), hostIp_(std::move(hostIp)) {}

VirtualNetwork::~VirtualNetwork() {
    *alive_ = false;
}

std::unique_ptr<TcpSocket> VirtualNetwork::createTcp() {
    if (tcpCreateFails_) {
        return nullptr;
    }
    return std::make_unique<VirtualTcpSocket>(*this);
}

std::unique_ptr<UdpSocket> VirtualNetwork::createUdp() {
    if (udpCreateFails_) {
        return nullptr;
    }
    return std::make_unique<VirtualUdpSocket>(*this);
}

void VirtualNetwork::listen(const std::string& ip, std::uint16_t port, AcceptHandler onAccept) {
    listeners_[{ip, port}] = std::move(onAccept);
}

void VirtualNetwork::stopListening(const std::string& ip, std::uint16_t port) {
    listeners_.erase({ip, port});
}

std::shared_ptr<VirtualUdpPeer> VirtualNetwork::openUdpPeer(const std::string& ip,
                                                            std::uint16_t port) {
    return std::make_shared<VirtualUdpPeer>(*this, ip, port);
}

void VirtualNetwork::setUdpPortBusy(std::uint16_t port, bool busy) {
    if (busy) {
        busyUdpPorts_.insert(port);
    } else {
        busyUdpPorts_.erase(port);
    }
}

void VirtualNetwork::recordConnect(const std::string& ip, std::uint16_t port) {
    connectTargets_.emplace_back(ip, port);
}

const VirtualNetwork::AcceptHandler* VirtualNetwork::listener(const std::string& ip,
                                                              std::uint16_t port) const {
    auto it = listeners_.find({ip, port});
    if (it == listeners_.end()) {
        it = listeners_.find({kAnyAddress, port});
    }
    return it == listeners_.end() ? nullptr : &it->second;
}

int VirtualNetwork::bindUdp(const std::string& ip, std::uint16_t port, const std::string& host,
                            DatagramHandler deliver) {
    const int id = nextBinding_++;
    bindings_[id] = Binding{ip, port, host, std::move(deliver)};
    return id;
}

void VirtualNetwork::unbindUdp(int binding) {
    bindings_.erase(binding);
}

std::uint16_t VirtualNetwork::ephemeralPort() {
    for (;;) {
        const std::uint16_t port = nextEphemeral_;
        nextEphemeral_ = nextEphemeral_ == 65535 ? 49152 : static_cast<std::uint16_t>(port + 1);
        bool used = false;
        for (const auto& [id, b] : bindings_) {
            used = used || b.port == port;
        }
        if (!used) {
            return port;
        }
    }
}

void VirtualNetwork::sendDatagram(VirtualDatagram d) {
    datagrams_.push_back(d);
    std::weak_ptr<bool> alive = alive_;
    loop_.schedule(latencyMs_, [this, alive, d = std::move(d)] {
        if (auto a = alive.lock(); a && *a) {
            deliver(d);
        }
    });
}

void VirtualNetwork::deliver(const VirtualDatagram& d) {
    // Receivers are chosen first and looked up again one by one: a receiver's handler may close
    // sockets (its own or others') while the datagram is being handed out.
    std::vector<int> targets;
    const bool broadcast = d.toIp == kBroadcast;
    for (const auto& [id, b] : bindings_) {
        if (b.port != d.toPort) {
            continue;
        }
        if (broadcast || b.ip == d.toIp || (b.ip == kAnyAddress && b.host == d.toIp)) {
            targets.push_back(id);
        }
    }
    for (int id : targets) {
        auto it = bindings_.find(id);
        if (it != bindings_.end()) {
            DatagramHandler handler = it->second.deliver;
            handler(d);
        }
    }
}

bool VirtualNetwork::isDottedIpv4(const std::string& text) {
    int parts = 0;
    std::size_t i = 0;
    while (i <= text.size()) {
        std::size_t digits = 0;
        int value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 4) {
            value = value * 10 + (text[i] - '0');
            ++digits;
            ++i;
        }
        if (digits == 0 || digits > 3 || value > 255) {
            return false;
        }
        ++parts;
        if (i == text.size()) {
            break;
        }
        if (text[i] != '.' || parts == 4) {
            return false;
        }
        ++i;
    }
    return parts == 4;
}

} // namespace zentrel
