#pragma once
// The simulator's log on standard output: one line per frame or block in and out, with the time
// since start, the direction, the link, the bytes in hexadecimal and the command's name, and a
// few lines about links coming and going. Lines are flushed at once so a test or a person
// watching a pipe sees each frame as it happens.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zentrel::sim {

class FrameLog {
public:
    explicit FrameLog(std::FILE* out) : out_(out) {}

    void frame(std::int64_t atUs, const char* direction, const std::string& link,
               const std::vector<std::uint8_t>& bytes, const std::string& name);
    void note(std::int64_t atUs, const std::string& link, const std::string& text);

    // "    12.345 in  COM3  A5 5B ...  switch input 3 to output 2"
    static std::string frameLine(std::int64_t atUs, const char* direction, const std::string& link,
                                 const std::vector<std::uint8_t>& bytes, const std::string& name);

private:
    void write(const std::string& line);
    std::FILE* out_;
};

} // namespace zentrel::sim
