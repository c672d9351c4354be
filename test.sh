#!/usr/bin/env bash
# Set up, build and run every test through ctest. GZGL_SANITIZE=1 builds
# into build-asan with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
gzgl_install_missing
if [ "${GZGL_SANITIZE:-0}" = 1 ]; then
  dir=build-asan
  gzgl_build "$dir" -DGZGL_SANITIZE=ON -DGZGL_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
else
  dir=build
  gzgl_build "$dir"
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
