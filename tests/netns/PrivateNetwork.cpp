#include "PrivateNetwork.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <net/if.h>
#include <net/route.h>
#include <netinet/in.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace zentrel::test {

namespace {

constexpr int kNoNamespace = 77;

bool writeFile(const char* path, const std::string& text) {
    const int fd = ::open(path, O_WRONLY);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return ok;
}

std::string errnoText(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// Returns "" when the process now sits in a fresh namespace with the loopback up and the
// broadcast address routed to it; otherwise why not.
std::string enterPrivateNetwork() {
    if (::unshare(CLONE_NEWNET) != 0) {
        // Without the right to make a namespace directly, a user namespace gives it.
        const uid_t uid = ::geteuid();
        const gid_t gid = ::getegid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) {
            return errnoText("unshare(CLONE_NEWUSER | CLONE_NEWNET)");
        }
        writeFile("/proc/self/setgroups", "deny");
        if (!writeFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1\n") ||
            !writeFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1\n")) {
            return errnoText("writing the user namespace's id maps");
        }
    }
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) {
        return errnoText("socket");
    }
    ifreq ifr{};
    std::strncpy(ifr.ifr_name, "lo", IFNAMSIZ - 1);
    if (::ioctl(fd, SIOCGIFFLAGS, &ifr) != 0) {
        ::close(fd);
        return errnoText("SIOCGIFFLAGS lo");
    }
    ifr.ifr_flags = static_cast<short>(ifr.ifr_flags | IFF_UP | IFF_RUNNING);
    if (::ioctl(fd, SIOCSIFFLAGS, &ifr) != 0) {
        ::close(fd);
        return errnoText("bringing lo up");
    }
    rtentry route{};
    auto* dst = reinterpret_cast<sockaddr_in*>(&route.rt_dst);
    dst->sin_family = AF_INET;
    dst->sin_addr.s_addr = htonl(INADDR_BROADCAST);
    auto* mask = reinterpret_cast<sockaddr_in*>(&route.rt_genmask);
    mask->sin_family = AF_INET;
    mask->sin_addr.s_addr = htonl(INADDR_BROADCAST);
    route.rt_flags = RTF_UP | RTF_HOST;
    char lo[] = "lo";
    route.rt_dev = lo;
    const int rc = ::ioctl(fd, SIOCADDRT, &route);
    const std::string why = rc != 0 ? errnoText("routing 255.255.255.255 to lo") : "";
    ::close(fd);
    return why;
}

// The last guard before anything broadcasts: the namespace has the loopback and nothing else.
bool onlyLoopback() {
    struct if_nameindex* names = ::if_nameindex();
    if (names == nullptr) {
        return false;
    }
    bool only = true;
    for (struct if_nameindex* n = names; n->if_index != 0; ++n) {
        only = only && std::strcmp(n->if_name, "lo") == 0;
    }
    ::if_freenameindex(names);
    return only;
}

} // namespace

ChildOutcome runInPrivateNetwork(const std::function<int()>& scenario, int limitMs) {
    ChildOutcome out;
    int reason[2];
    if (::pipe(reason) != 0) {
        out.why = errnoText("pipe");
        return out;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        out.why = errnoText("fork");
        return out;
    }
    if (child == 0) {
        ::close(reason[0]);
        std::string why = enterPrivateNetwork();
        if (why.empty() && !onlyLoopback()) {
            why = "the new namespace has interfaces other than lo";
        }
        if (!why.empty()) {
            (void)!::write(reason[1], why.data(), why.size());
            ::_exit(kNoNamespace);
        }
        ::close(reason[1]);
        int status = 1;
        try {
            status = scenario();
        } catch (...) {
            status = 1;
        }
        std::fflush(nullptr);
        ::_exit(status == kNoNamespace ? 1 : status);
    }
    ::close(reason[1]);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    pid_t done = 0;
    while ((done = ::waitpid(child, &status, WNOHANG)) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            ::close(reason[0]);
            out.ran = true;
            out.status = -2; // took too long
            return out;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    char buf[512];
    const ssize_t n = ::read(reason[0], buf, sizeof buf);
    ::close(reason[0]);
    if (done < 0 || !WIFEXITED(status)) {
        out.ran = true;
        out.status = -3; // crashed
        return out;
    }
    if (WEXITSTATUS(status) == kNoNamespace) {
        out.why = n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : "unknown reason";
        return out;
    }
    out.ran = true;
    out.status = WEXITSTATUS(status);
    return out;
}

} // namespace zentrel::test
