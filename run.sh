#!/usr/bin/env bash
# Set up, build and start the desktop program on the default data home.
# Extra arguments go to the program (for example --home DIR or operator_task).
#   ./run.sh --demo   starts on the demo data home ($GZGL_DEMO_HOME, else
#                     ~/.local/share/gzgl-demo), laid out on first use; an
#                     existing data home is never touched.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
gzgl_install_missing
gzgl_build build
if [ "${1:-}" = "--demo" ]; then
  shift
  demo="${GZGL_DEMO_HOME:-$HOME/.local/share/gzgl-demo}"
  if [ ! -e "$demo/KSMoney/KSSYS.MDB" ]; then
    mkdir -p "$(dirname "$demo")"
    ./build/gzgl-cli demo --home "$demo"
  fi
  exec ./build/gzgl --home "$demo" "$@"
fi
exec ./build/gzgl "$@"
