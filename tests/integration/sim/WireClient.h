#pragma once
// The panel's side of a real link in the simplest form: a serial port opened with plain termios
// or a TCP connection to loopback, and bounded reads.
#include "protocol/CommandFrame.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace zentrel::sim::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes frame(std::initializer_list<std::uint8_t> from2) {
    const CommandFrame f = CommandFrame::make(from2);
    return {f.bytes.begin(), f.bytes.end()};
}

inline std::string hex(const Bytes& b) {
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < b.size(); ++i) {
        std::snprintf(buf, sizeof buf, i + 1 < b.size() ? "%02X " : "%02X", b[i]);
        out += buf;
    }
    return out;
}

// Opens a serial device raw at 115200 8N2, as the panel does; -1 on failure.
inline int openSerial(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    cfsetspeed(&t, B115200);
    t.c_cflag |= CSTOPB | CLOCAL | CREAD;
    tcsetattr(fd, TCSANOW, &t);
    tcflush(fd, TCIOFLUSH);
    return fd;
}

// A TCP connection to 127.0.0.1:port; -1 on failure.
inline int connectLoopback(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return -1;
    }
    return fd;
}

inline bool writeAll(int fd, const Bytes& b) {
    return ::write(fd, b.data(), b.size()) == static_cast<ssize_t>(b.size());
}

// Reads until `count` bytes are in or `ms` have passed.
inline Bytes readBytes(int fd, std::size_t count, int ms = 2000) {
    Bytes out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (out.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd p{fd, POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) {
            break;
        }
        std::uint8_t buf[256];
        const ssize_t n = ::read(fd, buf, std::min(sizeof buf, count - out.size()));
        if (n <= 0) {
            break;
        }
        out.insert(out.end(), buf, buf + n);
    }
    return out;
}

} // namespace zentrel::sim::test
