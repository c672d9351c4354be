#!/usr/bin/env bash
# Builds the archive reader's fuzzer with clang (libFuzzer + ASan + UBSan)
# and runs it, as fuzz/run.sh does for the formula fuzzer.
#   fuzz/run_archive.sh [SECONDS] [extra libFuzzer options...]
# Build output goes to build-fuzz/ in the checkout (ignored by git); the
# corpus grows in build-fuzz/corpus-archive, seeded from fuzz/seeds-archive.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out="${FUZZ_BUILD:-$root/build-fuzz}"
seconds="${1:-600}"
shift || true
if ! command -v clang++ >/dev/null; then
  echo "clang++ is needed: apt-get install clang" >&2
  exit 2
fi
mkdir -p "$out/corpus-archive"
sources=(exchange/archive.cpp fuzz/fuzz_archive.cpp)
cd "$root"
clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I"$root" "${sources[@]}" $(pkg-config --cflags --libs libzip) \
  -o "$out/fuzz_archive"
cp -n "$here"/seeds-archive/* "$out/corpus-archive/" 2>/dev/null || true
exec "$out/fuzz_archive" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$out/archive-" "$@" "$out/corpus-archive"
