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
    // What waits unread, at most. Datagrams come from anyone on the segment; past these bounds
    // they are dropped, as the system drops them when a socket's receive buffer is full.
    static constexpr std::size_t kMaxDatagrams = 64;
    static constexpr std::size_t kMaxBytes = 128 * 1024;

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
    // False when the datagram was dropped because too much waits already.
    bool arrive(std::vector<std::uint8_t> datagram) {
        if (queue_.size() >= kMaxDatagrams || bytes_ + datagram.size() > kMaxBytes) {
            return false;
        }
        bytes_ += datagram.size();
        queue_.push_back(std::move(datagram));
        notifier_.announceRead();
        return true;
    }
    // Copies the next datagram into `out` (cut to its size); -1 when none is waiting.
    int read(std::span<std::uint8_t> out) {
        notifier_.readTaken();
        if (queue_.empty()) {
            return -1;
        }
        const std::vector<std::uint8_t> d = std::move(queue_.front());
        queue_.pop_front();
        bytes_ -= d.size();
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
        bytes_ = 0;
    }
    std::size_t size() const { return queue_.size(); }

private:
    SocketNotifier notifier_;
    std::deque<std::vector<std::uint8_t>> queue_;
    std::size_t bytes_ = 0;
};

} // namespace zentrel
