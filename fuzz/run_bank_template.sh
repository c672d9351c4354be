#!/usr/bin/env bash
# Builds the bank template reader's fuzzer and runs it, as fuzz/run.sh does
# for the formula fuzzer; the corpus grows in build-fuzz/corpus-bank, seeded
# from fuzz/seeds-bank.
#   fuzz/run_bank_template.sh [SECONDS] [extra libFuzzer options...]
source "$(dirname "$0")/common.sh"
seconds="${1:-600}"
shift || true
sources=(exchange/bank_template_file.cpp exchange/bank_template.cpp exchange/formatfield.cpp
         exchange/textfile.cpp calc/numformat.cpp core/numtext.cpp core/text.cpp core/gbk.cpp
         core/paths.cpp core/connection.cpp core/session.cpp core/schema.cpp fuzz/fuzz_bank_template.cpp)
read -ra flags <<<"$(pkg-config --cflags --libs sqlite3)"
fuzz_run fuzz_bank_template seeds-bank corpus-bank 4096 "$seconds" "$@"
