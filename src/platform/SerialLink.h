#pragma once
// A page's serial channel as the page sees it. The real one watches a termios device from the
// UI thread's loop; the virtual one delivers bytes on the virtual clock. Both deliver each
// received byte to the owner as WM_SERIAL_BYTE (wParam byte, lParam port number), in order.
#include <cstdint>
#include <memory>
#include <span>

namespace zentrel {

class Window;

struct SerialSettings {
    int baud = 115200;
    char parity = 'N';
    int dataBits = 8;
    int stopBits = 1;
    int eventMask = 3; // received characters and the event character
    int writeBufferSize = 512;
    friend bool operator==(const SerialSettings&, const SerialSettings&) = default;
};

class SerialLink {
public:
    virtual ~SerialLink() = default;
    // Opens COM`port` exclusively (closing this link's previous port first). False when the port
    // is absent or held by another link or program.
    virtual bool open(Window& owner, int port, const SerialSettings& settings) = 0;
    // Starts delivering received bytes; true when monitoring runs.
    virtual bool start() = 0;
    // Stops monitoring and closes the port; does not wait.
    virtual void stop() = 0;
    // Queues bytes for writing; requests are written in order, none replaces another.
    virtual void write(std::span<const std::uint8_t> bytes) = 0;
    virtual bool isOpen() const = 0;
    virtual int port() const = 0;
};

// Makes the serial links of the pages.
class SerialPorts {
public:
    virtual ~SerialPorts() = default;
    virtual std::unique_ptr<SerialLink> createLink() = 0;
};

} // namespace zentrel
