// A full profile (every name twenty characters, eight routings, an address list) read, and
// changed under the lock with its flush and rename, beside the bare cost of the disk: writing the
// same bytes to a file, flushing and renaming it.
#include "profile/PosixProfileFiles.h"
#include "profile/ProfileJson.h"
#include "profile/ProfileStore.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

using namespace zentrel;

std::string folder() {
    static const std::string path = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zentrel-bench-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    return path;
}

MatrixProfile fullProfile() {
    MatrixProfile p = MatrixProfile::defaults();
    for (std::size_t k = 0; k < MatrixProfile::kPorts; ++k) {
        p.inputNames[k] = "Eingang Ü " + std::string(10, static_cast<char>('a' + k));
        p.outputNames[k] = "Ausgang Ö " + std::string(10, static_cast<char>('k' + k));
        p.routings[k] = {"Routing " + std::string(12, 'r'), {1, 2, 3, 4, 5, 6, 7, 8}};
    }
    p.mac = "00:1a:2b:3c:4d:5e";
    for (int i = 0; i < 16; ++i) {
        p.ipList.push_back("192.168.100." + std::to_string(i));
    }
    return p;
}

void readAndChangeProfile(benchmark::State& state) {
    PosixProfileFiles files;
    ProfileStore store(folder(), files);
    const MatrixProfile full = fullProfile();
    store.changeMatrix("com1", [&](MatrixProfile& p) { p = full; });
    int n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.matrix("com1"));
        store.changeMatrix("com1",
                           [&](MatrixProfile& p) { p.inputNames[0] = std::to_string(++n); });
    }
}
BENCHMARK(readAndChangeProfile)->Unit(benchmark::kMillisecond);

void readProfile(benchmark::State& state) {
    PosixProfileFiles files;
    ProfileStore store(folder(), files);
    const MatrixProfile full = fullProfile();
    store.changeMatrix("com2", [&](MatrixProfile& p) { p = full; });
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.matrix("com2"));
    }
}
BENCHMARK(readProfile)->Unit(benchmark::kMillisecond);

void plainWriteAndRename(benchmark::State& state) {
    const std::string bytes = profileText(fullProfile());
    const std::string path = folder() + "/plain.json";
    for (auto _ : state) {
        const int fd = ::open((path + ".tmp").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
        ::fsync(fd);
        ::close(fd);
        ::rename((path + ".tmp").c_str(), path.c_str());
    }
}
BENCHMARK(plainWriteAndRename)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove_all(folder());
}
