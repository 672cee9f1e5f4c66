#pragma once
// The panel's side of a real link in the simplest form: a serial port opened with plain termios
// or a TCP connection to loopback, and bounded reads.
#include "protocol/CommandFrame.h"
#include "protocol/HexText.h"

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
using zentrel::hexBytes;

inline Bytes frame(std::initializer_list<std::uint8_t> from2) {
    const CommandFrame f = CommandFrame::make(from2);
    return {f.bytes.begin(), f.bytes.end()};
}

// Opens a serial device raw at 115200 8N2, as the panel does; -1 on failure.
inline int openSerial(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios t{};
    if (fd >= 0 && tcgetattr(fd, &t) == 0) {
        cfmakeraw(&t);
        cfsetspeed(&t, B115200);
        t.c_cflag |= CSTOPB | CLOCAL | CREAD;
        tcsetattr(fd, TCSANOW, &t);
        tcflush(fd, TCIOFLUSH);
    }
    return fd;
}

// A TCP connection to 127.0.0.1:port; -1 on failure.
inline int connectLoopback(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}};
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

inline bool writeAll(int fd, const Bytes& b) {
    return ::write(fd, b.data(), b.size()) == static_cast<ssize_t>(b.size());
}

// Reads until `count` bytes are in or nothing has come for 2 s.
inline Bytes readBytes(int fd, std::size_t count) {
    Bytes out(count);
    std::size_t got = 0;
    for (pollfd p{fd, POLLIN, 0}; got<count&& ::poll(&p, 1, 2000)> 0;) {
        const ssize_t n = ::read(fd, out.data() + got, count - got);
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    out.resize(got);
    return out;
}

} // namespace zentrel::sim::test
