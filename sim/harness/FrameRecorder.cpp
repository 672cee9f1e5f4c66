#include "FrameRecorder.h"

namespace zentrel::sim {

std::vector<std::string> FrameRecorder::select(FrameRecord::Direction d,
                                               const std::string& link) const {
    std::vector<std::string> out;
    for (const FrameRecord& r : records_) {
        if (r.direction == d && (link.empty() || r.link == link)) {
            out.push_back(r.hex);
        }
    }
    return out;
}

std::vector<std::string> FrameRecorder::toMatrix(const std::string& link) const {
    return select(FrameRecord::Direction::ToMatrix, link);
}

std::vector<std::string> FrameRecorder::fromMatrix(const std::string& link) const {
    return select(FrameRecord::Direction::FromMatrix, link);
}

std::string FrameRecorder::transcript() const {
    std::string out;
    for (const FrameRecord& r : records_) {
        out += std::to_string(r.atMs) + " ms " +
               (r.direction == FrameRecord::Direction::ToMatrix ? "-> " : "<- ") + r.link + " " +
               r.hex + "  " + r.name + "\n";
    }
    return out;
}

} // namespace zentrel::sim
