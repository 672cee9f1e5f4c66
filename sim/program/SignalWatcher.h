#pragma once
// Turns SIGINT, SIGTERM and SIGHUP into a call on the event loop (through a pipe, the one thing
// a signal handler may safely do), so the simulator ends by the same path every time and
// removes its port link.
#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace zentrel::sim {

class SignalWatcher : public QObject {
public:
    explicit SignalWatcher(std::function<void(int signal)> onSignal, QObject* parent = nullptr);
    ~SignalWatcher() override;

private:
    static void handler(int signal);
    static int pipe_[2];

    std::function<void(int)> onSignal_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace zentrel::sim
