#include "PosixProfileFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrel {

namespace {

[[noreturn]] void fail(const std::string& what, const std::string& path) {
    throw std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

// Closes the descriptor on every way out.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

std::optional<std::string> PosixProfileFiles::read(const std::string& path) {
    Descriptor d{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (d.fd < 0) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        fail("cannot open", path);
    }
    std::string bytes;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(d.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            fail("cannot read", path);
        }
        if (n == 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

void PosixProfileFiles::replace(const std::string& path, const std::string& temp,
                                const std::string& bytes) {
    {
        // O_TRUNC: a temp file a killed writer left behind is simply written over.
        Descriptor d{::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600)};
        if (d.fd < 0) {
            fail("cannot create", temp);
        }
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(d.fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                fail("cannot write", temp);
            }
            done += static_cast<std::size_t>(n);
        }
        // The bytes reach the disk before the name points at them, so a crash after the rename
        // cannot leave an empty profile.
        if (::fsync(d.fd) != 0) {
            fail("cannot flush", temp);
        }
    }
    rename(temp, path);
    Descriptor folder{::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (folder.fd >= 0) {
        ::fsync(folder.fd); // the rename itself; a folder that cannot be flushed is no error
    }
}

void PosixProfileFiles::rename(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        fail("cannot rename", from);
    }
}

void PosixProfileFiles::makeFolder(const std::string& path) {
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at == path.size() || path[at] == '/') {
            const std::string part = path.substr(0, at);
            if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
                fail("cannot create", part);
            }
        }
    }
}

void PosixProfileFiles::locked(const std::string& path, const std::function<void()>& work) {
    Descriptor d{::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)};
    if (d.fd < 0) {
        fail("cannot open", path);
    }
    while (::flock(d.fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            fail("cannot lock", path);
        }
    }
    work(); // closing the descriptor releases the lock, also when work throws
}

} // namespace zentrel
