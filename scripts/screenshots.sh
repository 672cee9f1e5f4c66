#!/usr/bin/env bash
# Takes the README's screenshots of the real panel against the simulated matrix: the four pages
# after Connect and Status on COM3, and the TCP configuration dialog after a Search. Everything
# runs inside a private network namespace with its own Xvfb, because Search broadcasts; nothing
# leaves the namespace.
#   scripts/screenshots.sh [OUT_DIR]     (default docs/screenshots)
# Needs: the build (scripts/build.sh), Xvfb, xdotool, imagemagick, unshare -rn.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bin=$root/build/bin

if [ "${1:-}" != "--inside-namespace" ]; then
    out=$(realpath -m "${1:-docs/screenshots}")
    mkdir -p "$out"
    for tool in Xvfb xdotool import unshare; do
        command -v "$tool" >/dev/null || {
            echo "$tool is missing (apt-get install xvfb xdotool imagemagick util-linux)" >&2
            exit 1
        }
    done
    [ -x "$bin/zentrel" ] && [ -x "$bin/zentrel-matrix-sim" ] || {
        echo "build the panel first: scripts/build.sh" >&2
        exit 1
    }
    exec unshare -rn "$0" --inside-namespace "$out"
fi

out=$2
ip link set lo up
ip route add 255.255.255.255/32 dev lo

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
chmod 700 "$work"
# The panel keeps its profiles in the work folder, not in the user's own.
export XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work/config DISPLAY=:93 QT_QPA_PLATFORM=xcb
Xvfb :93 -screen 0 1600x900x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
"$bin/zentrel-matrix-sim" --com 3 --tcp 127.0.0.1:8000 --udp >"$work/sim.log" 2>&1 &
pids+=($!)
sleep 1
"$bin/zentrel" >"$work/panel.log" 2>&1 &
pids+=($!)

main=""
for _ in $(seq 50); do
    main=$(xdotool search --onlyvisible --name '^Zentrel' 2>/dev/null | head -1 || true)
    [ -n "$main" ] && break
    sleep 0.2
done
[ -n "$main" ] || {
    echo "the panel's window did not appear" >&2
    cat "$work/panel.log" >&2
    exit 1
}
eval "$(xdotool getwindowgeometry --shell "$main")"
wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT

# Clicks at window coordinates, the positions of the General page's layout.
click() {
    xdotool mousemove $((wx + $1)) $((wy + $2)) click 1
    sleep "${3:-0.4}"
}
shot() { import -window root -crop "${ww}x${wh}+${wx}+${wy}" +repage "$out/$1.png"; }

click 116 179         # the port list
click 96 201          # COM3
click 242 179 1       # Connect
click 362 77 3        # Status: identity, version and the port lines
shot general
click 402 14 3        # Matrix: its status refresh runs on arrival
shot matrix
click 302 14 3        # EDID
shot edid
# A receiver's EDID file taken (the path typed into the file dialog), and its Details... window
# moved beside the main window, which moves to the screen's left edge to make room; the picture
# shows both.
xdotool windowmove "$main" 0 "$wy"
sleep 0.5
wx=0
click 126 167 1.5     # Open EDID
cp tests/data/edid-samples/bin/pioneer_pio1157_519f8ca86ec0.bin "$work/receiver.bin"
xdotool type --delay 5 "$work/receiver.bin"
xdotool key Return
sleep 1.5
click 577 436 1.5     # Details...
details=$(xdotool search --onlyvisible --name '^EDID details$' 2>/dev/null | head -1 || true)
if [ -n "$details" ]; then
    xdotool windowmove "$details" $((wx + ww + 10)) "$wy"
    sleep 0.8
    eval "$(xdotool getwindowgeometry --shell "$details")"
    import -window root -crop "$((X + WIDTH - wx))x${wh}+${wx}+${wy}" +repage "$out/edid-inspector.png"
    xdotool windowfocus "$details" key Escape
    sleep 0.5
else
    echo "the EDID details window did not open" >&2
fi
click 503 14 2        # FW Upgrade
shot firmware
# The traffic log, from the window menu (Alt+Space; Minimize, Close, then this entry).
xdotool key alt+space
sleep 0.5
xdotool key Down Down Down Return
sleep 1.5
traffic=$(xdotool search --onlyvisible --name '^Traffic log$' 2>/dev/null | head -1 || true)
if [ -n "$traffic" ]; then
    eval "$(xdotool getwindowgeometry --shell "$traffic")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/traffic.png"
    xdotool windowfocus "$traffic" key Escape
    sleep 0.5
else
    echo "the traffic log did not open" >&2
fi
# Port names, written into COM3's profile as zentrel-ctl would; the Matrix tab reads them again.
mkdir -p "$work/config/zentrel"
cat >"$work/config/zentrel/com3.json" <<'NAMES'
{"version": 1,
 "inputs": ["Disc player", "Media player", "Laptop", "Camera", "", "", "", ""],
 "outputs": ["Projector", "Lobby TV", "Board room", "Recorder", "", "", "", ""]}
NAMES
click 402 14 3        # Matrix
shot matrix-names
click 200 14 1        # back to General
click 37 100          # TCP Control Mode
click 66 321 3        # Search: the simulated matrix answers inside the namespace
click 154 321 1.5     # Config...
# The dialog is its own window; the picture shows it over the main window.
dialog=$(xdotool search --onlyvisible --name '.' 2>/dev/null | while read -r w; do
    [ "$w" = "$main" ] && continue
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$WIDTH" -gt 100 ] && [ "$HEIGHT" -gt 100 ] && echo "$X $Y $WIDTH $HEIGHT"
done | head -1 || true)
if [ -n "$dialog" ]; then
    read -r dx dy dw dh <<<"$dialog"
    import -window root -crop "${dw}x${dh}+${dx}+${dy}" +repage "$out/config.png"
else
    echo "the configuration dialog did not open" >&2
    exit 1
fi
echo "screenshots in $out"
