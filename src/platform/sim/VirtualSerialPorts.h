#pragma once
// Serial ports on the virtual clock. A far end attached to a COM number makes the port exist;
// bytes cross the line in their wire time at the settings the port was opened with (115200 8N2:
// 11 bits a byte, 1.24 ms for a 13-byte frame), rounded up to the clock's whole milliseconds,
// in order. A port is held by one link at a time; detaching the far end makes the port vanish,
// which a monitoring link reports as a line failure to the main window.
#include "SerialFarEnd.h"
#include "VirtualEventLoop.h"
#include "platform/SerialLink.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <vector>

namespace zentrel {

class VirtualSerialLink;

class VirtualSerialPorts : public SerialPorts {
public:
    // What tests read back about one COM number.
    struct OpenRecord {
        SerialSettings settings;
        bool granted = false;
    };
    struct PortRecord {
        std::vector<OpenRecord> opens;                 // every open tried, in order
        std::vector<std::vector<std::uint8_t>> writes; // every request put on the line
    };

    // The ports must outlive the links they make.
    explicit VirtualSerialPorts(VirtualEventLoop& loop) : loop_(loop) {}
    ~VirtualSerialPorts() override { *alive_ = false; }
    VirtualSerialPorts(const VirtualSerialPorts&) = delete;
    VirtualSerialPorts& operator=(const VirtualSerialPorts&) = delete;

    std::unique_ptr<SerialLink> createLink() override;

    void attach(int com, SerialFarEnd& farEnd);
    void detach(int com);
    // Sends bytes from the far end towards the panel; the started link holding the port gets
    // one WM_SERIAL_BYTE per byte as each arrives. Nobody listening: they are lost.
    void sendToPanel(int com, std::span<const std::uint8_t> bytes);
    // Makes opens of the port fail as if another program held it.
    void setHeldElsewhere(int com, bool held);

    const PortRecord& record(int com) { return ports_[com].record; }
    bool held(int com) const;

    // Microseconds that `count` bytes take on a line with these settings.
    static std::int64_t wireTimeUs(std::size_t count, const SerialSettings& settings);

private:
    friend class VirtualSerialLink;
    struct Port {
        SerialFarEnd* farEnd = nullptr;
        VirtualSerialLink* holder = nullptr;
        bool heldElsewhere = false;
        std::int64_t toPanelFreeUs = 0; // when the line towards the panel is idle again
        std::int64_t toFarFreeUs = 0;
        PortRecord record;
    };

    bool acquire(int com, VirtualSerialLink& link, const SerialSettings& settings);
    void release(int com, const VirtualSerialLink& link);
    void transmit(int com, const SerialSettings& settings, std::vector<std::uint8_t> bytes);
    void scheduleAt(std::int64_t dueUs, std::function<void()> fn);

    VirtualEventLoop& loop_;
    std::map<int, Port> ports_;
    // Bytes still on the line when the ports go away are dropped: the clock's actions check it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace zentrel
