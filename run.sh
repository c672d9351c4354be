#!/usr/bin/env bash
# Set up, build and start the desktop program on the default data home.
# Extra arguments go to the program (for example --home DIR or operator_task).
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
gzgl_install_missing
gzgl_build build
exec ./build/gzgl "$@"
