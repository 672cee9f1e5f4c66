#!/usr/bin/env bash
# Plants the faults of a list one at a time, rebuilds, runs the unit and integration tests and
# says which faults no test caught: the measure of whether the tests would notice a real
# mistake. The source file is restored after every fault, also on errors and Ctrl+C.
#
#   scripts/plant-faults.sh [-l LIST] [-b BUILD_DIR] [-a] [-k] [-v] [-x FILTER] [N|N-M|N,M,...]
#     -l LIST       the fault list (default scripts/faults.txt)
#     -b BUILD_DIR  the build folder (default build-faults, configured on first use)
#     -a            run every unit and integration test, not only those relinked by the fault
#     -k            check the list only: every snippet found exactly once, nothing built
#     -v            name the tests that caught each fault
#     -x FILTER     leave out the tests a gtest filter names (e.g. -x 'Soak.*' to save time)
#     N, N-M, N,M   the faults to plant, by number in the list (default: all)
#
# The list holds blocks separated by blank lines; lines starting with '#' are comments:
#     file: src/protocol/CommandFrame.cpp
#     find: sum += bytes[i];
#     into: sum -= bytes[i];
#     why:  checksum subtracts instead of adds
# The snippet must occur exactly once in the file. Leading blanks after the ':' are dropped;
# a snippet that needs them starts after a '|' ("find:|   x" is "   x").
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

LIST=scripts/faults.txt
BUILD_DIR=build-faults
ALL_TESTS=0
CHECK_ONLY=0
EXCLUDE=""
VERBOSE=0
while getopts "l:b:akvx:h" opt; do
    case $opt in
    l) LIST=$OPTARG ;;
    b) BUILD_DIR=$OPTARG ;;
    a) ALL_TESTS=1 ;;
    k) CHECK_ONLY=1 ;;
    x) EXCLUDE=$OPTARG ;;
    v) VERBOSE=1 ;;
    *) sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
SELECTION=${1:-}

export CCACHE_DIR=${CCACHE_DIR:-/work/.ccache} CCACHE_BASEDIR=${CCACHE_BASEDIR:-/work}
export QT_QPA_PLATFORM=offscreen
WORK=$(mktemp -d)
BACKUP=""
TARGET=""

