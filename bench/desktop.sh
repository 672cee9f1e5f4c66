#!/usr/bin/env bash
# What a user meets on the desktop, the panel beside a bare Qt window of the same size built in
# the same run: start-up to the first mapped window and resident memory then (median of 7
# alternating runs), and the panel's idle CPU over 60 s with its port re-scan running.
# Runs its own Xvfb on display :97.
#   bench/desktop.sh [IDLE_SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin
idle=${1:-60}
Xvfb :97 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "${kept:-}"' EXIT
export DISPLAY=:97
# The panel keeps its state when it closes; the bench's runs keep it in a folder of their own.
kept=$(mktemp -d)
export XDG_CONFIG_HOME=$kept
sleep 1
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
panel_ms=() panel_rss=() bare_ms=() bare_rss=()
for _ in 1 2 3 4 5 6 7; do
    read -r ms rss _ < <("$bin/zentrel-bench-mapwatch" 0 "$bin/zentrel" 2>/dev/null)
    panel_ms+=("$ms") panel_rss+=("$rss")
    read -r ms rss _ < <("$bin/zentrel-bench-mapwatch" 0 "$bin/zentrel-bench-bare" 2>/dev/null)
    bare_ms+=("$ms") bare_rss+=("$rss")
done
pm=$(printf '%s\n' "${panel_ms[@]}" | median); bm=$(printf '%s\n' "${bare_ms[@]}" | median)
pr=$(printf '%s\n' "${panel_rss[@]}" | median); br=$(printf '%s\n' "${bare_rss[@]}" | median)
printf '%-34s %10s %10s %10s\n' "" panel bare difference
awk -v pm="$pm" -v bm="$bm" -v pr="$pr" -v br="$br" 'BEGIN {
    printf "%-34s %10.1f %10.1f %+9.1f%%\n", "start-up to mapped window (ms)", pm, bm, (pm - bm) * 100 / bm
    printf "%-34s %10.1f %10.1f %+9.1f MB\n", "resident memory (MB)", pr / 1024, br / 1024, (pr - br) / 1024
}'
read -r _ _ cpu < <("$bin/zentrel-bench-mapwatch" "$idle" "$bin/zentrel" 2>/dev/null)
printf '%-34s %10s\n' "panel idle CPU over ${idle} s (% core)" "$cpu"
