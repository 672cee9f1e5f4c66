#include "LinkDriver.h"

#include <algorithm>

namespace zentrel::sim {

LinkDriver::LinkDriver(MatrixModel& model, FrameLog& log, const SimClock& clock, std::string name,
                       bool serialWire, Writer writer, QObject* parent)
    : QObject(parent), model_(model), log_(log), clock_(clock), name_(std::move(name)),
      serialWire_(serialWire), writer_(std::move(writer)), intake_(model.newLink()) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { flushDue(); });
}

std::int64_t LinkDriver::wireTimeUs(std::size_t count) {
    constexpr std::int64_t kBitsPerByte = 11; // start, 8 data, 2 stop
    constexpr std::int64_t kBaud = 115200;
    return (static_cast<std::int64_t>(count) * kBitsPerByte * 1'000'000 + kBaud - 1) / kBaud;
}

void LinkDriver::deliver(const std::vector<std::uint8_t>& bytes) {
    const std::int64_t now = clock_.nowUs();
    // On the serial line the last byte is in only once all of them have crossed it.
    std::int64_t doneUs = now;
    if (serialWire_) {
        inboundDoneUs_ = std::max(now, inboundDoneUs_) + wireTimeUs(bytes.size());
        doneUs = inboundDoneUs_;
    }
    const Exchange ex = model_.receive(intake_, bytes, doneUs / 1000);
    for (const Inbound& in : ex.in) {
        log_.frame(doneUs, "in", name_, in.bytes, in.name);
    }
    for (const Reply& r : ex.out) {
        schedule(r, doneUs);
    }
    if (ex.closeLink && closer_) {
        log_.note(doneUs, name_, "closing the connection");
        closer_();
    }
}

void LinkDriver::sendUnprompted(const Reply& reply) {
    schedule(reply, clock_.nowUs());
}

void LinkDriver::discardPending() {
    queue_.clear();
    timer_.stop();
}

void LinkDriver::schedule(const Reply& reply, std::int64_t baseUs) {
    const std::size_t count = reply.pieces.size();
    for (std::size_t i = 0; i < count; ++i) {
        const Piece& p = reply.pieces[i];
        std::int64_t dueUs = baseUs + p.delayMs * 1000;
        if (serialWire_) {
            // Bytes reach the panel when they have crossed the line, one piece after another.
            dueUs = std::max(dueUs, lineFreeUs_) + wireTimeUs(p.length);
            lineFreeUs_ = dueUs;
        }
        Outgoing out;
        const auto from = reply.bytes.begin() + static_cast<std::ptrdiff_t>(p.offset);
        out.bytes.assign(from, from + static_cast<std::ptrdiff_t>(p.length));
        out.name = reply.name;
        if (count > 1) {
            out.name += " (piece " + std::to_string(i + 1) + "/" + std::to_string(count) + ")";
        }
        queue_.emplace(std::pair{dueUs, ++seq_}, std::move(out));
    }
    arm();
}

void LinkDriver::arm() {
    if (queue_.empty()) {
        timer_.stop();
        return;
    }
    const std::int64_t waitUs = queue_.begin()->first.first - clock_.nowUs();
    timer_.start(static_cast<int>(std::max<std::int64_t>(0, (waitUs + 999) / 1000)));
}

void LinkDriver::flushDue() {
    const std::int64_t now = clock_.nowUs();
    while (!queue_.empty() && queue_.begin()->first.first <= now + 500) {
        Outgoing out = std::move(queue_.begin()->second);
        queue_.erase(queue_.begin());
        if (writer_(out.bytes)) {
            log_.frame(now, "out", name_, out.bytes, out.name);
        } else {
            log_.frame(now, "---", name_, out.bytes, out.name + " (nobody listening, dropped)");
        }
    }
    arm();
}

} // namespace zentrel::sim
