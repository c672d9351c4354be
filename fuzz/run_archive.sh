#!/usr/bin/env bash
# Builds the archive reader's fuzzer and runs it, as fuzz/run.sh does for
# the formula fuzzer; the corpus grows in build-fuzz/corpus-archive, seeded
# from fuzz/seeds-archive.
#   fuzz/run_archive.sh [SECONDS] [extra libFuzzer options...]
source "$(dirname "$0")/common.sh"
seconds="${1:-600}"
shift || true
sources=(exchange/archive.cpp fuzz/fuzz_archive.cpp)
read -ra flags <<<"$(pkg-config --cflags --libs libzip)"
options=(-rss_limit_mb=2048)
fuzz_run fuzz_archive seeds-archive corpus-archive 65536 "$seconds" "$@"
