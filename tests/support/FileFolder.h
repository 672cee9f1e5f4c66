#pragma once
// Files a test hands to a page, in a fresh folder of their own that goes with the test.
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zentrel::testing {

class FileFolder {
public:
    FileFolder() {
        static std::atomic<int> made{0};
        dir_ = std::filesystem::temp_directory_path() /
               ("zentrel-test-" + std::to_string(::getpid()) + "-" + std::to_string(++made));
        std::filesystem::create_directories(dir_);
    }
    ~FileFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    FileFolder(const FileFolder&) = delete;
    FileFolder& operator=(const FileFolder&) = delete;

    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        const std::filesystem::path p = dir_ / name;
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return p.string();
    }
    std::string path() const { return dir_.string(); }
    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
};

} // namespace zentrel::testing
