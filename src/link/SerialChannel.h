#pragma once
// The serial link of a page on a real device, driven by the UI thread: the event loop watches
// the device, and each received byte reaches the owner window as its own message, in order,
// before the next byte is looked at. Writes go straight to the device; what its output buffer
// cannot take yet waits until the loop says it is writable. A line failure (an unplugged
// adapter) is posted to the main window as WM_APP_PROGRESS / kSerialFailure and closes the port.
//
// Every call is made on the UI thread; a handler of a received byte may stop, reopen or destroy
// the channel, and then the rest of what was read is dropped.
#include "platform/DescriptorWatch.h"
#include "platform/EventLoop.h"
#include "platform/SerialLink.h"
#include "platform/posix/PosixSerialDevice.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

namespace zentrel {

class SerialChannel : public SerialLink {
public:
    explicit SerialChannel(EventLoop& loop) : loop_(loop) {}
    // A channel on one device, whatever COM number it is opened as (zentrel-ctl --device).
    SerialChannel(EventLoop& loop, std::filesystem::path device)
        : loop_(loop), devicePath_(std::move(device)) {}
    ~SerialChannel() override;
    SerialChannel(const SerialChannel&) = delete;
    SerialChannel& operator=(const SerialChannel&) = delete;

    // Closes this channel's previous port and drops its unwritten requests, then opens
    // COM`port` exclusively, configures it and purges both queues. A configuration the device
    // refuses leaves the port open as it was.
    bool open(Window& owner, int port, const SerialSettings& settings) override;
    // Purges both queues, starts delivering received bytes and writes what was queued before;
    // true while it runs. False when no port is open or the loop cannot watch the device.
    bool start() override;
    // Drops the watches, the unwritten requests and the port at once; nothing more is
    // delivered, also not the rest of a burst whose handler calls it.
    void stop() override;
    // Requests waiting to be written, at most: a page sends one request and waits for its
    // reply, so more only pile up while the line does not move, and then memory must not grow.
    static constexpr std::size_t kMaxQueued = 32;

    // Writes the bytes after discarding what was received and not yet delivered; while earlier
    // requests still wait, or before start(), they wait behind them, each purging when its turn
    // comes. Without an open port, longer than the write buffer of the open's settings, or with
    // kMaxQueued requests waiting: dropped.
    void write(std::span<const std::uint8_t> bytes) override;
    bool isOpen() const override { return device_.isOpen(); }
    int port() const override { return port_; }

private:
    void onReadable();
    // Writes queued requests in order until the device's output buffer is full.
    void writeQueued();

    EventLoop& loop_;
    Window* owner_ = nullptr;
    int port_ = 0;
    std::filesystem::path devicePath_; // empty: the device of COM`port`
    std::size_t writeBufferSize_ = 0;
    PosixSerialDevice device_;
    std::unique_ptr<DescriptorWatch> readable_;
    std::unique_ptr<DescriptorWatch> writable_; // enabled while the output buffer is full
    std::deque<std::vector<std::uint8_t>> queue_;
    std::size_t frontWritten_ = 0; // bytes of queue_.front() the device has taken
    // Counts stops. Shared with a delivery in progress, which outlives a handler that destroys
    // the channel and must then stop.
    std::shared_ptr<std::uint64_t> stops_ = std::make_shared<std::uint64_t>(0);
};

} // namespace zentrel
