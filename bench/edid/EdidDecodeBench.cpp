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

void decodeSamples(benchmark::State& state) {
    for (auto _ : state) {
        for (const auto& s : samples()) {
            benchmark::DoNotOptimize(edidinfo::decodeEdid(s));
        }
    }
    state.counters["edids_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * samples().size()), benchmark::Counter::kIsRate);
}
BENCHMARK(decodeSamples);

void decodeAndSummarise(benchmark::State& state) {
    for (auto _ : state) {
        for (const auto& s : samples()) {
            benchmark::DoNotOptimize(edidinfo::edidSummary(edidinfo::decodeEdid(s)));
        }
    }
    state.counters["edids_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * samples().size()), benchmark::Counter::kIsRate);
}
BENCHMARK(decodeAndSummarise);

void checksumReference(benchmark::State& state) {
    for (auto _ : state) {
        for (const auto& s : samples()) {
            benchmark::DoNotOptimize(std::accumulate(s.begin(), s.end(), 0u));
        }
    }
    state.counters["edids_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * samples().size()), benchmark::Counter::kIsRate);
}
BENCHMARK(checksumReference);

} // namespace

BENCHMARK_MAIN();
