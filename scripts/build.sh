#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR, with $EXTRA_CMAKE_ARGS); warnings are
# errors under CI.
set -euo pipefail
cd "$(dirname "$0")/.."
werror=OFF
[ -n "${CI:-}" ] && werror=ON
dir=${BUILD_DIR:-build}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
eval "extra=(${EXTRA_CMAKE_ARGS:-})"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTREL_WERROR=$werror \
      "${launcher[@]}" "${extra[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
