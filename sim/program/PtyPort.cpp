#include "PtyPort.h"

#include "platform/posix/ComPortNames.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace zentrel::sim {

namespace fs = std::filesystem;

PtyPort::PtyPort(int com, QObject* parent) : QObject(parent), com_(com) {
    hangUpPoll_.setInterval(20);
    connect(&hangUpPoll_, &QTimer::timeout, this, [this] { checkHangUp(); });
}

PtyPort::~PtyPort() {
    close();
}

bool PtyPort::open(std::string& error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    slave_ = ptsname(master_);
    // A raw line from the start, so nothing the panel writes before it configures the port is
    // echoed or translated. Opening and closing the slave here leaves the master hung up until
    // the panel opens it, which the hang-up poll below expects anyway.
    const int slave = ::open(slave_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave >= 0) {
        termios t{};
        if (tcgetattr(slave, &t) == 0) {
            cfmakeraw(&t);
            cfsetspeed(&t, B115200);
            tcsetattr(slave, TCSANOW, &t);
        }
        ::close(slave);
    }

    const fs::path dir = comPortDirectory();
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        error = "cannot create the port directory " + dir.string() + ": " + ec.message();
        return false;
    }
    link_ = dir / ("COM" + std::to_string(com_));
    if (fs::is_symlink(fs::symlink_status(link_, ec))) {
        // A link left by a simulator that did not end cleanly, or another one on this number.
        std::fprintf(stderr, "zentrel-matrix-sim: replacing %s (it pointed to %s)\n", link_.c_str(),
                     fs::read_symlink(link_, ec).c_str());
        fs::remove(link_, ec);
    }
    fs::create_symlink(slave_, link_, ec);
    if (ec) {
        error = "cannot publish " + link_.string() + ": " + ec.message();
        link_.clear();
        return false;
    }
    notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readable(); });
    checkHangUp();
    return true;
}

void PtyPort::close() {
    hangUpPoll_.stop();
    notifier_.reset();
    if (!link_.empty()) {
        std::error_code ec;
        if (fs::read_symlink(link_, ec) == fs::path(slave_)) {
            fs::remove(link_, ec);
        }
        link_.clear();
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

bool PtyPort::write(const std::vector<std::uint8_t>& bytes) {
    if (!held_ || master_ < 0) {
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false; // full or gone: a line drops what it cannot carry
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void PtyPort::readable() {
    std::vector<std::uint8_t> buf(4096);
    while (true) {
        const ssize_t n = ::read(master_, buf.data(), buf.size());
        if (n > 0) {
            if (!held_) {
                held_ = true;
                if (onHeldChanged) {
                    onHeldChanged(true);
                }
            }
            if (onData) {
                onData(std::vector<std::uint8_t>(buf.begin(), buf.begin() + n));
            }
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            return;
        }
        hungUp(); // EIO: the last holder of the slave closed it
        return;
    }
}

void PtyPort::hungUp() {
    if (notifier_) {
        notifier_->setEnabled(false);
    }
    if (held_) {
        held_ = false;
        if (onHeldChanged) {
            onHeldChanged(false);
        }
    }
    hangUpPoll_.start();
}

void PtyPort::checkHangUp() {
    if (master_ < 0) {
        return;
    }
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0) {
        return;
    }
    if ((p.revents & POLLHUP) != 0) {
        if (held_ || !hangUpPoll_.isActive()) {
            hungUp();
        }
        return;
    }
    hangUpPoll_.stop();
    if (!held_) {
        held_ = true;
        if (onHeldChanged) {
            onHeldChanged(true);
        }
    }
    if (notifier_) {
        notifier_->setEnabled(true);
    }
}

} // namespace zentrel::sim
