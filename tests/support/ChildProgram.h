#pragma once
// Starts a built program of the project as a child, as a shell would: its standard output and
// error go to files `out` and `err` in `outDir`, and XDG_RUNTIME_DIR is `runtimeDir`, so its
// COM port links are the test's own.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace zentrel::test {

inline pid_t startChild(std::string bin, std::vector<std::string> args,
                        const std::filesystem::path& outDir, const std::string& runtimeDir) {
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(::open((outDir / "out").c_str(), O_WRONLY | O_CREAT, 0600), STDOUT_FILENO);
        dup2(::open((outDir / "err").c_str(), O_WRONLY | O_CREAT, 0600), STDERR_FILENO);
        setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
        std::vector<char*> argv{bin.data()};
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        execv(bin.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

} // namespace zentrel::test
