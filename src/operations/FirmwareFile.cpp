#include "FirmwareFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace zentrel {

FirmwareFile FirmwareFile::read(const std::string& path, std::size_t limit) {
    FirmwareFile out;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return out;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return out;
    }
    // Read one byte past the limit rather than trust the size on disk, which may change.
    out.bytes.resize(limit + 1);
    in.read(reinterpret_cast<char*>(out.bytes.data()), static_cast<std::streamsize>(limit + 1));
    if (in.bad()) {
        out.bytes.clear();
        return out;
    }
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got > limit) {
        out.bytes.clear();
        out.status = Status::TooLarge;
        return out;
    }
    out.bytes.resize(got);
    out.status = Status::Read;
    return out;
}

bool FirmwareFile::hasFirmwareExtension(const std::string& path) {
    auto endsWith = [&path](const std::string& tail) {
        return path.size() >= tail.size() &&
               path.compare(path.size() - tail.size(), tail.size(), tail) == 0;
    };
    return endsWith(".fw") || endsWith(".BIN");
}

} // namespace zentrel
