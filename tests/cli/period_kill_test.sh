#!/usr/bin/env bash
# A month-end close killed with SIGKILL at many moments: afterwards the
# task is either exactly as before the close or exactly as after it. The
# open period in GZRecord equals F_DQRQ, every recorded period has its
# thirteen tables, no table set is left without a record, and the old
# period's tables are unchanged to the byte of their dump.
set -u
cli="$1"
source "$(dirname "$0")/harness.sh"

monthly_task
wide_month "insert into ${p}Formula values(1,'F003','F004+F005+F006+F007+F008');
  insert into ${p}Formula values(2,'F000','F003-F009-F010');"
sqlite3 "$home/KSMoney/KSSYS.MDB" "update GZSysInfo set F_KWFS=3"

pristine="$home/pristine"
cp -r "$home/KSMoney" "$pristine"
dump_old() { sqlite3 "$home/KSMoney/GZ0000.MDB" ".dump 'ID0000_200602_%'" | md5sum; }
# Dropping is all or nothing too: a cleared month has none of its tables.
old_dump=$(dump_old)

check_invariants() { # prints before|after, or a failure
  local sys="$home/KSMoney/KSSYS.MDB" task="$home/KSMoney/GZ0000.MDB"
  local current open periods tables recorded_tables
  current=$(sqlite3 "$sys" "select F_DQRQ from GZSysInfo where F_ID='0000'")
  open=$(sqlite3 "$task" "select group_concat(F_Time) from GZRecord where F_ZZ='0'")
  [ "$open" = "$current" ] || { echo "open period $open but F_DQRQ $current"; return; }
  periods=$(sqlite3 "$task" "select count(*) from GZRecord")
  tables=$(sqlite3 "$task" "select count(*) from sqlite_master where type='table' and name like 'ID0000_%'")
  recorded_tables=$(sqlite3 "$task" "select count(*) from sqlite_master m join GZRecord r
                      on m.name like 'ID0000_' || r.F_Time || '_%' where m.type='table'")
  [ "$tables" = $((periods * 13)) ] && [ "$recorded_tables" = "$tables" ] ||
    { echo "$periods periods but $tables tables ($recorded_tables recorded)"; return; }
  [ "$(dump_old)" = "$old_dump" ] || { echo "the old period changed"; return; }
  echo "$current:$periods"
}

kill_state() { check_invariants; }
kill_moments="2 5 10 20 30 40 50 60 70 80 85 90 95 98 100 105"

# Close: from one period to two. An undisturbed run sets the kill moments.
took=$(timed period close "${login[@]}")
[ "$(check_invariants)" = 200603:2 ] && passes=$((passes + 1)) || { echo "FAIL close: $(check_invariants)"; fails=$((fails + 1)); }
after_close="$home/after-close"
cp -r "$home/KSMoney" "$after_close"
snapshot="$pristine"
kill_at close 200602:1 200603:2 "$took" -- period close "${login[@]}"

# Restore back to the first month, and clearing it once a later one is open.
snapshot="$after_close"
rm -rf "$home/KSMoney"; cp -r "$snapshot" "$home/KSMoney"
took=$(timed --yes period restore "${login[@]}" --to 200602)
[ "$(check_invariants)" = 200602:1 ] && passes=$((passes + 1)) || { echo "FAIL restore: $(check_invariants)"; fails=$((fails + 1)); }
kill_at restore 200603:2 200602:1 "$took" -- --yes period restore "${login[@]}" --to 200602

old_dump=$(sqlite3 "$after_close/GZ0000.MDB" ".dump 'ID0000_200602_%'" | md5sum)
dump_old() { # the first month's dump, or its absence once cleared
  local d; d=$(sqlite3 "$home/KSMoney/GZ0000.MDB" ".dump 'ID0000_200602_%'" | grep -c "CREATE TABLE")
  [ "$d" = 0 ] && echo "$old_dump" || sqlite3 "$home/KSMoney/GZ0000.MDB" ".dump 'ID0000_200602_%'" | md5sum
}
rm -rf "$home/KSMoney"; cp -r "$snapshot" "$home/KSMoney"
took=$(timed period clear "${login[@]}" --period 200602)
[ "$(check_invariants)" = 200603:1 ] && passes=$((passes + 1)) || { echo "FAIL clear: $(check_invariants)"; fails=$((fails + 1)); }
kill_at clear 200603:2 200603:1 "$took" -- period clear "${login[@]}" --period 200602
finish
