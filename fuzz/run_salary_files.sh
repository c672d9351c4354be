#!/usr/bin/env bash
# Builds one of the salary-file readers' fuzzers with clang (libFuzzer +
# ASan + UBSan) and runs it, as fuzz/run.sh does for the formula fuzzer.
#   fuzz/run_salary_files.sh dataload|interface [SECONDS] [libFuzzer options...]
# Build output goes to build-fuzz/ in the checkout (ignored by git); the
# corpus grows in build-fuzz/corpus-TARGET, seeded from fuzz/seeds-salary.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out="${FUZZ_BUILD:-$root/build-fuzz}"
target="${1:-}"
case "$target" in
  dataload|interface) ;;
  *) echo "usage: $0 dataload|interface [SECONDS] [libFuzzer options...]" >&2; exit 2 ;;
esac
shift
seconds="${1:-600}"
shift || true
if ! command -v clang++ >/dev/null; then
  echo "clang++ is needed: apt-get install clang" >&2
  exit 2
fi
mkdir -p "$out/corpus-$target"
sources=(exchange/dataload_read.cpp exchange/interface_read.cpp exchange/import_text.cpp exchange/textfile.cpp
         core/numtext.cpp core/text.cpp core/gbk.cpp "fuzz/fuzz_$target.cpp")
cd "$root"
clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I"$root" "${sources[@]}" -o "$out/fuzz_$target"
cp -n "$here"/seeds-salary/* "$out/corpus-$target/" 2>/dev/null || true
exec "$out/fuzz_$target" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
  -artifact_prefix="$out/$target-" "$@" "$out/corpus-$target"
