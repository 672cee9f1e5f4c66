#include "SerialChannel.h"

#include "platform/Window.h"
#include "platform/posix/ComPortNames.h"

#include <array>

namespace zentrel {

SerialChannel::~SerialChannel() {
    stop();
}

void SerialChannel::stop() {
    ++*stops_;
    // The watches go before the descriptor: a notifier must never poll a closed one.
    readable_.reset();
    writable_.reset();
    queue_.clear();
    frontWritten_ = 0;
    device_.close();
}

bool SerialChannel::open(Window& owner, int port, const SerialSettings& settings) {
    stop();
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
    if (readable_ != nullptr) {
        return true; // already delivering
    }
    if (!device_.isOpen()) {
        return false;
    }
    readable_ =
        loop_.watch(device_.fd(), DescriptorWatch::Direction::Read, [this] { onReadable(); });
    if (readable_ == nullptr) {
        return false; // a loop without descriptors
    }
    writable_ =
        loop_.watch(device_.fd(), DescriptorWatch::Direction::Write, [this] { writeQueued(); });
    writable_->setEnabled(false);
    device_.purge();
    writeQueued();
    return true;
}

void SerialChannel::write(std::span<const std::uint8_t> bytes) {
    if (!device_.isOpen()) {
        return; // nothing could ever write it: the next open starts with an empty queue
    }
    if (bytes.size() > writeBufferSize_ || queue_.size() >= kMaxQueued) {
        return; // does not fit the write buffer, or the line has stopped taking requests
    }
    queue_.emplace_back(bytes.begin(), bytes.end());
    if (readable_ != nullptr && queue_.size() == 1) {
        writeQueued();
    }
}

void SerialChannel::writeQueued() {
    while (!queue_.empty()) {
        const std::vector<std::uint8_t>& request = queue_.front();
        if (frontWritten_ == 0) {
            // Stale bytes of an earlier exchange must not be taken for the reply to this
            // request. Only input is purged: output may still hold the previous request.
            device_.purgeReceived();
        }
        const ssize_t n = device_.writeAvailable(std::span(request).subspan(frontWritten_));
        if (n == 0) {
            writable_->setEnabled(true); // the rest when the line has taken some
            return;
        }
        // A request the line refuses is dropped; it shows as the caller's time-out, and a
        // failed line as the read watch's failure.
        frontWritten_ = n < 0 ? request.size() : frontWritten_ + static_cast<std::size_t>(n);
        if (frontWritten_ == request.size()) {
            queue_.pop_front();
            frontWritten_ = 0;
        }
    }
    writable_->setEnabled(false);
}

void SerialChannel::onReadable() {
    // One buffer per call: while more is waiting the loop calls again, after whatever else it
    // has to do, so a flood cannot hold the UI thread.
    std::array<std::uint8_t, 256> buffer{};
    const ssize_t n = device_.readAvailable(buffer);
    if (n < 0) {
        stop();
        if (Window* main = loop_.mainWindow()) {
            loop_.postMessage(*main, WM_APP_PROGRESS, kSerialFailure, 0);
        }
        return;
    }
    const auto stops = stops_;
    const std::uint64_t session = *stops;
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
        loop_.sendMessage(*owner_, WM_SERIAL_BYTE, buffer[i], port_);
        if (*stops != session) {
            return; // the handler stopped, reopened or destroyed the channel
        }
    }
}

} // namespace zentrel
