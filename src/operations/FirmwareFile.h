#pragma once
// Reading a firmware file from disk, before any of it reaches the image: the extension test and
// the refusals (a file that cannot be read, a directory, a file too large for the image).
#include <cstdint>
#include <string>
#include <vector>

namespace zentrel {

struct FirmwareFile {
    enum class Status { Read, Unreadable, TooLarge };
    Status status = Status::Unreadable;
    std::vector<std::uint8_t> bytes;

    // Reads at most `limit` bytes; a longer file is TooLarge and nothing of it is kept.
    static FirmwareFile read(const std::string& path, std::size_t limit);
    // The path ends with ".fw" or ".BIN", exactly as written.
    static bool hasFirmwareExtension(const std::string& path);
};

} // namespace zentrel
