#include "SignalWatcher.h"

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace zentrel::sim {

int SignalWatcher::pipe_[2] = {-1, -1};

namespace {
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
}

SignalWatcher::SignalWatcher(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        unsigned char sig = 0;
        while (::read(pipe_[0], &sig, 1) == 1) {
            if (onSignal_) {
                onSignal_(sig);
            }
        }
    });
    struct sigaction sa {};
    sa.sa_handler = &SignalWatcher::handler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : kSignals) {
        sigaction(s, &sa, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN); // a panel that vanished mid-write is not a reason to die
}

SignalWatcher::~SignalWatcher() {
    for (int s : kSignals) {
        std::signal(s, SIG_DFL);
    }
    notifier_.reset();
    for (int& fd : pipe_) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

void SignalWatcher::handler(int signal) {
    const unsigned char sig = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(pipe_[1], &sig, 1);
}

} // namespace zentrel::sim
