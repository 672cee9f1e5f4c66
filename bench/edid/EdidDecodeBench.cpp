// zentrel-bench-edid: decodes every sample EDID, beside a plain checksum pass over the same bytes
// (the least any reader of the file does), and prints EDIDs decoded per second on one core.
#include "edid/EdidDecoder.h"
#include "edid/EdidText.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <vector>

namespace {

const std::vector<std::vector<std::uint8_t>>& samples() {
    static const std::vector<std::vector<std::uint8_t>> all = [] {
        std::vector<std::vector<std::uint8_t>> out;
        for (const auto& e : std::filesystem::directory_iterator(EDID_SAMPLES "/bin")) {
            std::ifstream in(e.path(), std::ios::binary);
            out.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        return out;
    }();
    return all;
}

// Every benchmark reports the same figure, so the three read side by side.
void countEdidsPerSecond(benchmark::State& state) {
    state.counters["edids_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * samples().size()), benchmark::Counter::kIsRate);
}

void decodeSamples(benchmark::State& state) {
    for (auto _ : state) {
        for (const auto& s : samples()) {
            benchmark::DoNotOptimize(edidinfo::decodeEdid(s));
        }
    }
    countEdidsPerSecond(state);
}
BENCHMARK(decodeSamples);

void decodeAndSummarise(benchmark::State& state) {
    for (auto _ : state) {
        for (const auto& s : samples()) {
            benchmark::DoNotOptimize(edidinfo::edidSummary(edidinfo::decodeEdid(s)));
        }
    }
    countEdidsPerSecond(state);
}
BENCHMARK(decodeAndSummarise);

void checksumReference(benchmark::State& state) {
    for (auto _ : state) {
        for (const auto& s : samples()) {
            benchmark::DoNotOptimize(std::accumulate(s.begin(), s.end(), 0u));
        }
    }
    countEdidsPerSecond(state);
}
BENCHMARK(checksumReference);

} // namespace

BENCHMARK_MAIN();
