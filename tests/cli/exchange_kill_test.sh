#!/usr/bin/env bash
# A data load killed with SIGKILL at many moments: afterwards the task is
# either exactly as before the load or exactly as after it, and a load that
# creates its task leaves either no task at all or the whole of it.
set -u
cli="$1"
source "$(dirname "$0")/harness.sh"

monthly_task
wide_month
sqlite3 "$home/KSMoney/KSSYS.MDB" "update GZSysInfo set F_BMJB='20000'"

# The file: every employee with new values and a new item, two thousand
# new employees in a new department, so that the load changes every table
# it touches.
{
  printf 'KS770_GZGL\r\n月薪,张三,200602\r\n*Dep*\r\n01   总部\r\n02   二车间\r\n*Item*\r\n'
  names=$(for i in $(seq 4 33); do printf '项目%d,' "$i"; done)
  printf '%s新项目\r\n*Data*\r\n' "$names"
  awk 'BEGIN { for (e = 1; e <= 6000; e++) {
         line = sprintf("%s,%04d,男,员工%d", e <= 4000 ? "01" : "02", e, e)
         for (k = 0; k < 31; k++) line = line "," sprintf("%d.%02d", (e * 7 + k) % 9999, k)
         printf "%s\r\n", line } }'
} | iconv -f UTF-8 -t GBK >"$home/load2.txt"

state() { # a digest of every recorded task: its row and its month's tables
  local id
  { sqlite3 "$home/KSMoney/KSSYS.MDB" "select F_ID,F_GZMC,F_BMJB,F_RYKL from GZSysInfo order by F_ID"
    for id in $(sqlite3 "$home/KSMoney/KSSYS.MDB" "select F_ID from GZSysInfo"); do
      [ -f "$home/KSMoney/GZ$id.MDB" ] || echo "task $id has no file"
      sqlite3 "$home/KSMoney/GZ$id.MDB" ".dump 'ID${id}_200602_%'"
    done; } | md5sum | cut -c1-12
}
pristine="$home/pristine"
cp -r "$home/KSMoney" "$pristine"
before=$(state)
start=$(date +%s%N)
out=$("$cli" --home "$home" exchange load --file "$home/load2.txt" --password pw 2>&1)
took=$((($(date +%s%N) - start) / 1000000))
grep -q "新增部门 1，新增项目 1，新增员工 2000，更新员工 4000" <<<"$out" && passes=$((passes + 1)) || { echo "FAIL load: $out"; fails=$((fails + 1)); }
after=$(state)
[ "$before" != "$after" ] && passes=$((passes + 1)) || { echo "FAIL load changed nothing"; fails=$((fails + 1)); }

kill_state() { state; }
kill_moments="2 5 10 20 30 40 50 60 70 80 90 95 100 110 150 200"
snapshot="$pristine"
kill_at "load into the task" "$before" "$after" "$took" -- exchange load --file "$home/load2.txt" --password pw

# A load that creates its task, into a home without one.
empty="$home/empty"
mkdir -p "$empty"
"$cli" --home "$empty" init >/dev/null
rm -rf "$home/KSMoney"; cp -r "$empty/KSMoney" "$home/KSMoney"
none=$(state)
start=$(date +%s%N)
"$cli" --home "$home" exchange load --file "$home/load2.txt" --password pw >/dev/null 2>&1
took=$((($(date +%s%N) - start) / 1000000))
created=$(state)
[ "$none" != "$created" ] && passes=$((passes + 1)) || { echo "FAIL no task created"; fails=$((fails + 1)); }
snapshot="$empty/KSMoney"
kill_at "load creating the task" "$none" "$created" "$took" -- exchange load --file "$home/load2.txt" --password pw
# Whatever a kill left behind does not stand in the way of the next load.
expect "load after the last kill" 0 "数据导入完毕！" -- exchange load --file "$home/load2.txt" --password pw
finish
