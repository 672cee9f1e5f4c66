#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks what an installer relies on: both
# programs, the desktop entry and icon in their places, and the Qt libraries as dependencies
# (so `apt install ./zentrel_*.deb` brings them).
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
echo "package ok: $(basename "$deb"), Depends: $depends"