restore() {
    if [ -n "$BACKUP" ] && [ -f "$BACKUP" ]; then
        # A plain copy on purpose: a fresh timestamp makes the next build recompile the file.
        cat "$BACKUP" >"$TARGET"
        rm -f "$BACKUP"
        BACKUP=""
    fi
}
cleanup() {
    restore
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'echo "interrupted: restoring $TARGET" >&2; exit 130' INT TERM

# Parses the list into one file per fault (file, find, into, why) under $WORK/N.
python3 - "$LIST" "$WORK" <<'EOF' || exit 2
import os, sys
path, out = sys.argv[1], sys.argv[2]
faults, cur = [], {}
def close():
    global cur
    if cur:
        missing = [k for k in ("file", "find", "into", "why") if k not in cur]
        if missing:
            sys.exit(f"{path}: fault {len(faults) + 1} lacks {', '.join(missing)}")
        faults.append(cur)
    cur = {}
for n, line in enumerate(open(path, encoding="utf-8"), 1):
    line = line.rstrip("\n")
    if line.startswith("#"):
        continue
    if not line.strip():
        close()
        continue
    key, sep, value = line.partition(":")
    if not sep or key not in ("file", "find", "into", "why"):
        sys.exit(f"{path}:{n}: expected file:, find:, into: or why:")
    value = value.lstrip()
    if value.startswith("|"):
        value = value[1:]
    cur[key] = value
close()
for i, f in enumerate(faults, 1):
    d = os.path.join(out, str(i))
    os.makedirs(d)
    for k, v in f.items():
        open(os.path.join(d, k), "w", encoding="utf-8").write(v)
EOF
COUNT=$(find "$WORK" -mindepth 1 -maxdepth 1 -type d | wc -l)

selected() {
    local sel=$SELECTION
    if [ -z "$sel" ]; then seq 1 "$COUNT"; return; fi
    local part
    for part in ${sel//,/ }; do
        if [[ $part == *-* ]]; then seq "${part%-*}" "${part#*-}"; else echo "$part"; fi
    done
}

# Replaces the snippet in place; fails loudly unless it occurs exactly once.
apply_fault() {
    python3 - "$1" "$2" "$3" <<'EOF'
import sys
target, find, into = sys.argv[1], open(sys.argv[2]).read(), open(sys.argv[3]).read()
text = open(target, encoding="utf-8").read()
n = text.count(find)
if n != 1:
    sys.exit(f"snippet found {n} times in {target}: {find!r}")
open(target, "w", encoding="utf-8").write(text.replace(find, into))
EOF
}

# Without debug information and with a quick optimiser and linker: each fault recompiles one
# file and relinks every test that holds it, which is most of the time a run takes.
if [ "$CHECK_ONLY" = 0 ] && [ ! -f "$BUILD_DIR/build.ninja" ]; then
    linker=()
    if command -v ld.lld >/dev/null; then linker=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld); fi
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O1 \
        "${linker[@]}" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DZENTREL_BENCH=OFF >/dev/null || exit 2
fi
# The programs a fault run needs: the unit, integration and gui test programs ("name label";
# the gui ones run offscreen and alone measure the Qt view) and the simulator and zentrel-ctl
# the integration tests start (not the panel program, the fuzz replays and the namespace tests).
mapfile -t programs < <(python3 - <<'EOF2'
import pathlib, re
for f in sorted(pathlib.Path("tests").rglob("CMakeLists.txt")):
    for name, label in re.findall(r"zentrel_test\(\s*(\w+)\s+(unit|integration|gui)\b", f.read_text()):
        print(name, label)
EOF2
)
targets=(zentrel-matrix-sim zentrel-ctl)
for p in "${programs[@]}"; do targets+=("${p%% *}"); done
if [ "$CHECK_ONLY" = 0 ]; then
    echo "building the unchanged tree in $BUILD_DIR (${#targets[@]} targets) ..."
    nice -n 5 cmake --build "$BUILD_DIR" -j2 --target "${targets[@]}" >"$WORK/build.log" 2>&1 ||
        { tail -30 "$WORK/build.log"; echo "the unchanged tree does not build" >&2; exit 2; }
fi

# Runs one test program; prints its name when it fails (a crash or a hang counts as failing).
run_program() {
    local exe=$1
    if ! timeout 300 "$exe" --gtest_brief=1 ${EXCLUDE:+--gtest_filter=-$EXCLUDE} \
        >"$WORK/$(basename "$exe").log" 2>&1; then
        basename "$exe"
    fi
}

# A fault counts as caught only if the tests pass without it.
if [ "$CHECK_ONLY" = 0 ]; then
    export -f run_program
    export WORK EXCLUDE
    failing=$(for p in "${programs[@]}"; do echo "$BUILD_DIR/tests/${p%% *}"; done |
        xargs -P2 -I{} bash -c 'run_program {} 2>/dev/null' | tr '\n' ' ')
    if [ -n "$failing" ]; then
        echo "the unchanged tree fails: $failing" >&2
        exit 2
    fi
fi

caught=0 missed=0 broken=0 planted=0
missed_list=""
for n in $(selected); do
    d=$WORK/$n
    if [ ! -d "$d" ]; then echo "no fault $n (the list has $COUNT)" >&2; exit 2; fi
    TARGET=$ROOT/$(cat "$d/file")
    why=$(cat "$d/why")
    if [ ! -f "$TARGET" ]; then echo "fault $n: no file $TARGET" >&2; exit 2; fi
    BACKUP=$WORK/backup
    cp "$TARGET" "$BACKUP"
    if ! apply_fault "$TARGET" "$d/find" "$d/into"; then
        restore
        echo "fault $n: $(cat "$d/file"): snippet not found exactly once" >&2
        exit 2
    fi
    if [ "$CHECK_ONLY" = 1 ]; then
        restore
        printf '%3d ok      %s\n' "$n" "$why"
        continue
    fi
    planted=$((planted + 1))
    touch "$WORK/stamp"
    sleep 1 # coarse file times: anything relinked from here on is strictly newer
    if ! nice -n 5 cmake --build "$BUILD_DIR" -j2 --target "${targets[@]}" >"$WORK/build.log" 2>&1; then
        restore
        broken=$((broken + 1))
        printf '%3d NOBUILD %s\n' "$n" "$why"
        grep -m3 'error' "$WORK/build.log" | sed 's/^/      /'
        continue
    fi
    # The programs to run: those relinked with the fault, and every integration program when
    # the simulator or zentrel-ctl was (they start them as processes). Run before the source is
    # restored, so a rebuild cannot race them; the fault is in the binaries either way.
    sim_fresh=0
    for started in zentrel-matrix-sim zentrel-ctl; do
        [ "$BUILD_DIR/bin/$started" -nt "$WORK/stamp" ] && sim_fresh=1
    done
    run=()
    for p in "${programs[@]}"; do
        exe=$BUILD_DIR/tests/${p%% *}
        if [ "$ALL_TESTS" = 1 ] || [ "$exe" -nt "$WORK/stamp" ] ||
            { [ "$sim_fresh" = 1 ] && [ "${p##* }" = integration ]; }; then
            run+=("$exe")
        fi
    done
    restore
    if [ "${#run[@]}" -eq 0 ]; then
        missed=$((missed + 1))
        missed_list+=$(printf '%3d %s (no test relinked)' "$n" "$why")$'\n'
        printf '%3d MISSED  %s (no test relinked)\n' "$n" "$why"
        continue
    fi
    export -f run_program
    export WORK EXCLUDE
    failed=$(printf '%s\n' "${run[@]}" | xargs -P2 -I{} bash -c 'run_program {} 2>/dev/null' |
        sort | tr '\n' ' ')
    if [ -z "$failed" ]; then
        missed=$((missed + 1))
        missed_list+=$(printf '%3d %s' "$n" "$why")$'\n'
        printf '%3d MISSED  %s (%d programs)\n' "$n" "$why" "${#run[@]}"
    else
        caught=$((caught + 1))
        printf '%3d caught  %s (by %s)\n' "$n" "$why" "${failed% }"
        # Which tests caught it: a test that alone catches a fault is one to keep.
        if [ "$VERBOSE" = 1 ]; then
            for f in $failed; do
                sed -n 's/^\[  FAILED  \] \([A-Za-z0-9_/.]*\).*/      \1/p' "$WORK/$f.log" | sort -u
            done
        fi
    fi
done

if [ "$CHECK_ONLY" = 1 ]; then exit 0; fi
echo
echo "planted $planted: caught $caught, missed $missed, did not build $broken"
built=$((caught + missed))
if [ "$built" -gt 0 ]; then
    echo "catch rate $((100 * caught / built)) % of the faults that built"
fi
if [ -n "$missed_list" ]; then
    echo "missed:"
    printf '%s' "$missed_list"
fi
# The rebuild after the last restore keeps the folder in step with the unchanged sources.
nice -n 5 cmake --build "$BUILD_DIR" -j2 >/dev/null 2>&1 || true
[ "$missed" -eq 0 ]
