#pragma once
// An in-memory network on the virtual clock. The panel's sockets (createTcp/createUdp) behave as
// the platform's asynchronous sockets do: connects complete later as FD_CONNECT, data arrives as
// FD_READ, a peer's close as FD_CLOSE, all as messages posted to the window given to
// asyncSelect. Far ends (a simulated matrix, a test) listen for TCP connections and open UDP
// peers with callbacks. Every UDP socket sits on one segment, so a datagram to
// 255.255.255.255:port reaches every socket bound to that port, the sender's own included.
#include "platform/Network.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace zentrel {

class VirtualEventLoop;
class VirtualTcpConnection;
class VirtualUdpPeer;

struct VirtualDatagram {
    std::string fromIp;
    std::uint16_t fromPort = 0;
    std::string toIp;
    std::uint16_t toPort = 0;
    std::vector<std::uint8_t> bytes;
};

class VirtualNetwork : public Network {
public:
    static constexpr const char* kBroadcast = "255.255.255.255";
    static constexpr const char* kAnyAddress = "0.0.0.0";

    using AcceptHandler = std::function<void(std::shared_ptr<VirtualTcpConnection>)>;
    using DatagramHandler = std::function<void(const VirtualDatagram&)>;

    // `hostIp` is the panel's own address: the source of its datagrams and the address its
    // wildcard-bound sockets answer to.
    explicit VirtualNetwork(VirtualEventLoop& loop, std::string hostIp = "192.168.1.10");
    ~VirtualNetwork() override;

    std::unique_ptr<TcpSocket> createTcp() override;
    std::unique_ptr<UdpSocket> createUdp() override;

    VirtualEventLoop& loop() const { return loop_; }
    const std::string& hostIp() const { return hostIp_; }

    // --- far ends ---------------------------------------------------------------------------
    // Accepts connections to ip:port; onAccept gets the far end of each one.
    void listen(const std::string& ip, std::uint16_t port, AcceptHandler onAccept);
    void stopListening(const std::string& ip, std::uint16_t port);
    // A UDP socket of another host on the segment, bound to ip:port.
    std::shared_ptr<VirtualUdpPeer> openUdpPeer(const std::string& ip, std::uint16_t port);

    // --- knobs ------------------------------------------------------------------------------
    // Time from connect to FD_CONNECT.
    void setConnectDelayMs(std::int64_t ms) { connectDelayMs_ = ms; }
    // False: connects stay pending for ever, as towards a host that drops every packet.
    void setConnectsComplete(bool complete) { connectsComplete_ = complete; }
    // One-way time of TCP data, TCP closes and datagrams.
    void setLatencyMs(std::int64_t ms) { latencyMs_ = ms; }
    // Binds of the panel's UDP sockets to this port fail, as when another program holds it.
    void setUdpPortBusy(std::uint16_t port, bool busy = true);
    // The system has no socket to give.
    void setTcpCreateFails(bool fails) { tcpCreateFails_ = fails; }
    void setUdpCreateFails(bool fails) { udpCreateFails_ = fails; }
    // asyncSelect of the panel's UDP sockets reports failure.
    void setUdpSelectFails(bool fails) { udpSelectFails_ = fails; }

    // --- records ----------------------------------------------------------------------------
    // connect calls of the panel's sockets, with their targets.
    int connectsMade() const { return static_cast<int>(connectTargets_.size()); }
    const std::vector<std::pair<std::string, std::uint16_t>>& connectTargets() const {
        return connectTargets_;
    }
    // Every datagram sent on the segment, by the panel or by a peer.
    int datagramsSent() const { return static_cast<int>(datagrams_.size()); }
    const std::vector<VirtualDatagram>& datagrams() const { return datagrams_; }
    // Panel TCP sockets currently open.
    int openTcpSockets() const { return openTcpSockets_; }

    // Whether `text` is four dot-separated decimal numbers 0..255, the only form the panel uses.
    static bool isDottedIpv4(const std::string& text);

    // --- used by the virtual sockets --------------------------------------------------------
    WParam nextHandle() { return nextHandle_++; }
    std::int64_t connectDelayMs() const { return connectDelayMs_; }
    bool connectsComplete() const { return connectsComplete_; }
    std::int64_t latencyMs() const { return latencyMs_; }
    bool udpPortBusy(std::uint16_t port) const { return busyUdpPorts_.count(port) != 0; }
    bool udpSelectFails() const { return udpSelectFails_; }
    void recordConnect(const std::string& ip, std::uint16_t port);
    void tcpSocketOpened() { ++openTcpSockets_; }
    void tcpSocketClosed() { --openTcpSockets_; }
    // The listener's accept handler, or nullptr when nothing listens on ip:port.
    const AcceptHandler* listener(const std::string& ip, std::uint16_t port) const;
    // Registers a UDP binding; `host` is the address of the machine the socket lives on.
    int bindUdp(const std::string& ip, std::uint16_t port, const std::string& host,
                DatagramHandler deliver);
    void unbindUdp(int binding);
    // A port no binding uses, for sockets that send before they bind.
    std::uint16_t ephemeralPort();
    // Records the datagram and delivers it after the latency to every binding it reaches.
    void sendDatagram(VirtualDatagram d);

private:
    struct Binding {
        std::string ip;
        std::uint16_t port;
        std::string host;
        DatagramHandler deliver;
    };
    void deliver(const VirtualDatagram& d);

    VirtualEventLoop& loop_;
    std::string hostIp_;
    std::int64_t connectDelayMs_ = 1;
    bool connectsComplete_ = true;
    std::int64_t latencyMs_ = 0;
    bool tcpCreateFails_ = false;
    bool udpCreateFails_ = false;
    bool udpSelectFails_ = false;
    std::set<std::uint16_t> busyUdpPorts_;
    WParam nextHandle_ = 0x100;
    std::uint16_t nextEphemeral_ = 49152;
    int openTcpSockets_ = 0;
    int nextBinding_ = 1;
    std::map<std::pair<std::string, std::uint16_t>, AcceptHandler> listeners_;
    std::map<int, Binding> bindings_;
    std::vector<std::pair<std::string, std::uint16_t>> connectTargets_;
    std::vector<VirtualDatagram> datagrams_;
    // Cleared on destruction so deliveries still scheduled on the clock do nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace zentrel
