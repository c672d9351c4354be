#!/usr/bin/env bash
# Builds the bank template reader's fuzzer with clang (libFuzzer + ASan +
# UBSan) and runs it, as fuzz/run.sh does for the formula fuzzer.
#   fuzz/run_bank_template.sh [SECONDS] [extra libFuzzer options...]
# Build output goes to build-fuzz/ in the checkout (ignored by git); the
# corpus grows in build-fuzz/corpus-bank, seeded from fuzz/seeds-bank.
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
mkdir -p "$out/corpus-bank"
sources=(exchange/bank_template_file.cpp exchange/bank_template.cpp exchange/formatfield.cpp
         exchange/textfile.cpp calc/numformat.cpp core/numtext.cpp core/text.cpp core/gbk.cpp
         core/paths.cpp core/connection.cpp core/session.cpp core/schema.cpp fuzz/fuzz_bank_template.cpp)
cd "$root"
clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I"$root" "${sources[@]}" $(pkg-config --cflags --libs sqlite3) \
  -o "$out/fuzz_bank_template"
cp -n "$here"/seeds-bank/* "$out/corpus-bank/" 2>/dev/null || true
exec "$out/fuzz_bank_template" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -artifact_prefix="$out/bank-" "$@" "$out/corpus-bank"
