#include "LinkBench.h"

#include "platform/posix/ComPortNames.h"
#include "platform/qt/QtEventLoop.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

#include <sched.h>
#include <unistd.h>

namespace zentrel::bench {

namespace {

QtEventLoop* theLoop = nullptr;

std::vector<Pair>& pairs() {
    static std::vector<Pair> all;
    return all;
}

// The console output as usual, plus the real time per iteration of every run for the ratios:
// the median and standard deviation when the run is repeated (--benchmark_repetitions), else
// the single run with no spread.
class Collector : public benchmark::ConsoleReporter {
public:
    struct Figure {
        double medianUs = 0;
        double stddevUs = 0;
    };
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred) {
                continue;
            }
            const std::string& name = r.run_name.function_name;
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
                repeated[name].medianUs = r.GetAdjustedRealTime();
            } else if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "stddev") {
                repeated[name].stddevUs = r.GetAdjustedRealTime();
            } else if (r.run_type == Run::RT_Iteration) {
                single[name].medianUs = r.GetAdjustedRealTime();
            }
        }
    }
    const Figure* realUs(const std::string& name) const {
        for (const auto* table : {&repeated, &single}) {
            if (auto it = table->find(name); it != table->end()) {
                return &it->second;
            }
        }
        return nullptr;
    }

private:
    std::map<std::string, Figure> repeated;
    std::map<std::string, Figure> single;
};

// Every thread of the run (UI, the channel's monitor, the far end, the plain loop) on one core:
// both sides of a pair then see the same wake-ups and caches, not whichever cores the scheduler
// happened to give each run. The core is the last one, where the rest of the machine is least.
void pinToOneCore() {
    cpu_set_t allowed;
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0) {
        return;
    }
    for (int cpu = CPU_SETSIZE - 1; cpu >= 0; --cpu) {
        if (CPU_ISSET(cpu, &allowed)) {
            cpu_set_t one;
            CPU_ZERO(&one);
            CPU_SET(cpu, &one);
            sched_setaffinity(0, sizeof one, &one);
            std::printf("all threads on core %d\n", cpu);
            return;
        }
    }
}

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

    pinToOneCore();
    QCoreApplication app(argc, argv);
    QtEventLoop loop;
    theLoop = &loop;
    // Keeps a waiting processEvents from sleeping past runUiUntil's deadline.
    QTimer heartbeat;
    heartbeat.start(100);

    // By default each benchmark runs twelve times, interleaved at random with the others, so both
    // sides of a pair see the same load on the machine; the ratios use the medians. Flags given
    // on the command line come later and win.
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=12";
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    char aggregates[] = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, {repetitions, interleave, aggregates});
    int benchArgc = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&benchArgc, args.data());
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();

    std::printf(
        "\nRound trip of a 13-byte request and its 13-byte reply; wire time of one "
        "frame at 115200 8N2: %.0f us; medians +- standard deviation over the repetitions\n",
        kFrameWireTimeUs);
    // The own cost's spread adds both sides' deviations, as the runs are not paired.
    for (const Pair& p : pairs()) {
        const Collector::Figure* panel = collector.realUs(p.panel);
        const Collector::Figure* plain = collector.realUs(p.plain);
        if (panel == nullptr || plain == nullptr) {
            continue;
        }
        const double own = panel->medianUs - plain->medianUs;
        const double spread = std::hypot(panel->stddevUs, plain->stddevUs);
        std::printf("%-32s panel %8.1f +- %5.1f us, plain %8.1f +- %5.1f us, ratio %5.2f, "
                    "panel's own cost %6.1f +- %5.1f us = %4.1f +- %4.1f %% of one frame's wire "
                    "time\n",
                    p.what.c_str(), panel->medianUs, panel->stddevUs, plain->medianUs,
                    plain->stddevUs, panel->medianUs / plain->medianUs, own, spread,
                    100.0 * own / kFrameWireTimeUs, 100.0 * spread / kFrameWireTimeUs);
    }
    std::filesystem::remove_all(runtime);
    return 0;
}
