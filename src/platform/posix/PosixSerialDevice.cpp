#include "PosixSerialDevice.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace zentrel {

namespace {

speed_t speedFor(int baud) {
    switch (baud) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    case 460800:
        return B460800;
    case 921600:
        return B921600;
    default:
        return B0;
    }
}

tcflag_t sizeFor(int dataBits) {
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    case 8:
        return CS8;
    default:
        return 0;
    }
}

} // namespace

bool PosixSerialDevice::open(const std::filesystem::path& path) {
    close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void PosixSerialDevice::close() {
    if (fd_ < 0) {
        return;
    }
    ioctl(fd_, TIOCNXCL);
    ::close(fd_); // also releases the flock
    fd_ = -1;
}

bool PosixSerialDevice::configure(const SerialSettings& s) {
    const speed_t speed = speedFor(s.baud);
    const tcflag_t size = sizeFor(s.dataBits);
    if (fd_ < 0 || speed == B0 || size == 0 || (s.stopBits != 1 && s.stopBits != 2)) {
        return false;
    }
    termios t{};
    if (tcgetattr(fd_, &t) != 0) {
        return false;
    }
    cfmakeraw(&t);
    t.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS);
    t.c_cflag |= size | CLOCAL | CREAD;
    if (s.stopBits == 2) {
        t.c_cflag |= CSTOPB;
    }
    switch (s.parity) {
    case 'N':
        break;
    case 'E':
        t.c_cflag |= PARENB;
        break;
    case 'O':
        t.c_cflag |= PARENB | PARODD;
        break;
    case 'M':
        t.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case 'S':
        t.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        return false;
    }
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    return tcsetattr(fd_, TCSANOW, &t) == 0;
}

void PosixSerialDevice::purge() {
    if (fd_ >= 0) {
        tcflush(fd_, TCIOFLUSH);
    }
}

void PosixSerialDevice::purgeReceived() {
    if (fd_ >= 0) {
        tcflush(fd_, TCIFLUSH);
    }
}

ssize_t PosixSerialDevice::readAvailable(std::span<std::uint8_t> buffer) {
    for (;;) {
        const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
        if (n > 0) {
            return n;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return 0;
        }
        // End of file on a terminal means the other side hung up.
        return -1;
    }
}

ssize_t PosixSerialDevice::writeAvailable(std::span<const std::uint8_t> bytes) {
    for (;;) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n >= 0) {
            return n;
        }
        if (errno == EINTR) {
            continue;
        }
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    }
}

} // namespace zentrel
