#pragma once
// A termios serial device held exclusively, as a COM port is on Windows. TIOCEXCL keeps other
// programs out, but not root, so an advisory flock is taken as well: every open through this
// class, by any user, fails while another holds the device.
#include "platform/SerialLink.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include <sys/types.h>

namespace zentrel {

class PosixSerialDevice {
public:
    PosixSerialDevice() = default;
    ~PosixSerialDevice() { close(); }
    PosixSerialDevice(const PosixSerialDevice&) = delete;
    PosixSerialDevice& operator=(const PosixSerialDevice&) = delete;

    // Opens without becoming the controlling terminal and without blocking. False when the
    // device is absent, not a terminal, or held by someone else.
    bool open(const std::filesystem::path& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // Raw mode at the given baud rate, parity ('N', 'E', 'O', 'M', 'S'), data and stop bits,
    // no flow control. False when the settings cannot be expressed or applied.
    bool configure(const SerialSettings& settings);
    // Discards what was received but not read and what was written but not sent.
    void purge();
    // Discards only what was received but not read.
    void purgeReceived();

    // Up to buffer.size() bytes that are already there: the count, 0 when none are waiting,
    // -1 on a line failure.
    ssize_t readAvailable(std::span<std::uint8_t> buffer);
    // As many leading bytes as the device takes now, without waiting: the count, 0 when its
    // output buffer is full, -1 on a line failure.
    ssize_t writeAvailable(std::span<const std::uint8_t> bytes);

private:
    int fd_ = -1;
};

} // namespace zentrel
