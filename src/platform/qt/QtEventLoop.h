#pragma once
// The real event loop: Windows-style window timers on precise QTimers, posted messages as queued
// calls, nested QEventLoops for modal runs, descriptors on QSocketNotifiers.
#include "platform/EventLoop.h"

#include <QElapsedTimer>
#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

class QEventLoop;
class QTimer;

namespace zentrel {

class QtEventLoop : public QObject, public EventLoop {
    Q_OBJECT
public:
    // Needs a QCoreApplication (or QApplication) to exist; lives on the UI thread.
    QtEventLoop();
    ~QtEventLoop() override;

    std::int64_t nowMs() const override { return clock_.elapsed(); }
    void setTimer(Window& w, int id, int ms) override;
    void killTimer(Window& w, int id) override;
    bool timerRunning(const Window& w, int id) const override;
    void postMessage(Window& w, unsigned msg, WParam wp, LParam lp) override;
    LParam sendMessage(Window& w, unsigned msg, WParam wp, LParam lp) override;
    std::unique_ptr<DescriptorWatch> watch(int fd, DescriptorWatch::Direction direction,
                                           std::function<void()> ready) override;
    void runModal(Window& w) override;
    void modalEndRequested(Window& w) override;
    void postQuit() override;
    bool quitRequested() const override { return quit_; }
    void adopt(Window& w) override;
    void forget(Window& w) override;

private:
    // Runs fn on the UI thread later, unless w has been forgotten meanwhile. Any thread.
    void queue(Window& w, std::function<void(Window&)> fn);

    QElapsedTimer clock_;
    std::map<std::pair<const Window*, int>, QTimer*> timers_;
    std::vector<std::pair<Window*, QEventLoop*>> modalLoops_;
    bool quit_ = false;

    std::mutex mutex_; // guards generations_: posting threads read it
    // The live windows, each with the generation it was adopted in.
    std::unordered_map<const Window*, std::uint64_t> generations_;
    std::uint64_t nextGeneration_ = 1;
};

} // namespace zentrel
