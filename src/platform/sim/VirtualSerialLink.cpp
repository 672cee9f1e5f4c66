#include "VirtualSerialLink.h"

#include "VirtualSerialPorts.h"
#include "platform/Window.h"

namespace zentrel {

VirtualSerialLink::~VirtualSerialLink() {
    close();
}

bool VirtualSerialLink::open(Window& owner, int port, const SerialSettings& settings) {
    close();
    owner_ = &owner;
    port_ = port;
    settings_ = settings;
    open_ = ports_.acquire(port, *this, settings);
    return open_;
}

bool VirtualSerialLink::start() {
    started_ = open_;
    flushWrites();
    return started_;
}

void VirtualSerialLink::stop() {
    // No thread to wait for: the port is free at once.
    close();
}

void VirtualSerialLink::write(std::span<const std::uint8_t> bytes) {
    if (!open_) {
        return;
    }
    writes_.emplace_back(bytes.begin(), bytes.end());
    flushWrites();
}

void VirtualSerialLink::close() {
    if (open_) {
        ports_.release(port_, *this);
    }
    open_ = false;
    started_ = false;
    received_.clear();
    writes_.clear();
}

void VirtualSerialLink::flushWrites() {
    if (!started_ || delivering_) {
        return;
    }
    while (!writes_.empty()) {
        std::vector<std::uint8_t> bytes = std::move(writes_.front());
        writes_.pop_front();
        ports_.transmit(port_, settings_, std::move(bytes));
    }
}

void VirtualSerialLink::arrive(std::span<const std::uint8_t> bytes) {
    // Before start the bytes would sit in the device's queue, and starting purges it.
    if (!started_) {
        return;
    }
    received_.insert(received_.end(), bytes.begin(), bytes.end());
    if (delivering_) {
        return; // a handler further up is still busy with an earlier byte
    }
    delivering_ = true;
    while (started_ && !received_.empty()) {
        const std::uint8_t b = received_.front();
        received_.pop_front();
        ports_.loop_.sendMessage(*owner_, WM_SERIAL_BYTE, b, port_);
    }
    delivering_ = false;
    flushWrites();
}

void VirtualSerialLink::lost() {
    const bool monitoring = started_;
    close();
    Window* main = ports_.loop_.mainWindow();
    if (monitoring && main != nullptr) {
        main->postMessage(WM_APP_PROGRESS, kSerialFailure, 0);
    }
}

} // namespace zentrel
