#pragma once
// What a datagram socket keeps of what it received, and how it tells its window: one datagram
// per read, what does not fit in the reader's buffer discarded with it, and FD_READ announced
// once until a read while datagrams wait. Both socket backends share it, so they cannot drift.
#include "SocketNotifier.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

namespace zentrel {

class DatagramInbox {
public:
    DatagramInbox(EventLoop& loop, WParam handle) : notifier_(loop, handle) {}

    WParam handle() const { return notifier_.handle(); }

    // A new target hears at once of datagrams already waiting, and that the socket can send.
    void select(Window& w, unsigned msg, int events) {
        notifier_.select(w, msg, events);
        if (!queue_.empty()) {
            notifier_.announceRead();
        }
        notifier_.notify(FD_WRITE);
    }
    void arrive(std::vector<std::uint8_t> datagram) {
        queue_.push_back(std::move(datagram));
        notifier_.announceRead();
    }
    // Copies the next datagram into `out` (cut to its size); -1 when none is waiting.
    int read(std::span<std::uint8_t> out) {
        notifier_.readTaken();
        if (queue_.empty()) {
            return -1;
        }
        const std::vector<std::uint8_t> d = std::move(queue_.front());
        queue_.pop_front();
        const std::size_t n = std::min(d.size(), out.size());
        std::copy_n(d.begin(), n, out.begin());
        if (!queue_.empty()) {
            notifier_.announceRead();
        }
        return static_cast<int>(n);
    }
    // After a close nothing waits and nothing more is posted.
    void close() {
        notifier_.silence();
        queue_.clear();
    }
    std::size_t size() const { return queue_.size(); }

private:
    SocketNotifier notifier_;
    std::deque<std::vector<std::uint8_t>> queue_;
};

} // namespace zentrel
