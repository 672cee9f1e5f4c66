#pragma once
// The file operations the profile store needs, so that what it does with files is in one place
// and a test can watch or break it. Paths are full paths.
#include <functional>
#include <optional>
#include <string>

namespace zentrel {

class ProfileFiles {
public:
    virtual ~ProfileFiles() = default;

    // The whole file, or nothing when there is no such file; an error reading it throws.
    virtual std::optional<std::string> read(const std::string& path) = 0;
    // Writes `bytes` to `temp`, flushes them to the disk, then renames `temp` over `path`: the
    // file is either the old one or the new one, never a part of either. Throws on failure.
    virtual void replace(const std::string& path, const std::string& temp,
                         const std::string& bytes) = 0;
    // Renames `from` to `to`, replacing `to`. Throws on failure.
    virtual void rename(const std::string& from, const std::string& to) = 0;
    // Creates the folder and its parents when missing. Throws on failure.
    virtual void makeFolder(const std::string& path) = 0;
    // Runs `work` holding an exclusive lock on the lock file `path` (created when missing), so
    // two programs never read-change-write the same profile at once.
    virtual void locked(const std::string& path, const std::function<void()>& work) = 0;
};

} // namespace zentrel
