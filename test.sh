#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit, integration, gui, netns, fuzz
# corpus replays). Arguments go to ctest.
#   ./test.sh --sanitize   builds into build-sanitize/ with the address and undefined-behaviour
#                          sanitizers and runs the unit, integration and fuzz tests there, then
#                          builds the serial channel's tests into build-tsan/ with the thread
#                          sanitizer (the one part of the panel with a thread of its own) and
#                          runs them. Not part of CI: it takes far longer than the plain run.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
if [ "${1:-}" = "--sanitize" ]; then
    shift
    BUILD_DIR=build-sanitize \
    EXTRA_CMAKE_ARGS="-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined\ -fno-sanitize-recover=all\ -fno-omit-frame-pointer -DZENTREL_BENCH=OFF" \
        scripts/build.sh
    cd build-sanitize
    export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
    ctest --output-on-failure --timeout 600 -j"$(nproc)" -L 'unit|integration|fuzz' "$@"
    cd ..
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTREL_BENCH=OFF \
          "-DCMAKE_CXX_FLAGS=-fsanitize=thread -fno-omit-frame-pointer" "${launcher[@]}" >/dev/null
    cmake --build build-tsan -j"$(nproc)" --target test_serial_channel
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" build-tsan/tests/test_serial_channel
    exit
fi
scripts/build.sh
cd build
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --timeout 300 -j"$(nproc)" "$@"
