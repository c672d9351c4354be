#!/usr/bin/env bash
# Takes the user guide's pictures again from the real program (the demo
# data home, every menu command) into docs/guide/img. Run it from the
# checkout after a build, whenever a screen changes:
#   tools/guide/make_shots.sh [BUILD_DIR]
# Offscreen by default; set QT_QPA_PLATFORM=xcb with DISPLAY to use a real
# (or Xvfb) display instead.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build="${1:-$root/build}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
"$build/gzgl-guide-shots" "$root/docs/guide/img"
