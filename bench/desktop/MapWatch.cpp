// Starts a program on the X display and measures what a user meets: the time until its first
// large window is mapped, its resident memory then, and its CPU time over an idle stretch after
// that. Prints one line: "<map ms> <rss KiB> <idle cpu %>", then ends the program.
//   zentrel-bench-mapwatch IDLE_SECONDS PROGRAM [ARGS...]
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace {

long rssKiB(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

// User plus system time of the process, in clock ticks.
long cpuTicks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(all.substr(all.rfind(')') + 2));
    std::string f;
    long utime = 0, stime = 0;
    for (int i = 3; fields >> f; ++i) {
        if (i == 14) {
            utime = std::stol(f);
        } else if (i == 15) {
            stime = std::stol(f);
            break;
        }
    }
    return utime + stime;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s IDLE_SECONDS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int idleSeconds = std::atoi(argv[1]);
    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double mapMs = -1;
    while (mapMs < 0) {
        XEvent e;
        XNextEvent(dpy, &e);
        if (e.type != MapNotify) {
            continue;
        }
        XWindowAttributes a;
        if (XGetWindowAttributes(dpy, e.xmap.window, &a) && a.width >= 600 && a.height >= 500) {
            mapMs =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
        }
    }
    const long rss = rssKiB(pid);
    const long before = cpuTicks(pid);
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const long after = cpuTicks(pid);
    const double idle = idleSeconds > 0
                            ? 100.0 * static_cast<double>(after - before) /
                                  static_cast<double>(sysconf(_SC_CLK_TCK)) / idleSeconds
                            : 0.0;
    std::printf("%.1f %ld %.3f\n", mapMs, rss, idle);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(dpy);
    return 0;
}
