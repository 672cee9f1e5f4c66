#pragma once
// The panel's stream socket on the virtual network. Notifications are posted to the window given
// to asyncSelect, for the events it asked for, with wParam = handle() and
// lParam = selectLParam(event, error).
#include "VirtualEventLoop.h"
#include "platform/SocketNotifier.h"
#include "platform/TcpSocket.h"

#include <deque>
#include <memory>
#include <optional>

namespace zentrel {

class VirtualNetwork;
class VirtualTcpConnection;

class VirtualTcpSocket : public TcpSocket {
public:
    explicit VirtualTcpSocket(VirtualNetwork& net);
    ~VirtualTcpSocket() override;

    WParam handle() const override { return notifier_.handle(); }
    void asyncSelect(Window& w, unsigned msg, int events) override;
    void connect(const std::string& ipv4, std::uint16_t port) override;
    int send(std::span<const std::uint8_t> data) override;
    int recv(std::span<std::uint8_t> data) override;
    void close() override;
    bool isOpen() const override { return open_; }

    bool connected() const { return state_ == State::Connected; }
    // Bytes arrived and not yet read.
    std::size_t pending() const { return rx_.size(); }

    // --- called by the far end, after the network's latency ----------------------------------
    void arrive(std::span<const std::uint8_t> bytes);
    void peerClosed();

private:
    enum class State { Idle, Connecting, Connected, Refused, PeerClosed };

    void completeConnect(const std::string& ip, std::uint16_t port);

    VirtualNetwork& net_;
    SocketNotifier notifier_;
    bool open_ = true;
    State state_ = State::Idle;
    std::optional<VirtualEventLoop::ActionId> connectAction_;
    std::shared_ptr<VirtualTcpConnection> conn_;
    std::deque<std::uint8_t> rx_;
    // The peer closed while data was still unread: FD_CLOSE follows the last read.
    bool closeDeferred_ = false;
};

} // namespace zentrel
