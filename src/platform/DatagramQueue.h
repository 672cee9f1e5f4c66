#pragma once
// Datagrams received and not yet read, as a datagram socket keeps them: one datagram per read,
// and what does not fit in the reader's buffer is discarded with it.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

namespace zentrel {

class DatagramQueue {
public:
    void push(std::vector<std::uint8_t> datagram) { queue_.push_back(std::move(datagram)); }
    // Copies the next datagram into `out` (cut to its size); -1 when none is waiting.
    int take(std::span<std::uint8_t> out) {
        if (queue_.empty()) {
            return -1;
        }
        const std::vector<std::uint8_t> d = std::move(queue_.front());
        queue_.pop_front();
        const std::size_t n = std::min(d.size(), out.size());
        std::copy_n(d.begin(), n, out.begin());
        return static_cast<int>(n);
    }
    bool empty() const { return queue_.empty(); }
    std::size_t size() const { return queue_.size(); }
    void clear() { queue_.clear(); }

private:
    std::deque<std::vector<std::uint8_t>> queue_;
};

} // namespace zentrel
