#!/usr/bin/env bash
# Builds the formula fuzzer with clang (libFuzzer + ASan + UBSan) and runs
# it against the reference evaluator; the corpus grows in build-fuzz/corpus,
# seeded from fuzz/seeds.
#   fuzz/run.sh [SECONDS] [extra libFuzzer options...]
source "$(dirname "$0")/common.sh"
seconds="${1:-600}"
shift || true
sources=(calc/stack.cpp calc/evaluator.cpp calc/compiled.cpp calc/numformat.cpp
         core/numtext.cpp core/text.cpp core/gbk.cpp tests/calc/reference_evaluator.cpp
         fuzz/fuzz_formula.cpp)
flags=(-I"$root/tests")
fuzz_run fuzz_formula seeds corpus 4096 "$seconds" "$@"
