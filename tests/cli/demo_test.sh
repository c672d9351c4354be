#!/usr/bin/env bash
# gzgl-cli demo: a demo data home laid out in a new folder, logged in to
# and recalculated; a second run, or a folder with data, is refused and
# left as it was.
set -u
cli="$1"
source "$(dirname "$0")/harness.sh"
demo="$home/demo"
login=(--task 演示单位 --user 管理员 --password demo)
expect "demo" 0 "口令：demo" -- --home "$demo" demo --year 2026 --month 12
expect "demo logs in" 0 "202612" -- --home "$demo" task list
rows=$("$cli" --home "$demo" recalc "${login[@]}" | wc -l)
[ "$rows" = 202 ] && passes=$((passes + 1)) || { echo "FAIL recalc rows: $rows"; fails=$((fails + 1)); }
before=$(find "$demo" -type f -exec md5sum {} + | sort)
expect "demo twice" 1 "已存在且不是空目录" -- --home "$demo" demo
same=$(find "$demo" -type f -exec md5sum {} + | sort)
[ "$before" = "$same" ] && passes=$((passes + 1)) || { echo "FAIL second demo changed the home"; fails=$((fails + 1)); }
out=$("$cli" demo 2>&1); rc=$?
[ "$rc" = 2 ] && grep -q "demo 需要 --home" <<<"$out" && passes=$((passes + 1)) || { echo "FAIL demo without --home: $rc $out"; fails=$((fails + 1)); }
expect "demo over a data home" 1 "已存在且不是空目录" -- demo
expect "demo bad month" 2 "--year 与 --month" -- --home "$home/d2" demo --year 2026 --month 13
expect "bank file of the demo" 0 "文件生成完毕" -- --home "$demo" --yes bank write "${login[@]}"
finish
