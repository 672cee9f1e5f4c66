#!/usr/bin/env bash
# Builds the panel and starts it against the simulated matrix, which serves COM3 and TCP
# 127.0.0.1:8000; the simulator stops when the panel ends.
#   ./run.sh              panel and simulator on this machine (no UDP)
#   ./run.sh --discovery  both inside a private network namespace, where the simulator also
#                         answers discovery and configuration broadcasts; none leaves it
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD
sim=$root/build/bin/zentrel-matrix-sim
panel=$root/build/bin/zentrel

usage() {
    sed -n '2,6p' "$0" | sed 's/^# \{0,1\}//'
}

sim_pid=""
stop_sim() {
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
}

start_and_wait() {
    # $@: extra simulator options. The simulator runs in the background, the panel in front.
    if [ -x "$sim" ]; then
        "$sim" --com 3 --tcp 127.0.0.1:8000 "$@" >"${TMPDIR:-/tmp}/zentrel-matrix-sim.log" 2>&1 &
        sim_pid=$!
        trap stop_sim EXIT
        sleep 0.5
        if ! kill -0 "$sim_pid" 2>/dev/null; then
            echo "The simulated matrix did not start:" >&2
            cat "${TMPDIR:-/tmp}/zentrel-matrix-sim.log" >&2
            sim_pid=""
        else
            echo "Simulated matrix on COM3 and TCP 127.0.0.1:8000" \
                 "(log: ${TMPDIR:-/tmp}/zentrel-matrix-sim.log)"
        fi
    else
        echo "No simulated matrix built ($sim): the panel starts alone." >&2
    fi
    local rc=0
    "$panel" || rc=$?
    return $rc
}

case "${1:-}" in
--inside-namespace)
    # Runs as root of a fresh user and network namespace: only loopback exists, and the
    # broadcast address is routed to it, so discovery stays on this namespace's loopback.
    ip link set lo up
    ip route add 255.255.255.255/32 dev lo
    start_and_wait --udp
    exit $?
    ;;
--discovery | "") ;;
-h | --help)
    usage
    exit 0
    ;;
*)
    usage >&2
    exit 2
    ;;
esac

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: set DISPLAY (for example: Xvfb :99 & export DISPLAY=:99)." >&2
    exit 1
fi

if [ "$(id -u)" -eq 0 ]; then
    scripts/deps.sh --gui
else
    scripts/deps.sh --gui || echo "Continuing without the missing packages." >&2
fi
scripts/build.sh

if [ "${1:-}" = "--discovery" ]; then
    if ! unshare -rn true 2>/dev/null; then
        echo "Cannot make a private network namespace here (unshare -rn failed)." >&2
        exit 1
    fi
    exec unshare -rn "$0" --inside-namespace
fi
start_and_wait
