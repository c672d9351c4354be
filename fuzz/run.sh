#!/usr/bin/env bash
# Builds the formula fuzzer with clang (libFuzzer + ASan + UBSan) and runs it.
#   fuzz/run.sh [SECONDS] [extra libFuzzer options...]
# Build output goes to build-fuzz/ in the checkout (ignored by git); the
# corpus grows in build-fuzz/corpus, seeded from fuzz/seeds.
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
mkdir -p "$out/corpus"
sources=(calc/stack.cpp calc/evaluator.cpp calc/compiled.cpp calc/numformat.cpp
         core/numtext.cpp core/text.cpp core/gbk.cpp tests/calc/reference_evaluator.cpp
         fuzz/fuzz_formula.cpp)
cd "$root"
clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I"$root" -I"$root/tests" "${sources[@]}" -o "$out/fuzz_formula"
cp -n "$here"/seeds/* "$out/corpus/" 2>/dev/null || true
exec "$out/fuzz_formula" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -artifact_prefix="$out/" "$@" "$out/corpus"
