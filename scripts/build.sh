#!/usr/bin/env bash
# Configures and builds into build/ (warnings are errors under CI).
set -euo pipefail
cd "$(dirname "$0")/.."
werror=OFF
[ -n "${CI:-}" ] && werror=ON
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTREL_WERROR=$werror >/dev/null
cmake --build build -j"$(nproc)"
