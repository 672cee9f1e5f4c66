#pragma once
// Runs the built zentrel-matrix-sim as a child process with a private port directory, its output
// going to files there, and stops it with a signal. Every wait is bounded.
#include "ChildProgram.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zentrel::sim::test {

class SimProcess {
public:
    // Starts the program with `args`; XDG_RUNTIME_DIR points at a fresh directory.
    explicit SimProcess(std::vector<std::string> args) {
        char tmpl[] = "/tmp/zentrel-sim-test-XXXXXX";
        dir_ = mkdtemp(tmpl);
        pid_ = zentrel::test::startChild(ZENTREL_SIM_BIN, std::move(args), dir_, dir_);
    }

    ~SimProcess() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    std::filesystem::path portLink(int com) const {
        return dir_ / "zentrel" / "ports" / ("COM" + std::to_string(com));
    }

    // Waits up to `ms` for a log line matching `pattern`; returns its first group (or the line).
    std::optional<std::string> waitFor(const std::string& pattern, int ms = 3000) {
        const std::regex re(pattern);
        for (int waited = 0; waited <= ms; waited += 10) {
            std::istringstream lines(log());
            std::smatch m;
            for (std::string line; std::getline(lines, line);) {
                if (std::regex_search(line, m, re)) {
                    return m.size() > 1 ? m[1].str() : m[0].str();
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::nullopt;
    }

    // Sends `signal` and waits up to `ms` for the exit; returns the exit status or -1.
    int stop(int signal = SIGTERM, int ms = 3000) {
        kill(pid_, signal);
        return waitExit(ms);
    }

    int waitExit(int ms = 3000) {
        for (int waited = 0; waited <= ms; waited += 10) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    std::string log() const { return read("out"); }
    std::string errors() const { return read("err"); }

private:
    std::string read(const char* name) const {
        std::ostringstream all;
        all << std::ifstream(dir_ / name).rdbuf();
        return all.str();
    }

    std::filesystem::path dir_;
    pid_t pid_ = -1;
    bool exited_ = false;
};

} // namespace zentrel::sim::test
