#include "VirtualTcpConnection.h"

#include "VirtualEventLoop.h"
#include "VirtualNetwork.h"
#include "VirtualTcpSocket.h"

namespace zentrel {

VirtualTcpConnection::VirtualTcpConnection(VirtualNetwork& net, VirtualTcpSocket& panel,
                                           std::string ip, std::uint16_t port)
    : net_(net), panel_(&panel), ip_(std::move(ip)), port_(port) {}

int VirtualTcpConnection::send(std::span<const std::uint8_t> bytes) {
    if (!isOpen()) {
        return -1;
    }
    // The delivery checks panel_ when it lands: a panel that closed meanwhile never sees it.
    net_.loop().schedule(
        net_.latencyMs(),
        [self = shared_from_this(), data = std::vector<std::uint8_t>(bytes.begin(), bytes.end())] {
            if (self->panel_ != nullptr) {
                self->panel_->arrive(data);
            }
        });
    return static_cast<int>(bytes.size());
}

void VirtualTcpConnection::close() {
    if (!farOpen_) {
        return;
    }
    farOpen_ = false;
    net_.loop().schedule(net_.latencyMs(), [self = shared_from_this()] {
        if (self->panel_ != nullptr) {
            self->panel_->peerClosed();
        }
    });
}

void VirtualTcpConnection::fromPanel(std::span<const std::uint8_t> bytes) {
    net_.loop().schedule(
        net_.latencyMs(),
        [self = shared_from_this(), data = std::vector<std::uint8_t>(bytes.begin(), bytes.end())] {
            if (!self->farOpen_) {
                return;
            }
            self->received_.insert(self->received_.end(), data.begin(), data.end());
            if (self->onData_) {
                self->onData_(data);
            }
        });
}

void VirtualTcpConnection::panelClosed() {
    panel_ = nullptr;
    panelOpen_ = false;
    // Bytes the panel sent before closing still arrive first: a close is orderly.
    net_.loop().schedule(net_.latencyMs(), [self = shared_from_this()] {
        if (self->farOpen_ && self->onClose_) {
            CloseHandler fn = self->onClose_;
            fn();
        }
    });
}

} // namespace zentrel
