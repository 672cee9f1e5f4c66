#pragma once
// Finding matrices on the local network for the General page: Search broadcasts a one-byte probe
// to port 30600, and every answer that bears the record's signature adds the matrix's address to
// the page's IP list (control 1016). The first matrix found stays the target (MatrixIp,
// SelectedMac); each one found is announced to the main window with WM_APP_RESULT, wParam 2.
#include "BroadcastSocket.h"
#include "DiscoveryBuffer.h"
#include "platform/Network.h"
#include "state/SharedState.h"

#include <cstdint>
#include <functional>
#include <string>

namespace zentrel {

class Window;

class Discovery {
public:
    static constexpr std::uint16_t kPort = 30600;
    static constexpr int kIpList = 1016;
    static constexpr std::uint8_t kProbe = 0x61;
    static constexpr std::size_t kReadSize = 1024;
    static constexpr WParam kMatrixFound = 2; // wParam of WM_APP_RESULT
    // What the page shows, and for how long, when the socket cannot be bound.
    static constexpr const char* kSearchFailedText = "Search failed";
    static constexpr int kSearchFailedMs = 1500;

    enum class Start {
        Started,      // the probe is out; answers arrive as WM_DISCOVERY
        BindFailed,   // no socket, or port 30600 busy: the page shows kSearchFailedText
        SelectFailed, // notifications could not be registered: the search ends silently
    };

    // The receive log gets each logged piece of text as it is written ("A5 ", "\r\n").
    using LogSink = std::function<void(const std::string&)>;

    // `page` receives the socket's notifications as WM_DISCOVERY and holds the IP list.
    Discovery(Network& network, SharedState& state, Window& page, LogSink log = {});

    // Starts one search. The caller drops its TCP link first and shows itself disconnected.
    Start search();

    // The page's WM_DISCOVERY handler. Returns 0.
    LParam handleNotification(WParam wp, LParam lp);

    // The user confirmed entry `index` of the IP list: it becomes the target. The caller drops
    // its TCP link itself.
    void select(int index);

    // The socket object the configuration dialog reopens on its own port.
    BroadcastSocket& broadcastSocket() { return socket_; }
    const DiscoveryBuffer& buffer() const { return buffer_; }

private:
    void receive(std::span<const std::uint8_t> bytes);
    void found(const DiscoveryBuffer::Answer& answer);

    SharedState& state_;
    Window& page_;
    LogSink log_;
    BroadcastSocket socket_;
    WParam searchHandle_ = 0; // the socket this search opened; 0 before the first
    DiscoveryBuffer buffer_;
};

} // namespace zentrel
