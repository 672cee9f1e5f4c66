#include "QtUdpSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

namespace zentrel {

namespace {
constexpr std::size_t kMaxDatagram = 65536;

bool toIpv4(const std::string& text, std::uint16_t port, sockaddr_in& out) {
    out = sockaddr_in{};
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    return ::inet_pton(AF_INET, text.c_str(), &out.sin_addr) == 1;
}
} // namespace

QtUdpSocket::QtUdpSocket(EventLoop& loop, WParam handle)
    : inbox_(loop, handle), fd_(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {
    if (fd_ < 0) {
        return; // the system has no socket to give
    }
    readable_ = std::make_unique<QtDescriptorWatch>(fd_, DescriptorWatch::Direction::Read,
                                                    [this] { drain(); });
}

QtUdpSocket::~QtUdpSocket() {
    close();
}

bool QtUdpSocket::bind(const std::string& ipv4, std::uint16_t port) {
    sockaddr_in address{};
    if (!isOpen() || bound_ || !toIpv4(ipv4, port, address)) {
        return false;
    }
    const int on = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return false;
    }
    bound_ = true;
    return true;
}

bool QtUdpSocket::setBroadcast(bool on) {
    if (!isOpen()) {
        return false;
    }
    // Off until asked for, so a missing setBroadcast fails the send as it would on the platform.
    const int value = on ? 1 : 0;
    return ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &value, sizeof value) == 0;
}

bool QtUdpSocket::asyncSelect(Window& w, unsigned msg, int events) {
    if (!isOpen()) {
        return false;
    }
    inbox_.select(w, msg, events);
    return true;
}

int QtUdpSocket::sendTo(std::span<const std::uint8_t> data, const std::string& ipv4,
                        std::uint16_t port) {
    sockaddr_in to{};
    if (!isOpen() || !toIpv4(ipv4, port, to)) {
        return -1;
    }
    // Bound here rather than implicitly by the send, so a later bind is refused as after any.
    if (!bound_ && !bind("0.0.0.0", 0)) {
        return -1;
    }
    const ssize_t n = ::sendto(fd_, data.data(), data.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                               reinterpret_cast<const sockaddr*>(&to), sizeof to);
    return static_cast<int>(n);
}

int QtUdpSocket::recv(std::span<std::uint8_t> data) {
    return isOpen() ? inbox_.read(data) : -1;
}

std::uint16_t QtUdpSocket::localPort() const {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (!isOpen() || !bound_ ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        return 0;
    }
    return ntohs(local.sin_port);
}

void QtUdpSocket::close() {
    if (!isOpen()) {
        return;
    }
    inbox_.close();
    readable_.reset();
    ::close(fd_);
    fd_ = -1;
}

void QtUdpSocket::drain() {
    // Everything waiting is taken into the inbox, which bounds what it keeps; the bound on reads
    // keeps a flood from holding the loop, and the system reports again for what is left.
    std::vector<std::uint8_t> buffer(kMaxDatagram);
    for (int i = 0; i < 256; ++i) {
        const ssize_t n = ::recv(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT);
        if (n < 0) {
            return;
        }
        inbox_.arrive(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + n));
    }
}

} // namespace zentrel
