#!/usr/bin/env bash
# A restore of a month killed with SIGKILL at many moments: afterwards the
# period holds either every value it had before the restore or every value
# of the backup, never a mixture, and it keeps its one open record.
set -u
cli="$1"
source "$(dirname "$0")/harness.sh"

monthly_task
# Staging folders go into a private temp folder, to be counted.
export TMPDIR="$home/tmp"
mkdir -p "$TMPDIR"
wide_month "insert into ${p}Formula values(1,'F003','F004+F005+F006');"

# The period's content whatever the order of its columns, and its records.
state() {
  sqlite3 "$db" "select F_EmpNo,FFFF,$cols from ${p}Data order by F_EmpNo;
    select * from ${p}Employee order by F_EmpNo; select * from ${p}Item order by F_ID;
    select * from ${p}Formula order by F_ID; select F_Time,F_ZZ from GZRecord order by F_Time" | md5sum
}

out="$home/out"
mkdir -p "$out"
"$cli" --home "$home" backup month "${login[@]}" --to "$out" >/dev/null || { echo "FAIL backup"; exit 1; }
backed_up=$(state)
sqlite3 "$db" "update ${p}Data set F004=1, F020=null; delete from ${p}Employee where F_EmpNo>'3000';
  delete from ${p}Data where F_EmpNo>'3000'; update ${p}Item set F_Name='改' where F_ID>20; delete from ${p}Formula"
spoilt=$(state)
snapshot="$home/spoilt"
cp -r "$home/KSMoney" "$snapshot"

start=$(date +%s%N)
"$cli" --home "$home" --yes restore "${login[@]}" --from "$out/GZ0000_200602_BAK" >/dev/null 2>&1
took=$((($(date +%s%N) - start) / 1000000))
[ "$(state)" = "$backed_up" ] && passes=$((passes + 1)) || { echo "FAIL restore"; fails=$((fails + 1)); }

kill_state() { state; }
kill_moments="5 10 20 30 40 50 60 70 80 85 90 95 100 110"
kill_at restore "$spoilt" "$backed_up" "$took" -- --yes restore "${login[@]}" --from "$out/GZ0000_200602_BAK"
# The folders of the killed runs are swept by the next operation, which
# removes its own afterwards.
"$cli" --home "$home" --yes restore "${login[@]}" --from "$out/GZ0000_200602_BAK" >/dev/null 2>&1
[ "$(state)" = "$backed_up" ] && passes=$((passes + 1)) || { echo "FAIL last restore"; fails=$((fails + 1)); }
[ -z "$(ls -A "$TMPDIR")" ] && passes=$((passes + 1)) || { echo "FAIL staging left: $(ls "$TMPDIR")"; fails=$((fails + 1)); }
finish
