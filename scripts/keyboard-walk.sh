#!/usr/bin/env bash
# Walks the panel through its four pages with the keyboard alone (xdotool keys, no clicks)
# against the simulated matrix on COM3, under its own Xvfb, and keeps a screenshot per step:
# COM3 and Connect, Status, Ctrl+Tab to EDID, Ctrl+Tab to Matrix and a route of input 3 to
# output A, Ctrl+Tab to FW Upgrade, Ctrl+Shift+Tab back, Alt+Space for the window menu.
#   scripts/keyboard-walk.sh [OUT_DIR] [PANEL_COMMAND] [SIMULATOR]
# The panel command may be "gio launch /usr/share/applications/zentrel.desktop" to start the
# installed panel from its desktop entry. It sends no broadcast.
set -uo pipefail
out=${1:-/tmp/zentrel-keyboard}
panel=${2:-build/bin/zentrel}
sim=${3:-build/bin/zentrel-matrix-sim}
display=:${ZENTREL_WALK_DISPLAY:-94}
mkdir -p "$out"
XDG_RUNTIME_DIR=$(mktemp -d)
export DISPLAY=$display XDG_RUNTIME_DIR
chmod 700 "$XDG_RUNTIME_DIR"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
$sim --com 3 --no-tcp >"$out/sim.log" 2>&1 &
simpid=$!
# Only the panel this walk started is stopped at the end, also when a launcher started it.
before=" $(pgrep -d ' ' -x zentrel) "
stop_panel() {
    for p in $(pgrep -x zentrel); do
        [[ $before == *" $p "* ]] || kill "$p" 2>/dev/null
    done
}
trap 'stop_panel; kill $simpid $xvfb 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR"' EXIT
sleep 0.5
$panel >"$out/panel.log" 2>&1 &
for _ in $(seq 30); do
    w=$(xdotool search --onlyvisible --name '^Zentrel' 2>/dev/null | head -1)
    [ -n "$w" ] && break
    sleep 0.3
done
[ -n "${w:-}" ] || { echo "the panel's window did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$w"
sleep 0.5
k() { xdotool key --delay 120 "$@"; sleep 0.4; }
shot() { import -window root "$out/$1.png"; }
k Tab Tab Down Down Tab space; sleep 1.5; shot 1-connected   # TCP radio, port list, Connect
k Tab Return; sleep 3; shot 2-status                          # Status
k ctrl+Tab; sleep 2; shot 3-edid
k ctrl+Tab; sleep 2; k Tab Tab space; sleep 1.5; shot 4-matrix-routed
k ctrl+Tab; sleep 2; shot 5-firmware
k ctrl+shift+Tab; sleep 1.5; shot 6-back-to-matrix
k alt+space; sleep 0.5; shot 7-window-menu
k Escape
if grep -q "route input 3 to output A" "$out/sim.log"; then
    echo "keyboard walk done: the matrix received the route; screenshots in $out"
else
    echo "the matrix never received the route from the keyboard; see $out" >&2
    exit 1
fi
