#!/usr/bin/env bash
# Builds the Debian package: installs what is missing, builds into build/ (or $OMR_BUILD_DIR)
# as the tests do, and packs it there with CPack. Prints the package's path.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${OMR_BUILD_DIR:-$here/build}
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" "$@"
cd "$build"
rm -f markdesk_*.deb
cpack -G DEB >/dev/null
ls "$build"/markdesk_*.deb
