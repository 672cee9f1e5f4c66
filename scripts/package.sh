#!/usr/bin/env bash
# Builds and makes the Debian package zentrel_<version>_<arch>.deb in the project folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
(cd build && cpack -B "$PWD/..")
rm -rf _CPack_Packages
ls zentrel_*.deb
