#!/usr/bin/env bash
# Makes the pictures of every window in docs/pictures/ from the real windows: builds the tree,
# then opens each window offscreen against the simulated reader and saves it as a PNG. Run it
# again whenever a window changes, and commit the pictures.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${OMR_BUILD_DIR:-$here/build}
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh"
QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "$build/tools/windowpictures" "$here/docs/pictures"
