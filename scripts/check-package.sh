#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks what an installer relies on: both
# programs, their manual pages, the desktop entry, icon and AppStream listing in their places,
# the Qt libraries as dependencies (so `apt install ./zentrel_*.deb` brings them), and that
# Debian's own checks find nothing to say: lintian (errors, warnings and pedantic tags),
# appstreamcli and desktop-file-validate.
#   scripts/check-package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -B "$out" >/dev/null)
deb=$(ls "$out"/zentrel_*_*.deb)
fail() { echo "$*" >&2; exit 1; }
files=$(dpkg-deb -c "$deb")
metainfo=./usr/share/metainfo/org.zentrel.zentrel.metainfo.xml
for f in ./usr/bin/zentrel ./usr/bin/zentrel-matrix-sim ./usr/bin/zentrel-ctl ./usr/share/applications/zentrel.desktop \
         ./usr/share/icons/hicolor/scalable/apps/zentrel.svg "$metainfo" \
         ./usr/share/man/man1/zentrel.1.gz ./usr/share/man/man1/zentrel-matrix-sim.1.gz ./usr/share/man/man1/zentrel-ctl.1.gz \
         ./usr/share/bash-completion/completions/zentrel-ctl \
         ./usr/share/doc/zentrel/copyright ./usr/share/doc/zentrel/changelog.gz; do
    grep -q " $f\$" <<<"$files" || fail "missing from the package: $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6network6 libqt6core6; do
    grep -q "$lib" <<<"$depends" || fail "the package does not depend on $lib"
done
# Every program reports the package's version.
version=$(dpkg-deb -f "$deb" Version)
for p in zentrel zentrel-matrix-sim zentrel-ctl; do
    said=$("$build/bin/$p" --version)
    [ "$said" = "$p $version" ] || fail "$p --version says '$said', the package is $version"
done
dpkg-deb --fsys-tarfile "$deb" | tar -xC "$out" ./usr/share
# The entry must validate without a hint either: two main categories would list the panel twice.
report=$(desktop-file-validate "$out/usr/share/applications/zentrel.desktop" 2>&1) || true
[ -z "$report" ] || fail "desktop entry: $report"
# --no-net: the screenshots' addresses are the project site's, which a build machine may not reach.
report=$(appstreamcli validate --no-net --pedantic "$out/$metainfo" 2>&1) ||
    fail "AppStream: $report"
grep -q '^[EWIP]:' <<<"$report" && fail "AppStream: $report"
# stderr only carries lintian's own notes, such as running as root.
report=$(lintian --pedantic --fail-on error,warning,pedantic --tag-display-limit 0 "$deb" \
         2>"$out/lintian.err") || fail "lintian: $report $(cat "$out/lintian.err")"
[ -z "$report" ] || fail "lintian: $report"
echo "package ok: $(basename "$deb"), Depends: $depends"
