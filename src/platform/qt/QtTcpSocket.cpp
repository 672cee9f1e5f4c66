#include "QtTcpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zentrel {

namespace {
// The error code the platform reports for a system error number.
int wsaError(int systemError) {
    switch (systemError) {
    case ECONNREFUSED:
        return WSAECONNREFUSED;
    case ETIMEDOUT:
        return WSAETIMEDOUT;
    case EHOSTUNREACH:
        return WSAEHOSTUNREACH;
    case EADDRNOTAVAIL:
        return WSAEADDRNOTAVAIL;
    case ENETUNREACH:
    case ENETDOWN:
        return WSAENETUNREACH;
    default:
        return WSAECONNRESET;
    }
}

} // namespace

QtTcpSocket::QtTcpSocket(EventLoop& loop, WParam handle)
    : notifier_(loop, handle),
      fd_(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {
    if (fd_ < 0) {
        return; // the system has no socket to give
    }
    // Set before the connect, so the window TCP offers the peer follows from it.
    const int size = kReadBufferBytes;
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    using Direction = DescriptorWatch::Direction;
    readable_ = std::make_unique<QtDescriptorWatch>(fd_, Direction::Read, [this] { onReadable(); });
    writable_ =
        std::make_unique<QtDescriptorWatch>(fd_, Direction::Write, [this] { onWritable(); });
    readable_->setEnabled(false);
    writable_->setEnabled(false);
}

QtTcpSocket::~QtTcpSocket() {
    close();
}

std::int64_t QtTcpSocket::buffered() const {
    int n = 0;
    return isOpen() && ::ioctl(fd_, FIONREAD, &n) == 0 ? n : 0;
}

void QtTcpSocket::asyncSelect(Window& w, unsigned msg, int events) {
    notifier_.select(w, msg, events);
}

void QtTcpSocket::watchRead(bool on) {
    if (readable_ != nullptr) {
        readable_->setEnabled(on);
    }
}

void QtTcpSocket::watchWrite(bool on) {
    if (writable_ != nullptr) {
        writable_->setEnabled(on);
    }
}

void QtTcpSocket::connect(const std::string& ipv4, std::uint16_t port) {
    if (!isOpen() || state_ != State::Idle) {
        return;
    }
    state_ = State::Connecting;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    if (::inet_pton(AF_INET, ipv4.c_str(), &to.sin_addr) != 1) {
        // Reported like every other outcome, so the caller learns that this connect is over.
        state_ = State::Failed;
        notifier_.notify(FD_CONNECT, WSAEADDRNOTAVAIL);
        return;
    }
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) {
        connectDone(); // at once, on loopback; still reported through the loop
    } else if (errno == EINPROGRESS) {
        watchWrite(true); // writable once the connect is over, either way
    } else {
        state_ = State::Failed;
        notifier_.notify(FD_CONNECT, wsaError(errno));
    }
}

void QtTcpSocket::connectDone() {
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
        error = errno;
    }
    watchWrite(false);
    if (error != 0) {
        state_ = State::Failed;
        notifier_.notify(FD_CONNECT, wsaError(error));
        return;
    }
    state_ = State::Connected;
    watchRead(true);
    notifier_.notify(FD_CONNECT);
    notifier_.notify(FD_WRITE);
}

void QtTcpSocket::onWritable() {
    if (state_ == State::Connecting) {
        connectDone();
    } else {
        flushUnsent();
    }
}

void QtTcpSocket::onReadable() {
    if (state_ != State::Connected) {
        watchRead(false);
        return;
    }
    std::uint8_t probe = 0;
    const ssize_t n = ::recv(fd_, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n > 0) {
        // Quiet until the reader takes it: the system reports waiting data for as long as it
        // waits, and the loop must not spin on a page that reads later.
        watchRead(false);
        notifier_.announceRead();
    } else if (n == 0) {
        peerGone(0);
    } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        peerGone(wsaError(errno));
    }
}

void QtTcpSocket::peerGone(int error) {
    state_ = State::PeerClosed;
    watchRead(false);
    watchWrite(false);
    unsent_.clear();
    notifier_.notify(FD_CLOSE, error);
}

int QtTcpSocket::send(std::span<const std::uint8_t> data) {
    if (!isOpen() || state_ != State::Connected) {
        return -1;
    }
    if (unsent_.size() + data.size() > kWriteBufferBytes) {
        flushUnsent(); // hands the system what it will take now
        return -1;
    }
    unsent_.insert(unsent_.end(), data.begin(), data.end());
    flushUnsent(); // out now rather than on the next turn of the loop
    return static_cast<int>(data.size());
}

void QtTcpSocket::flushUnsent() {
    std::size_t taken = 0;
    while (taken < unsent_.size()) {
        const ssize_t n = ::send(fd_, unsent_.data() + taken, unsent_.size() - taken,
                                 MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n < 0) {
            // Full: the rest goes when the system makes room. Broken: the reader hears of it.
            break;
        }
        taken += static_cast<std::size_t>(n);
    }
    unsent_.erase(unsent_.begin(), unsent_.begin() + static_cast<std::ptrdiff_t>(taken));
    watchWrite(!unsent_.empty() && state_ == State::Connected);
}

int QtTcpSocket::recv(std::span<std::uint8_t> data) {
    if (!isOpen()) {
        return -1;
    }
    // Every recv re-enables FD_READ, as on the platform, even one that finds nothing.
    notifier_.readTaken();
    if (state_ == State::PeerClosed) {
        return 0;
    }
    if (state_ != State::Connected || data.empty()) {
        return -1;
    }
    const ssize_t n = ::recv(fd_, data.data(), data.size(), MSG_DONTWAIT);
    if (n == 0) {
        peerGone(0);
        return 0;
    }
    if (n < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
            watchRead(true);
        } else {
            peerGone(wsaError(errno));
        }
        return -1;
    }
    if (static_cast<std::size_t>(n) == data.size()) {
        notifier_.announceRead(); // the reader's buffer is full: more may wait
    } else {
        watchRead(true); // the next data, or the peer's close
    }
    return static_cast<int>(n);
}

void QtTcpSocket::close() {
    if (!isOpen()) {
        return;
    }
    notifier_.silence(); // no notification follows a close
    readable_.reset();
    writable_.reset();
    ::close(fd_);
    fd_ = -1;
}

} // namespace zentrel
