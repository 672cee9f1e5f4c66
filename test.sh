#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit, integration, gui, netns, fuzz
# corpus replays). Arguments go to ctest.
#   ./test.sh --sanitize   builds into build-sanitize/ with the address and undefined-behaviour
#                          sanitizers and runs the unit, integration and fuzz tests there. Not
#                          part of CI: it takes far longer than the plain run.
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
    exit
fi
scripts/build.sh
cd build
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --timeout 300 -j"$(nproc)" "$@"
