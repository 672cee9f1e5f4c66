#pragma once
// The profile store's file operations on the real file system (POSIX calls, flock).
#include "ProfileFiles.h"

namespace zentrel {

class PosixProfileFiles : public ProfileFiles {
public:
    std::optional<std::string> read(const std::string& path) override;
    void replace(const std::string& path, const std::string& temp,
                 const std::string& bytes) override;
    void rename(const std::string& from, const std::string& to) override;
    void makeFolder(const std::string& path) override;
    void locked(const std::string& path, const std::function<void()>& work) override;
};

} // namespace zentrel
