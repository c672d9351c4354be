#!/usr/bin/env bash
# Builds one of the salary-file readers' fuzzers (the data-load file or the
# data-interface file) and runs it, as fuzz/run.sh does for the formula
# fuzzer; the corpus grows in build-fuzz/corpus-TARGET, seeded from
# fuzz/seeds-salary.
#   fuzz/run_salary_files.sh dataload|interface [SECONDS] [libFuzzer options...]
source "$(dirname "$0")/common.sh"
target="${1:-}"
case "$target" in
  dataload|interface) ;;
  *) echo "usage: $0 dataload|interface [SECONDS] [libFuzzer options...]" >&2; exit 2 ;;
esac
shift
seconds="${1:-600}"
shift || true
sources=(exchange/dataload_read.cpp exchange/interface_read.cpp exchange/import_text.cpp exchange/textfile.cpp
         core/numtext.cpp core/text.cpp core/gbk.cpp "fuzz/fuzz_$target.cpp")
fuzz_run "fuzz_$target" seeds-salary "corpus-$target" 8192 "$seconds" "$@"
