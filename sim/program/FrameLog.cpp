#include "FrameLog.h"

#include "sim/model/Exchange.h"

namespace zentrel::sim {

namespace {

std::string prefix(std::int64_t atUs, const char* direction, const std::string& link) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%10.3f %-3s %-5s ", static_cast<double>(atUs) / 1e6, direction,
                  link.c_str());
    return buf;
}

} // namespace

std::string FrameLog::frameLine(std::int64_t atUs, const char* direction, const std::string& link,
                                const std::vector<std::uint8_t>& bytes, const std::string& name) {
    return prefix(atUs, direction, link) + hexBytes(bytes) + "  " + name;
}

void FrameLog::frame(std::int64_t atUs, const char* direction, const std::string& link,
                     const std::vector<std::uint8_t>& bytes, const std::string& name) {
    write(frameLine(atUs, direction, link, bytes, name));
}

void FrameLog::note(std::int64_t atUs, const std::string& link, const std::string& text) {
    write(prefix(atUs, "--", link) + text);
}

void FrameLog::write(const std::string& line) {
    std::fputs(line.c_str(), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

} // namespace zentrel::sim
