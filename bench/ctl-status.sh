#!/usr/bin/env bash
# `zentrel-ctl status` against the simulated matrix on a pseudo-terminal at 115200 8N2, beside
# the floor the line and the matrix set: the frames' bytes at 11 bits a byte, plus the
# simulator's answer time for each request, plus the tool's own start (`--version`, the same
# program doing nothing). Medians of RUNS alternating runs.
#   bench/ctl-status.sh [RUNS]      (default 15)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin
runs=${1:-15}
latency=5 # the simulator's time from a request to its reply (ms), its default
for b in zentrel-ctl zentrel-matrix-sim; do
    [ -x "$bin/$b" ] || { echo "$bin/$b is missing: run scripts/build.sh first" >&2; exit 1; }
done
runtime=$(mktemp -d)
# The tool keeps the last target it used; the bench keeps it in its own folder, not the user's.
export XDG_CONFIG_HOME=$runtime/config
trap 'kill "$sim" 2>/dev/null; rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR=$runtime "$bin/zentrel-matrix-sim" --com 9 --no-tcp --latency $latency \
    >"$runtime/sim.log" 2>&1 &
sim=$!
for _ in $(seq 100); do [ -e "$runtime/zentrel/ports/COM9" ] && break; sleep 0.05; done

ms() { # wall time of one run of the command, in ms
    local t0 t1
    t0=$(date +%s%N)
    XDG_RUNTIME_DIR=$runtime "$@" >/dev/null
    t1=$(date +%s%N)
    echo $(((t1 - t0) / 1000))
}
median() { sort -n | awk '{a[NR]=$1} END {m=a[int((NR+1)/2)]; printf "%.1f", m/1000}'; }

: >"$runtime/status"; : >"$runtime/start"
for _ in $(seq "$runs"); do
    ms "$bin/zentrel-ctl" --version >>"$runtime/start"
    ms "$bin/zentrel-ctl" --com 9 status >>"$runtime/status"
done
# One status run's frames: every request and every reply the simulator logged for it.
: >"$runtime/sim.log"
XDG_RUNTIME_DIR=$runtime "$bin/zentrel-ctl" --com 9 status >/dev/null
sleep 0.2
requests=$(grep -c ' in  COM9  A5 5B' "$runtime/sim.log")
replies=$(grep -c ' out COM9  A5 5B' "$runtime/sim.log")
frames=$((requests + replies))
wire=$(awk -v f=$frames 'BEGIN {printf "%.1f", f * 13 * 11 / 115200 * 1000}')
answer=$((requests * latency))
start=$(median <"$runtime/start")
status=$(median <"$runtime/status")
floor=$(awk -v w="$wire" -v a=$answer 'BEGIN {printf "%.1f", w + a}')
goal=$(awk -v f="$floor" -v s="$start" 'BEGIN {printf "%.1f", f * 1.2 + (s > 30 ? s : 30)}')
printf '%-44s %8s ms\n' "zentrel-ctl status (median of $runs)" "$status" \
    "wire floor: $frames frames x 13 bytes x 11 bits" "$wire" \
    "simulator answer time: $requests x $latency ms" "$answer" \
    "floor (wire + answers)" "$floor" \
    "process start (zentrel-ctl --version)" "$start" \
    "goal: floor + 20 % + process start (>= 30)" "$goal"
