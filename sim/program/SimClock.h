#pragma once
// Real time since the simulator started, in microseconds: the base of its log and of its
// reply schedule.
#include <QElapsedTimer>

#include <cstdint>

namespace zentrel::sim {

class SimClock {
public:
    SimClock() { timer_.start(); }
    std::int64_t nowUs() const { return timer_.nsecsElapsed() / 1000; }

private:
    QElapsedTimer timer_;
};

} // namespace zentrel::sim
