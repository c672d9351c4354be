# Shared by the fuzz run scripts: builds one libFuzzer target with clang
# (ASan + UBSan, stopping at the first report) and runs it on its corpus.
# Build output goes to build-fuzz/ in the checkout (ignored by git), or to
# $FUZZ_BUILD; the corpus grows there, seeded once from the seed folder.
#
# A script sets sources (an array, paths from the checkout's root) and
# optionally flags (extra compiler and linker words) and options (extra
# libFuzzer options), then calls
#   fuzz_run TARGET SEEDS CORPUS MAX_LEN SECONDS [libFuzzer options...]
set -eu
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
out="${FUZZ_BUILD:-$root/build-fuzz}"
flags=()
options=()

fuzz_run() {
  local target="$1" seeds="$2" corpus="$3" max_len="$4" seconds="$5"
  shift 5
  if ! command -v clang++ >/dev/null; then
    echo "clang++ is needed: apt-get install clang" >&2
    exit 2
  fi
  mkdir -p "$out/$corpus"
  cd "$root"
  clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=undefined -I"$root" "${sources[@]}" "${flags[@]}" -o "$out/$target"
  cp -n "$here/$seeds"/* "$out/$corpus/" 2>/dev/null || true
  exec "$out/$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
    -artifact_prefix="$out/${target#fuzz_}-" "${options[@]}" "$@" "$out/$corpus"
}
