#pragma once
// The serial link of a page on a real device. A monitoring thread waits for received bytes, for
// write requests and for a stop; it hands each byte to the owner window with a synchronous
// message, so the owner sees them in order and the next byte is read only after the owner has
// handled the previous one. A line failure (an unplugged adapter) is posted to the main window
// as WM_APP_PROGRESS / kSerialFailure and ends monitoring.
//
// Threads: open, start, stop, write and destruction run on the UI thread. While the thread runs,
// only it does I/O on the device; the mutex guards the write queue and the device's open state,
// which both threads see. Open and destruction join the thread; a byte the thread is handing to
// the UI thread at that moment is dropped through the stop token of sendMessage, so joining can
// never wait for the UI thread.
#include "platform/EventLoop.h"
#include "platform/SerialLink.h"
#include "platform/posix/PosixSerialDevice.h"
#include "platform/posix/WakeEvent.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <span>
#include <stop_token>
#include <thread>
#include <vector>

namespace zentrel {

class SerialChannel : public SerialLink {
public:
    explicit SerialChannel(EventLoop& loop) : loop_(loop) {}
    // A channel on one device, whatever COM number it is opened as (zentrel-ctl --device).
    SerialChannel(EventLoop& loop, std::filesystem::path device)
        : loop_(loop), devicePath_(std::move(device)) {}
    ~SerialChannel() override;

    // Ends a running thread, closes this channel's previous port and drops its unwritten
    // requests, then opens COM`port` exclusively, configures it and purges both queues. A
    // configuration the device refuses leaves the port open as it was.
    bool open(Window& owner, int port, const SerialSettings& settings) override;
    // Purges both queues and starts monitoring; true while it runs. False when no port is open.
    bool start() override;
    // Asks the thread to close the port and end, without waiting; with no thread the port is
    // closed at once.
    void stop() override;
    // Requests waiting to be written, at most: a page sends one request and waits for its
    // reply, so more only pile up while the line does not move, and then memory must not grow.
    static constexpr std::size_t kMaxQueued = 32;

    // Queues a copy of the bytes; the thread writes the requests in order, each after
    // discarding what was received and not yet handed over. Without an open port, longer than
    // the write buffer of the open's settings, or with kMaxQueued requests waiting: dropped.
    void write(std::span<const std::uint8_t> bytes) override;
    // Whether the channel holds its port: false from the moment stop() is asked.
    bool isOpen() const override;
    int port() const override { return port_; }

private:
    void monitor(std::stop_token stop, Window* mainWindow);
    // Hands over everything received; false on a line failure.
    bool deliverReceived(const std::stop_token& stop);
    void writeQueued(const std::stop_token& stop);
    void join();

    EventLoop& loop_;
    Window* owner_ = nullptr;
    int port_ = 0;
    std::filesystem::path devicePath_; // empty: the device of COM`port`
    std::size_t writeBufferSize_ = 0;  // guarded by mutex_
    WakeEvent wake_;
    mutable std::mutex mutex_;
    PosixSerialDevice device_;                    // open state guarded by mutex_
    std::deque<std::vector<std::uint8_t>> queue_; // guarded by mutex_
    std::jthread thread_;                         // only touched by the UI thread
};

} // namespace zentrel
