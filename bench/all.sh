#!/usr/bin/env bash
# Every benchmark in one run, each figure printed beside its reference and the goal it answers
# to. Needs the build (scripts/build.sh), Xvfb for the desktop figures, and a quiet machine:
# other work on the cores shows up as panel cost.
#   bench/all.sh [IDLE_SECONDS]     (default 60; the whole run takes about six minutes)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin
for b in zentrel zentrel-matrix-sim zentrel-bench-links zentrel-bench-panel zentrel-bench-upgrade \
    zentrel-bench-mapwatch zentrel-bench-bare; do
    [ -x "$bin/$b" ] || {
        echo "$bin/$b is missing: run scripts/build.sh first" >&2
        exit 1
    }
done

section() { printf '\n== %s\n   goal: %s\n' "$1" "$2"; }

section "desktop: the panel beside a bare Qt window of the same size" \
    "start-up within 15 % of the bare window, memory within 12 MB of it, idle at most 0.3 % of a core"
bench/desktop.sh "${1:-60}"

section "links: the panel's own time per frame beside a plain loop on the same link" \
    "at most 2 % of a frame's line time on both links"
"$bin/zentrel-bench-links" --benchmark_repetitions=12 --benchmark_report_aggregates_only=true \
    2>/dev/null | sed -n '/^Round trip/,$p'

section "session: the panel's time per received frame as the traffic grows (view drawing)" \
    "flat: the same after 1 MiB as after none"
"$bin/zentrel-bench-panel"

section "firmware upgrade of a 200,000-byte image beside the protocol's floor" \
    "within 2 % of the floor (ratio at most 1.02)"
"$bin/zentrel-bench-upgrade"
