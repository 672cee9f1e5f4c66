#pragma once
// The panel's datagram socket on Qt. Binds share the address, so the panel and a simulated
// matrix can both listen on one host; broadcasts need setBroadcast(true) first, as on the
// platform the behaviour was written for (Qt would otherwise allow them silently).
#include "platform/EventLoop.h"
#include "platform/UdpSocket.h"

#include <deque>
#include <memory>
#include <vector>

class QObject;
class QUdpSocket;

namespace zentrel {

class QtUdpSocket : public UdpSocket {
public:
    QtUdpSocket(EventLoop& loop, WParam handle);
    ~QtUdpSocket() override;

    WParam handle() const override { return handle_; }
    bool bind(const std::string& ipv4, std::uint16_t port) override;
    bool setBroadcast(bool on) override;
    bool asyncSelect(Window& w, unsigned msg, int events) override;
    int sendTo(std::span<const std::uint8_t> data, const std::string& ipv4,
               std::uint16_t port) override;
    int recv(std::span<std::uint8_t> data) override;
    void close() override;
    bool isOpen() const override { return open_; }

    // The port bound to (a free one after a bind to port 0), 0 before a bind.
    std::uint16_t localPort() const;

private:
    bool applyBroadcast();
    void onReadyRead();
    void drain();
    void notify(int event);

    EventLoop& loop_;
    WParam handle_;
    QUdpSocket* socket_;
    std::unique_ptr<QObject> context_;
    Window* window_ = nullptr;
    unsigned msg_ = 0;
    int events_ = 0;
    bool open_ = true;
    bool bound_ = false;
    bool broadcast_ = false;
    bool readAnnounced_ = false;
    // Datagrams taken from Qt as soon as it reports them (see drain).
    std::deque<std::vector<std::uint8_t>> queue_;
};

} // namespace zentrel
