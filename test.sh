#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit, integration, gui, netns).
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh
cd build
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --timeout 300 -j"$(nproc)" "$@"
