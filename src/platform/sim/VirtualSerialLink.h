#pragma once
// A page's serial link on the virtual clock. It behaves as the real channel does towards its
// owner: bytes only while started, one synchronous WM_SERIAL_BYTE each, the next only after the
// owner has handled the previous one (bytes that arrive while a handler runs a modal loop wait
// for it), and write requests in order. Requests made while bytes are being handed over go out
// once the received bytes are delivered, as the channel's thread finishes reading first.
#include "platform/SerialLink.h"

#include <cstdint>
#include <deque>
#include <span>
#include <vector>

namespace zentrel {

class VirtualSerialPorts;

class VirtualSerialLink : public SerialLink {
public:
    explicit VirtualSerialLink(VirtualSerialPorts& ports) : ports_(ports) {}
    ~VirtualSerialLink() override;

    bool open(Window& owner, int port, const SerialSettings& settings) override;
    bool start() override;
    void stop() override;
    void write(std::span<const std::uint8_t> bytes) override;
    bool isOpen() const override { return open_; }
    int port() const override { return port_; }

    bool started() const { return started_; }
    const SerialSettings& settings() const { return settings_; }

private:
    friend class VirtualSerialPorts;
    void arrive(std::span<const std::uint8_t> bytes);
    // The port vanished under the link.
    void lost();
    void close();
    void flushWrites();

    VirtualSerialPorts& ports_;
    Window* owner_ = nullptr;
    int port_ = 0;
    SerialSettings settings_;
    bool open_ = false;
    bool started_ = false;
    bool delivering_ = false;
    std::deque<std::uint8_t> received_;
    std::deque<std::vector<std::uint8_t>> writes_;
};

} // namespace zentrel
