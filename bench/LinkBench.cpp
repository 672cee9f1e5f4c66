#include "LinkBench.h"

#include "platform/posix/ComPortNames.h"
#include "platform/qt/QtEventLoop.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

#include <unistd.h>

namespace zentrel::bench {

namespace {

QtEventLoop* theLoop = nullptr;

std::vector<Pair>& pairs() {
    static std::vector<Pair> all;
    return all;
}

// The console output as usual, plus the real time per iteration of every run for the ratios:
// the median when the run is repeated (--benchmark_repetitions), else the single run.
class Collector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred) {
                continue;
            }
            const std::string& name = r.run_name.function_name;
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
                medianUs[name] = r.GetAdjustedRealTime();
            } else if (r.run_type == Run::RT_Iteration) {
                lastUs[name] = r.GetAdjustedRealTime();
            }
        }
    }
    const double* realUs(const std::string& name) const {
        for (const auto* table : {&medianUs, &lastUs}) {
            if (auto it = table->find(name); it != table->end()) {
                return &it->second;
            }
        }
        return nullptr;
    }

private:
    std::map<std::string, double> medianUs;
    std::map<std::string, double> lastUs;
};

} // namespace

EventLoop& uiLoop() {
    return *theLoop;
}

bool runUiUntil(benchmark::State& state, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            state.SkipWithError("no reply within a second");
            return false;
        }
        // Sleeps until the link's thread or socket posts something, as the program's loop does.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

const std::vector<std::uint8_t>& requestFrame() {
    static const std::vector<std::uint8_t> frame{0xA5, 0x5B, 0x02, 0x03, 0x03, 0x00, 0x02,
                                                 0x00, 0x00, 0x00, 0x00, 0x00, 0xF6};
    return frame;
}

void countFrames(benchmark::State& state) {
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

bool addPair(Pair pair) {
    pairs().push_back(std::move(pair));
    return true;
}

} // namespace zentrel::bench

int main(int argc, char** argv) {
    using namespace zentrel;
    using namespace zentrel::bench;
    // Ports are published in a private port directory, never the user's own.
    const auto runtime =
        std::filesystem::temp_directory_path() / ("zentrel-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(runtime);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    std::filesystem::create_directories(comPortDirectory());

    QCoreApplication app(argc, argv);
    QtEventLoop loop;
    theLoop = &loop;
    // Keeps a waiting processEvents from sleeping past runUiUntil's deadline.
    QTimer heartbeat;
    heartbeat.start(100);

    // By default each benchmark runs five times, interleaved at random with the others, so both
    // sides of a pair see the same load on the machine; the ratios use the medians. Flags given
    // on the command line come later and win.
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=5";
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    char aggregates[] = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, {repetitions, interleave, aggregates});
    int benchArgc = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&benchArgc, args.data());
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();

    std::printf("\nRound trip of a 13-byte request and its 13-byte reply; wire time of one "
                "frame at 115200 8N2: %.0f us\n",
                kFrameWireTimeUs);
    for (const Pair& p : pairs()) {
        const double* panel = collector.realUs(p.panel);
        const double* plain = collector.realUs(p.plain);
        if (panel == nullptr || plain == nullptr) {
            continue;
        }
        std::printf("%-32s panel %8.1f us, plain %8.1f us, ratio %5.2f, panel's own cost %6.1f us "
                    "= %4.1f %% of one frame's wire time\n",
                    p.what.c_str(), *panel, *plain, *panel / *plain, *panel - *plain,
                    100.0 * (*panel - *plain) / kFrameWireTimeUs);
    }
    std::filesystem::remove_all(runtime);
    return 0;
}
