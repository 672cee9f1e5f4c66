#pragma once
// Runs the built zentrel-ctl as a user's shell would: arguments in, exit status, standard output
// and standard error out. The tool must end within its own waits; a run that outlives `limitMs`
// is killed and reported as status -1.
#include "ChildProgram.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zentrel::test {

struct CtlResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string readWhole(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// `runtimeDir`, when given, becomes XDG_RUNTIME_DIR, so --com N finds the simulator's port links.
inline CtlResult runCtl(std::vector<std::string> args, const std::string& runtimeDir = {},
                        int limitMs = 10000) {
    char tmpl[] = "/tmp/zentrel-ctl-test-XXXXXX";
    const std::filesystem::path dir = mkdtemp(tmpl);
    const pid_t pid = startChild(ZENTREL_CTL_BIN, std::move(args), dir,
                                 runtimeDir.empty() ? dir.string() : runtimeDir);
    CtlResult r;
    int st = 0;
    for (int waited = 0; waited <= limitMs; waited += 5) {
        if (waitpid(pid, &st, WNOHANG) == pid) {
            r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (r.status == -1 && waitpid(pid, &st, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    r.out = readWhole(dir / "out");
    r.err = readWhole(dir / "err");
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return r;
}

} // namespace zentrel::test
