// Round trips over loopback TCP: a thread with a listening socket answers every 13-byte frame
// with 13 bytes. The panel's ControlSocket (Qt socket, notifications posted to the page's
// window, one recv per FD_READ) runs beside a plain blocking send/recv loop.
#include "LinkBench.h"

#include "WakeEvent.h"
#include "link/ControlSocket.h"
#include "platform/Window.h"
#include "platform/qt/QtNetwork.h"
#include "state/SharedState.h"

#include <array>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zentrel::bench {

namespace {

// Accepts one connection at a time on 127.0.0.1 and echoes each whole frame.
class TcpEcho {
public:
    TcpEcho() {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&a), len) != 0 ||
            listen(listener_, 4) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
            return;
        }
        port_ = ntohs(a.sin_port);
        thread_ = std::jthread([this](std::stop_token stop) { serve(stop); });
    }
    ~TcpEcho() {
        thread_.request_stop();
        stopWake_.signal();
        if (thread_.joinable()) {
            thread_.join();
        }
        if (listener_ >= 0) {
            close(listener_);
        }
    }
    std::uint16_t port() const { return port_; }

private:
    // Waits for fd or the stop; false on stop.
    bool waitFor(int fd, const std::stop_token& stop) const {
        pollfd p[2] = {{fd, POLLIN, 0}, {stopWake_.fd(), POLLIN, 0}};
        while (!stop.stop_requested()) {
            if (poll(p, 2, -1) > 0 && (p[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
                return true;
            }
        }
        return false;
    }

    void serve(const std::stop_token& stop) {
        while (waitFor(listener_, stop)) {
            const int peer = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (peer < 0) {
                continue;
            }
            const int one = 1;
            setsockopt(peer, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            std::array<std::uint8_t, kFrameSize> frame{};
            std::size_t have = 0;
            while (waitFor(peer, stop)) {
                const ssize_t n = read(peer, frame.data() + have, kFrameSize - have);
                if (n <= 0) {
                    break;
                }
                have += static_cast<std::size_t>(n);
                if (have == kFrameSize) {
                    [[maybe_unused]] ssize_t w = write(peer, frame.data(), kFrameSize);
                    have = 0;
                }
            }
            close(peer);
        }
    }

    int listener_ = -1;
    std::uint16_t port_ = 0;
    WakeEvent stopWake_;
    std::jthread thread_;
};

// Takes the control socket's notifications as a page does: FD_CONNECT and FD_CLOSE through the
// socket, one recv of up to 1024 bytes per FD_READ.
class Page : public Window {
public:
    Page(EventLoop& loop, ControlSocket& socket) : Window(loop), socket_(socket) {}
    LParam onMessage(unsigned msg, WParam wp, LParam lp) override {
        if (msg == WM_TCP_GENERAL && socket_.handleNotification(wp, lp) == FD_READ) {
            std::array<std::uint8_t, 1024> buffer{};
            const int n = socket_.recv(buffer);
            received += n > 0 ? static_cast<std::size_t>(n) : 0;
        }
        return 0;
    }
    std::size_t received = 0;

private:
    ControlSocket& socket_;
};

void controlSocketRoundTrip(benchmark::State& state) {
    TcpEcho echo;
    SharedState shared;
    shared.MatrixIp = "127.0.0.1";
    QtNetwork network(uiLoop());
    ControlSocket socket(network, shared, echo.port());
    Page page(uiLoop(), socket);
    if (echo.port() == 0 || !socket.create()) {
        state.SkipWithError("no loopback listener");
        return;
    }
    socket.connectFor(page, WM_TCP_GENERAL);
    if (!runUiUntil(state, [&] { return shared.TcpConnected == 1; })) {
        return;
    }
    for (auto _ : state) {
        page.received = 0;
        socket.send(requestFrame());
        if (!runUiUntil(state, [&] { return page.received >= kFrameSize; })) {
            break;
        }
    }
    countFrames(state);
    socket.disconnect();
}

void plainTcpRoundTrip(benchmark::State& state) {
    TcpEcho echo;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(echo.port());
    if (fd < 0 || echo.port() == 0 || connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        state.SkipWithError("no loopback listener");
        if (fd >= 0) {
            close(fd);
        }
        return;
    }
    std::array<std::uint8_t, kFrameSize> reply{};
    for (auto _ : state) {
        if (send(fd, requestFrame().data(), kFrameSize, 0) != static_cast<ssize_t>(kFrameSize)) {
            state.SkipWithError("send failed");
            break;
        }
        std::size_t have = 0;
        while (have < kFrameSize) {
            const ssize_t n = recv(fd, reply.data() + have, kFrameSize - have, 0);
            if (n <= 0) {
                break;
            }
            have += static_cast<std::size_t>(n);
        }
        if (have != kFrameSize) {
            state.SkipWithError("recv failed");
            break;
        }
    }
    countFrames(state);
    close(fd);
}

BENCHMARK(controlSocketRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(plainTcpRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);

const bool registered =
    addPair({"TCP over loopback", "controlSocketRoundTrip", "plainTcpRoundTrip"});

} // namespace

} // namespace zentrel::bench
