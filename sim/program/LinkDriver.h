#pragma once
// One link of the running simulator (its serial port, or one TCP connection): hands what the
// panel sent to the model, logs it, and writes the model's replies back when they are due. On
// the serial line every byte also takes its wire time, 11 bits at 115200 baud, both ways.
#include "FrameLog.h"
#include "SimClock.h"
#include "sim/model/MatrixModel.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zentrel::sim {

class LinkDriver : public QObject {
public:
    // Puts bytes on the link; false when nobody is there to take them.
    using Writer = std::function<bool(const std::vector<std::uint8_t>&)>;

    LinkDriver(MatrixModel& model, FrameLog& log, const SimClock& clock, std::string name,
               bool serialWire, Writer writer, QObject* parent = nullptr);

    const std::string& name() const { return name_; }
    // Bytes that arrived from the panel just now.
    void deliver(const std::vector<std::uint8_t>& bytes);
    // A frame the matrix sends without being asked.
    void sendUnprompted(const Reply& reply);
    // Drops replies still waiting: the panel has gone.
    void discardPending();
    // How the link is dropped when the matrix closes it (TCP connections only).
    void setCloser(std::function<void()> closer) { closer_ = std::move(closer); }

    // Microseconds that `count` bytes take on the serial line.
    static std::int64_t wireTimeUs(std::size_t count);

private:
    struct Outgoing {
        std::vector<std::uint8_t> bytes;
        std::string name;
    };
    void schedule(const Reply& reply, std::int64_t baseUs);
    void flushDue();
    void arm();

    MatrixModel& model_;
    FrameLog& log_;
    const SimClock& clock_;
    std::string name_;
    bool serialWire_;
    Writer writer_;
    std::function<void()> closer_;
    WireIntake intake_;
    std::int64_t inboundDoneUs_ = 0;
    std::int64_t lineFreeUs_ = 0;
    std::uint64_t seq_ = 0;
    std::map<std::pair<std::int64_t, std::uint64_t>, Outgoing> queue_; // by due time, then order
    QTimer timer_;
};

} // namespace zentrel::sim
