#include "VirtualSerialPorts.h"

#include "VirtualSerialLink.h"

#include <algorithm>

namespace zentrel {

namespace {

constexpr SerialSettings kLineDefault{115200, 'N', 8, 2};

std::int64_t ceilMs(std::int64_t us) {
    return (us + 999) / 1000;
}

} // namespace

std::unique_ptr<SerialLink> VirtualSerialPorts::createLink() {
    return std::make_unique<VirtualSerialLink>(*this);
}

void VirtualSerialPorts::attach(int com, SerialFarEnd& farEnd) {
    ports_[com].farEnd = &farEnd;
}

void VirtualSerialPorts::detach(int com) {
    Port& p = ports_[com];
    p.farEnd = nullptr;
    if (p.holder != nullptr) {
        p.holder->lost();
    }
}

void VirtualSerialPorts::setHeldElsewhere(int com, bool held) {
    ports_[com].heldElsewhere = held;
}

bool VirtualSerialPorts::held(int com) const {
    auto it = ports_.find(com);
    return it != ports_.end() && it->second.holder != nullptr;
}

std::int64_t VirtualSerialPorts::wireTimeUs(std::size_t count, const SerialSettings& s) {
    const std::int64_t bitsPerByte = 1 + s.dataBits + (s.parity == 'N' ? 0 : 1) + s.stopBits;
    const std::int64_t bits = static_cast<std::int64_t>(count) * bitsPerByte;
    return (bits * 1'000'000 + s.baud - 1) / s.baud;
}

void VirtualSerialPorts::scheduleAt(std::int64_t dueUs, std::function<void()> fn) {
    loop_.schedule(ceilMs(dueUs) - loop_.nowMs(), [alive = alive_, fn = std::move(fn)] {
        if (*alive) {
            fn();
        }
    });
}

void VirtualSerialPorts::sendToPanel(int com, std::span<const std::uint8_t> bytes) {
    Port& p = ports_[com];
    if (p.farEnd == nullptr || bytes.empty()) {
        return;
    }
    // The far end talks at whatever the panel opened the port with.
    const SerialSettings& line = p.holder != nullptr ? p.holder->settings() : kLineDefault;
    const std::int64_t startUs = std::max(loop_.nowMs() * 1000, p.toPanelFreeUs);
    p.toPanelFreeUs = startUs + wireTimeUs(bytes.size(), line);
    // One clock action per millisecond in which bytes complete; each hands its bytes over in order.
    std::size_t first = 0;
    while (first < bytes.size()) {
        const std::int64_t ms = ceilMs(startUs + wireTimeUs(first + 1, line));
        std::size_t last = first + 1;
        while (last < bytes.size() && ceilMs(startUs + wireTimeUs(last + 1, line)) == ms) {
            ++last;
        }
        std::vector<std::uint8_t> chunk(bytes.begin() + static_cast<std::ptrdiff_t>(first),
                                        bytes.begin() + static_cast<std::ptrdiff_t>(last));
        scheduleAt(ms * 1000, [this, com, chunk = std::move(chunk)] {
            VirtualSerialLink* holder = ports_[com].holder;
            if (holder != nullptr) {
                holder->arrive(chunk);
            }
        });
        first = last;
    }
}

bool VirtualSerialPorts::acquire(int com, VirtualSerialLink& link, const SerialSettings& s) {
    Port& p = ports_[com];
    const bool granted = p.farEnd != nullptr && !p.heldElsewhere && p.holder == nullptr;
    p.record.opens.push_back(OpenRecord{s, granted});
    if (granted) {
        p.holder = &link;
    }
    return granted;
}

void VirtualSerialPorts::release(int com, const VirtualSerialLink& link) {
    auto it = ports_.find(com);
    if (it != ports_.end() && it->second.holder == &link) {
        it->second.holder = nullptr;
    }
}

void VirtualSerialPorts::transmit(int com, const SerialSettings& s,
                                  std::vector<std::uint8_t> bytes) {
    Port& p = ports_[com];
    p.record.writes.push_back(bytes);
    const std::int64_t startUs = std::max(loop_.nowMs() * 1000, p.toFarFreeUs);
    p.toFarFreeUs = startUs + wireTimeUs(bytes.size(), s);
    scheduleAt(p.toFarFreeUs, [this, com, bytes = std::move(bytes)] {
        SerialFarEnd* farEnd = ports_[com].farEnd;
        if (farEnd != nullptr) {
            farEnd->receive(bytes);
        }
    });
}

} // namespace zentrel
