#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks what an installer relies on: both
# programs, the desktop entry and icon in their places, and the Qt libraries as dependencies
# (so `apt install ./zentrel_*.deb` brings them), and that the desktop entry validates.
#   scripts/check-package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -B "$out" >/dev/null)
deb=$(ls "$out"/zentrel_*_*.deb)
files=$(dpkg-deb -c "$deb")
for f in ./usr/bin/zentrel ./usr/bin/zentrel-matrix-sim ./usr/share/applications/zentrel.desktop \
         ./usr/share/icons/hicolor/scalable/apps/zentrel.svg; do
    grep -q " $f\$" <<<"$files" || { echo "missing from the package: $f" >&2; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6network6 libqt6core6; do
    grep -q "$lib" <<<"$depends" || { echo "the package does not depend on $lib" >&2; exit 1; }
done
# The entry must validate without a hint either: two main categories would list the panel twice.
entry=$out/zentrel.desktop
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/zentrel.desktop >"$entry"
report=$(desktop-file-validate "$entry" 2>&1) || true
[ -z "$report" ] || { echo "desktop entry: $report" >&2; exit 1; }
echo "package ok: $(basename "$deb"), Depends: $depends"
