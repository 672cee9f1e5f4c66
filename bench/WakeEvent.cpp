#include "WakeEvent.h"

#include <cstdint>
#include <system_error>

#include <cerrno>
#include <sys/eventfd.h>
#include <unistd.h>

namespace zentrel {

WakeEvent::WakeEvent() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (fd_ < 0) {
        throw std::system_error(errno, std::generic_category(), "eventfd");
    }
}

WakeEvent::~WakeEvent() {
    ::close(fd_);
}

void WakeEvent::signal() {
    const std::uint64_t one = 1;
    // Only fails when the counter would overflow, and then the fd is readable anyway.
    [[maybe_unused]] ssize_t n = ::write(fd_, &one, sizeof one);
}

void WakeEvent::clear() {
    std::uint64_t value = 0;
    [[maybe_unused]] ssize_t n = ::read(fd_, &value, sizeof value);
}

} // namespace zentrel
