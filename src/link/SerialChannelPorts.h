#pragma once
// The real program's serial ports: each page gets a SerialChannel on the real devices.
#include "platform/EventLoop.h"
#include "platform/SerialLink.h"

namespace zentrel {

class SerialChannelPorts : public SerialPorts {
public:
    explicit SerialChannelPorts(EventLoop& loop) : loop_(loop) {}
    std::unique_ptr<SerialLink> createLink() override;

private:
    EventLoop& loop_;
};

} // namespace zentrel
