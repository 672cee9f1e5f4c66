#pragma once
// Every unit that crossed between the panel and the simulated matrix, in the order it did, as
// hexadecimal text: what page tests assert on ("the panel sent A5 5B 02 03 ...").
#include <cstdint>
#include <string>
#include <vector>

namespace zentrel::sim {

struct FrameRecord {
    enum class Direction { ToMatrix, FromMatrix };
    std::int64_t atMs = 0;
    Direction direction = Direction::ToMatrix;
    std::string link; // "COM3", "TCP1", "UDP"
    std::string hex;  // "A5 5B 02 03 03 00 02 00 00 00 00 00 F6"
    std::string name; // "switch input 3 to output 2"
};

class FrameRecorder {
public:
    void add(FrameRecord record) { records_.push_back(std::move(record)); }
    void clear() { records_.clear(); }
    const std::vector<FrameRecord>& all() const { return records_; }

    // The hex of every unit the matrix received (frames, data blocks, stray bytes), optionally
    // of one link only.
    std::vector<std::string> toMatrix(const std::string& link = "") const;
    // The hex of every reply the matrix sent, each whole once its last piece has left.
    std::vector<std::string> fromMatrix(const std::string& link = "") const;
    // One line per record with time, direction, link, hex and name: for failure messages.
    std::string transcript() const;

private:
    std::vector<std::string> select(FrameRecord::Direction d, const std::string& link) const;
    std::vector<FrameRecord> records_;
};

} // namespace zentrel::sim
