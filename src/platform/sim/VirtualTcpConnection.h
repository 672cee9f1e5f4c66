#pragma once
// The far end of one accepted connection on the virtual network: what a simulated matrix or a
// test holds. Bytes and closes travel with the network's latency in both directions; whatever is
// still travelling towards the panel when the panel closes its socket is lost.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace zentrel {

class VirtualNetwork;
class VirtualTcpSocket;

class VirtualTcpConnection : public std::enable_shared_from_this<VirtualTcpConnection> {
public:
    using DataHandler = std::function<void(std::span<const std::uint8_t>)>;
    using CloseHandler = std::function<void()>;

    VirtualTcpConnection(VirtualNetwork& net, VirtualTcpSocket& panel, std::string ip,
                         std::uint16_t port);

    // The address the panel connected to.
    const std::string& ip() const { return ip_; }
    std::uint16_t port() const { return port_; }

    // Called with each piece the panel sends, as it arrives.
    void onData(DataHandler fn) { onData_ = std::move(fn); }
    // Called once when the panel's close arrives.
    void onClose(CloseHandler fn) { onClose_ = std::move(fn); }

    // Sends to the panel; -1 after either side closed.
    int send(std::span<const std::uint8_t> bytes);
    // Closes this end; the panel sees FD_CLOSE.
    void close();
    // Neither side has closed.
    bool isOpen() const { return farOpen_ && panelOpen_; }
    bool panelOpen() const { return panelOpen_; }
    // Everything that arrived from the panel, in order.
    const std::vector<std::uint8_t>& received() const { return received_; }

    // --- called by the panel's socket -------------------------------------------------------
    void fromPanel(std::span<const std::uint8_t> bytes);
    void panelClosed();

private:
    VirtualNetwork& net_;
    VirtualTcpSocket* panel_; // nullptr once the panel's socket has closed
    std::string ip_;
    std::uint16_t port_;
    bool farOpen_ = true;
    bool panelOpen_ = true;
    DataHandler onData_;
    CloseHandler onClose_;
    std::vector<std::uint8_t> received_;
};

} // namespace zentrel
