#include "SerialChannel.h"

#include "platform/posix/ComPortNames.h"

#include <algorithm>
#include <array>

namespace zentrel {

SerialChannel::~SerialChannel() {
    join();
}

void SerialChannel::join() {
    if (thread_.joinable()) {
        thread_.request_stop();
        thread_.join();
    }
}

bool SerialChannel::open(Window& owner, int port, const SerialSettings& settings) {
    join();
    std::lock_guard lock(mutex_);
    device_.close();
    queue_.clear();
    owner_ = &owner;
    port_ = port;
    writeBufferSize_ =
        settings.writeBufferSize > 0 ? static_cast<std::size_t>(settings.writeBufferSize) : 0;
    const auto path = devicePath_.empty() ? comPortPath(port) : devicePath_;
    if (path.empty() || !device_.open(path)) {
        return false;
    }
    device_.configure(settings);
    device_.purge();
    return true;
}

bool SerialChannel::start() {
    if (isOpen() && thread_.joinable()) {
        return true; // monitoring already (the thread closes the port when it ends)
    }
    join();
    std::unique_lock lock(mutex_);
    if (!device_.isOpen()) {
        return false;
    }
    // Purged here rather than on the thread, so that nothing that arrives after start()
    // returns can be purged.
    device_.purge();
    lock.unlock();
    // The main window is read here, on the UI thread that sets it, not from the thread.
    thread_ = std::jthread([this, main = loop_.mainWindow()](std::stop_token stop) {
        monitor(std::move(stop), main);
    });
    return true;
}

void SerialChannel::stop() {
    if (thread_.joinable()) {
        thread_.request_stop(); // the thread's stop callback wakes it
        return;
    }
    std::lock_guard lock(mutex_);
    device_.close();
}

void SerialChannel::write(std::span<const std::uint8_t> bytes) {
    {
        std::lock_guard lock(mutex_);
        if (!device_.isOpen()) {
            return; // nothing could ever write it: the next open starts with an empty queue
        }
        if (bytes.size() > writeBufferSize_ || queue_.size() >= kMaxQueued) {
            return; // does not fit the write buffer, or the line has stopped taking requests
        }
        queue_.emplace_back(bytes.begin(), bytes.end());
    }
    wake_.signal();
}

bool SerialChannel::isOpen() const {
    if (thread_.joinable() && thread_.get_stop_token().stop_requested()) {
        return false;
    }
    std::lock_guard lock(mutex_);
    return device_.isOpen();
}

void SerialChannel::monitor(std::stop_token stop, Window* mainWindow) {
    std::stop_callback wakeOnStop(stop, [this] { wake_.signal(); });
    bool failed = false;
    while (!stop.stop_requested()) {
        const auto ready = device_.wait(wake_);
        if (stop.stop_requested()) {
            break;
        }
        // Bytes already there are handed over before a failure is reported or a queued request
        // purges them.
        if ((ready.readable || ready.failed) && !deliverReceived(stop)) {
            failed = !stop.stop_requested();
            break;
        }
        if (ready.failed) {
            failed = true;
            break;
        }
        if (ready.woken) {
            wake_.clear();
            writeQueued(stop);
        }
    }
    {
        std::lock_guard lock(mutex_);
        device_.close();
        queue_.clear();
    }
    if (failed && mainWindow != nullptr) {
        loop_.postMessage(*mainWindow, WM_APP_PROGRESS, kSerialFailure, 0);
    }
}

bool SerialChannel::deliverReceived(const std::stop_token& stop) {
    std::array<std::uint8_t, 256> buffer{};
    for (;;) {
        const ssize_t n = device_.readAvailable(buffer);
        if (n <= 0) {
            return n == 0;
        }
        // One message per byte, in order, but one hand-over to the UI thread per burst.
        std::array<WParam, 256> bytes{};
        std::copy_n(buffer.begin(), n, bytes.begin());
        loop_.sendMessages(*owner_, WM_SERIAL_BYTE,
                           std::span(bytes).first(static_cast<std::size_t>(n)), port_, stop);
        if (stop.stop_requested()) {
            return true;
        }
    }
}

void SerialChannel::writeQueued(const std::stop_token& stop) {
    for (;;) {
        std::vector<std::uint8_t> bytes;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty() || stop.stop_requested()) {
                return;
            }
            bytes = std::move(queue_.front());
            queue_.pop_front();
        }
        // Stale bytes of an earlier exchange must not be taken for the reply to this request.
        // Every write waits until its bytes have left, so there is never unsent output to
        // discard; purging output as well would, on a pseudo-terminal, discard the previous
        // request before the far end has read it.
        device_.purgeReceived();
        device_.writeAll(bytes); // a failed write shows as the caller's time-out
    }
}

} // namespace zentrel
