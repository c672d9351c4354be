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
cols=$(seq -s, -f 'F%03g' 4 33)
{
  echo "begin;"
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('01','总部','',1,1);"
  for i in $(seq 4 33); do
    code=$(printf 'F%03d' "$i")
    echo "insert into ${p}Item values($((i + 4)),'$code','项目$i','数字',2,1,15,1,0,0);"
    echo "alter table ${p}Data add $code float;"
  done
  echo "insert into ${p}Formula values(1,'F003','F004+F005+F006');"
  echo "with recursive n(i) as (select 1 union all select i+1 from n where i<4000)
        insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo) select printf('%04d',i),'01','员工'||i,i from n;"
  vals=$(for i in $(seq 4 33); do printf '(i*%d %% 100000)/100.0,' "$i"; done)
  echo "with recursive n(i) as (select 1 union all select i+1 from n where i<4000)
        insert into ${p}Data(F_EmpNo,FFFF,$cols) select printf('%04d',i),0,${vals%,} from n;"
  echo "commit;"
} | sqlite3 "$db" || { echo "FAIL setup"; exit 1; }

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

seen=""
for pct in 5 10 20 30 40 50 60 70 80 85 90 95 100 110; do
  rm -rf "$home/KSMoney"; cp -r "$snapshot" "$home/KSMoney"
  "$cli" --home "$home" --yes restore "${login[@]}" --from "$out/GZ0000_200602_BAK" >/dev/null 2>&1 &
  pid=$!
  sleep "$(awk -v t="$took" -v p="$pct" 'BEGIN { printf "%.3f", t * p / 100000 }')"
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  now=$(state)
  if [ "$now" = "$spoilt" ]; then
    passes=$((passes + 1)); seen="$seen $pct%:before"
  elif [ "$now" = "$backed_up" ]; then
    passes=$((passes + 1)); seen="$seen $pct%:after"
  else
    echo "FAIL restore killed at $pct% left a mixture"; fails=$((fails + 1))
  fi
done
echo "restore took ${took} ms; killed at$seen"
# The folders of the killed runs are swept by the next operation, which
# removes its own afterwards.
"$cli" --home "$home" --yes restore "${login[@]}" --from "$out/GZ0000_200602_BAK" >/dev/null 2>&1
[ "$(state)" = "$backed_up" ] && passes=$((passes + 1)) || { echo "FAIL last restore"; fails=$((fails + 1)); }
[ -z "$(ls -A "$TMPDIR")" ] && passes=$((passes + 1)) || { echo "FAIL staging left: $(ls "$TMPDIR")"; fails=$((fails + 1)); }
finish
