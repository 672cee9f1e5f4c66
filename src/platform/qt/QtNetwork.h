#pragma once
// Real sockets on Qt, for the program and the integration tests. Lives on the UI thread, after
// the application object exists; its sockets post their notifications through `loop`.
#include "platform/EventLoop.h"
#include "platform/Network.h"

namespace zentrel {

class QtNetwork : public Network {
public:
    explicit QtNetwork(EventLoop& loop) : loop_(loop) {}

    std::unique_ptr<TcpSocket> createTcp() override;
    std::unique_ptr<UdpSocket> createUdp() override;

private:
    EventLoop& loop_;
    // Handles are never reused, so a notification still queued for a closed socket cannot be
    // mistaken for one of its successor.
    WParam nextHandle_ = 0x100;
};

} // namespace zentrel
