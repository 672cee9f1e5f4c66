#pragma once
// The panel's stream socket: a non-blocking system socket watched by Qt's event loop, with the
// notifications the behaviour expects of its socket layer: FD_CONNECT (with the outcome),
// FD_READ (re-announced after a recv while data remains), FD_CLOSE when the peer goes; each
// posted through the event loop to the selected window. Plain system sockets rather than Qt's
// network module, so the panel does not load that module and the libraries it brings at start.
#include "QtDescriptorWatch.h"
#include "platform/EventLoop.h"
#include "platform/SocketNotifier.h"
#include "platform/TcpSocket.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zentrel {

class QtTcpSocket : public TcpSocket {
public:
    // What the system takes in ahead of the reader, at most (its receive buffer): a peer that
    // streams faster than the panel reads is held back by TCP's own flow control.
    static constexpr int kReadBufferBytes = 64 * 1024;
    // What the socket holds back for a peer that does not read, beyond what the system took: a
    // send that does not fit is refused whole, so a frame never goes out in part.
    static constexpr std::size_t kWriteBufferBytes = 64 * 1024;

    QtTcpSocket(EventLoop& loop, WParam handle);
    ~QtTcpSocket() override;

    WParam handle() const override { return notifier_.handle(); }
    void asyncSelect(Window& w, unsigned msg, int events) override;
    void connect(const std::string& ipv4, std::uint16_t port) override;
    int send(std::span<const std::uint8_t> data) override;
    int recv(std::span<std::uint8_t> data) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }

    // Bytes received and not yet read, and bytes sent that the system has not taken yet; for
    // tests.
    std::int64_t buffered() const;
    std::int64_t unsent() const { return static_cast<std::int64_t>(unsent_.size()); }

private:
    enum class State { Idle, Connecting, Connected, Failed, PeerClosed };

    void onReadable();
    void onWritable();
    void connectDone();
    void flushUnsent();
    void peerGone(int error);
    void watchRead(bool on);
    void watchWrite(bool on);

    SocketNotifier notifier_;
    int fd_ = -1; // -1 once closed, or when the system had no socket to give
    // Their notifiers outlive them until the next turn of the loop: close may run inside a
    // call that came from them.
    std::unique_ptr<QtDescriptorWatch> readable_;
    std::unique_ptr<QtDescriptorWatch> writable_;
    std::vector<std::uint8_t> unsent_;
    State state_ = State::Idle;
};

} // namespace zentrel
