#pragma once
// What the link benchmarks share: the UI thread's event loop, a way to run it until a frame is
// back, and the pairs (panel's link beside a plain loop) whose times main() prints as ratios.
#include "platform/EventLoop.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zentrel::bench {

constexpr std::size_t kFrameSize = 13;
// One 13-byte frame at 115200 baud with 11 bits a byte (8N2).
constexpr double kFrameWireTimeUs = 13 * 11 * 1e6 / 115200;

EventLoop& uiLoop();

// Runs the UI thread's events until `done` holds. False (and the benchmark is marked failed)
// when it still does not after a second.
bool runUiUntil(benchmark::State& state, const std::function<bool()>& done);

// The request every round trip sends: a valid switch command.
const std::vector<std::uint8_t>& requestFrame();

// Reports frames per second for a benchmark that did one round trip per iteration.
void countFrames(benchmark::State& state);

struct Pair {
    std::string what;  // "serial over a pseudo-terminal"
    std::string panel; // benchmark name of the panel's link
    std::string plain; // benchmark name of the plain loop
};
// Called from a static initialiser of each benchmark file.
bool addPair(Pair pair);

} // namespace zentrel::bench
