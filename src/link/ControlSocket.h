#pragma once
// The one TCP control connection to the matrix (port 8000). Whichever page is about to use it
// re-creates it with the notifications directed to that page's window, so replies reach the page
// that is shown. TcpConnected in the shared state follows its connect and close notifications.
#include "platform/Network.h"
#include "state/SharedState.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace zentrel {

class ControlSocket {
public:
    static constexpr std::uint16_t kPort = 8000;
    static constexpr std::size_t kReadSize = 1024; // one read of a notification

    // `port` is 8000 for the matrix; tests against a real listener pass the port it got.
    ControlSocket(Network& network, SharedState& state, std::uint16_t port = kPort);

    // Start-up: makes the first socket. False when the system gives none (the program then ends).
    bool create();

    // Closes the current socket, makes a new one whose notifications go to `page` as `msg`,
    // connects to MatrixIp:8000 without waiting, and clears TcpConnected.
    void connectFor(Window& page, unsigned msg);
    // Clears TcpConnected and closes the socket.
    void disconnect();

    // One send of a whole frame; the result is not examined by callers.
    int send(std::span<const std::uint8_t> bytes);
    // Reads up to bytes.size(); -1 when nothing is there or no socket is open.
    int recv(std::span<std::uint8_t> bytes);

    // A page's notification handler passes FD_CONNECT and FD_CLOSE here (lParam as received).
    // Returns the event so the caller can go on with FD_READ.
    int handleNotification(LParam lp);
    // The same, for a notification as a page receives it. A notification from a socket that has
    // been closed or replaced since it was posted returns 0 and changes nothing: a connect
    // completion left in the queue of a page that lost the link must not mark the new one
    // connected, and a stale FD_READ must not read the new page's data.
    int handleNotification(WParam wp, LParam lp);
    // A page's whole FD_READ handling up to its reply buffer: the notification is handled as
    // above and, when it is a read of the current socket, one read of at most 1024 bytes (the
    // size of a page's reply buffer) is made. Empty when there is nothing to take.
    std::vector<std::uint8_t> readNotified(WParam wp, LParam lp);
    // Whether wp names the current, open socket.
    bool isCurrent(WParam wp) const;

    // Whether a connect is still under way: neither completed nor failed yet.
    bool connecting() const { return connecting_; }
    TcpSocket* socket() const { return socket_.get(); }

private:
    Network& network_;
    SharedState& state_;
    std::uint16_t port_;
    std::unique_ptr<TcpSocket> socket_;
    bool connecting_ = false;
};

} // namespace zentrel
