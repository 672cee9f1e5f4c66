#pragma once
// Runs the built zentrel-matrix-sim as a child process with a private port directory, reads its
// log line by line, and stops it with a signal. Every wait is bounded.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zentrel::sim::test {

class SimProcess {
public:
    // Starts the program with `args`; XDG_RUNTIME_DIR points at a fresh directory.
    explicit SimProcess(const std::vector<std::string>& args) {
        char tmpl[] = "/tmp/zentrel-sim-test-XXXXXX";
        runtimeDir_ = mkdtemp(tmpl);
        int out[2];
        int err[2];
        if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            setenv("XDG_RUNTIME_DIR", runtimeDir_.c_str(), 1);
            std::vector<char*> argv;
            static std::string bin = ZENTREL_SIM_BIN;
            argv.push_back(bin.data());
            std::vector<std::string> copy = args;
            for (std::string& a : copy) {
                argv.push_back(a.data());
            }
            argv.push_back(nullptr);
            execv(bin.c_str(), argv.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
        fcntl(out_, F_SETFL, O_NONBLOCK);
        fcntl(err_, F_SETFL, O_NONBLOCK);
    }

    ~SimProcess() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) {
            close(out_);
        }
        if (err_ >= 0) {
            close(err_);
        }
        std::error_code ec;
        std::filesystem::remove_all(runtimeDir_, ec);
    }

    std::filesystem::path portLink(int com) const {
        return runtimeDir_ / "zentrel" / "ports" / ("COM" + std::to_string(com));
    }

    // Waits up to `ms` for a log line matching `pattern`; returns its first group (or the line).
    std::optional<std::string> waitFor(const std::string& pattern, int ms = 3000) {
        const std::regex re(pattern);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        std::size_t scanned = 0;
        while (true) {
            for (; scanned < lines_.size(); ++scanned) {
                std::smatch m;
                if (std::regex_search(lines_[scanned], m, re)) {
                    return m.size() > 1 ? m[1].str() : m[0].str();
                }
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !pump(static_cast<int>(left.count()))) {
                return std::nullopt;
            }
        }
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
                drain();
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    std::string log() const {
        std::string all;
        for (const std::string& l : lines_) {
            all += l + "\n";
        }
        return all;
    }
    const std::string& errors() const { return stderr_; }

private:
    // Reads what is there, waiting up to `ms` for something; false at end of output.
    bool pump(int ms) {
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, ms) < 0) {
            return false;
        }
        return drain();
    }

    bool drain() {
        char buf[4096];
        bool open = true;
        while (true) {
            const ssize_t n = read(out_, buf, sizeof buf);
            if (n > 0) {
                partial_.append(buf, static_cast<std::size_t>(n));
                continue;
            }
            open = n < 0; // 0: end of output
            break;
        }
        for (std::size_t nl; (nl = partial_.find('\n')) != std::string::npos;) {
            lines_.push_back(partial_.substr(0, nl));
            partial_.erase(0, nl + 1);
        }
        while (true) {
            const ssize_t n = read(err_, buf, sizeof buf);
            if (n <= 0) {
                break;
            }
            stderr_.append(buf, static_cast<std::size_t>(n));
        }
        return open;
    }

    std::filesystem::path runtimeDir_;
    pid_t pid_ = -1;
    bool exited_ = false;
    int out_ = -1;
    int err_ = -1;
    std::string partial_;
    std::vector<std::string> lines_;
    std::string stderr_;
};

} // namespace zentrel::sim::test
