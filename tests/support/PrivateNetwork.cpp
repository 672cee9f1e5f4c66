#include "PrivateNetwork.h"

#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zentrel::test {

namespace {

constexpr int kNoNamespace = 77;

bool writeFile(const char* path, const std::string& text) {
    const int fd = ::open(path, O_WRONLY);
    const bool ok =
        fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (fd >= 0) {
        ::close(fd);
    }
    return ok;
}

} // namespace

std::string enterPrivateNetwork() {
    if (::unshare(CLONE_NEWNET) != 0) {
        // Without the right to make a namespace directly, a user namespace gives it.
        const std::string uid = std::to_string(::geteuid()), gid = std::to_string(::getegid());
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) {
            return std::string("unshare: ") + std::strerror(errno);
        }
        writeFile("/proc/self/setgroups", "deny");
        if (!writeFile("/proc/self/uid_map", "0 " + uid + " 1\n") ||
            !writeFile("/proc/self/gid_map", "0 " + gid + " 1\n")) {
            return "the user namespace's id maps could not be written";
        }
    }
    if (std::system("ip link set lo up && ip route add 255.255.255.255/32 dev lo") != 0) {
        return "ip could not bring lo up or route the broadcast address to it";
    }
    // The last guard before anything broadcasts: nothing but the loopback is there.
    struct if_nameindex* names = ::if_nameindex();
    bool onlyLoopback = names != nullptr;
    for (struct if_nameindex* n = names; n != nullptr && n->if_index != 0; ++n) {
        onlyLoopback = onlyLoopback && std::strcmp(n->if_name, "lo") == 0;
    }
    if (names != nullptr) {
        ::if_freenameindex(names);
    }
    return onlyLoopback ? "" : "the namespace has interfaces other than lo";
}

ChildOutcome runInPrivateNetwork(const std::function<int()>& scenario, int limitMs) {
    ChildOutcome out;
    int reason[2];
    if (::pipe(reason) != 0) {
        out.why = "no pipe";
        return out;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(static_cast<unsigned>((limitMs + 999) / 1000)); // SIGALRM ends an overrun
        const std::string why = enterPrivateNetwork();
        if (!why.empty()) {
            (void)!::write(reason[1], why.data(), why.size());
            ::_exit(kNoNamespace);
        }
        int status = 1;
        try {
            status = scenario();
        } catch (...) {
        }
        std::fflush(nullptr);
        ::_exit(status == kNoNamespace ? 1 : status);
    }
    ::close(reason[1]);
    int status = 0;
    const bool done = child > 0 && ::waitpid(child, &status, 0) == child;
    char buf[512];
    const ssize_t n = ::read(reason[0], buf, sizeof buf);
    ::close(reason[0]);
    if (done && WIFEXITED(status) && WEXITSTATUS(status) == kNoNamespace) {
        out.why = n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : "unknown";
        return out;
    }
    out.ran = true;
    const bool overran = done && WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM;
    out.status = overran ? -2 : (done && WIFEXITED(status) ? WEXITSTATUS(status) : -3);
    return out;
}

} // namespace zentrel::test
