#!/usr/bin/env bash
# gzgl-cli backup, restore, task export/import and the full backup, driven
# as an administrator would, with the mistakes a new user makes: a missing
# or unusable folder, a damaged archive, a second import, a cancel.
set -u
cli="$1"
source "$(dirname "$0")/harness.sh"

monthly_task
sqlite3 "$db" "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('01','总部','',1,1);
  insert into ${p}Item values(8,'F004','基本工资','数字',2,1,15,1,0,0); alter table ${p}Data add F004 float;
  insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo) values('0001','01','张三',1),('0002','01','李四',2);
  insert into ${p}Data(F_EmpNo,F004) values('0001',1234.5),('0002',2000);
  insert into ${p}Formula values(1,'F003','F004*2'); insert into ${p}Formula values(2,'F000','F003-100');"
same() { # same NAME WANT GOT
  if [ "$2" = "$3" ]; then passes=$((passes + 1)); else echo "FAIL $1: got [$3] want [$2]"; fails=$((fails + 1)); fi
}
out="$home/out"
mkdir -p "$out"
grid=$("$cli" --home "$home" recalc "${login[@]}")

expect "backup" 0 "数据备份完毕！" -- backup month "${login[@]}" --period 200602 --to "$out"
same "one archive" "GZ0000_200602.KSC" "$(ls "$out/GZ0000_200602_BAK")"
expect "backup missing folder" 1 "请选择正确的路径！" -- backup month "${login[@]}" --to "$home/none"
expect "backup into a file" 1 "请选择正确的路径！" -- backup month "${login[@]}" --to "$db"
expect "backup unwritable" 1 "数据备份没有完成！" -- backup month "${login[@]}" --to /proc
expect "backup no month" 1 "该任务没有2006年第01月的工资数据！" -- backup month "${login[@]}" --period 200601 --to "$out"
expect "backup bad month" 1 "请选择所需备份的日期!" -- backup month "${login[@]}" --period 200613 --to "$out"

sqlite3 "$db" "update ${p}Data set F004=1; delete from ${p}Employee where F_EmpNo='0002'"
expect "restore wrong folder" 1 "请选择正确的路径！" -- restore "${login[@]}" --from "$out"
expect "restore cancelled" 1 "确定要恢复吗？ 否" -- restore "${login[@]}" --from "$out/GZ0000_200602_BAK"
expect "cancel changed nothing" 0 "0001	张三" -- recalc "${login[@]}"
expect "restore" 0 "数据恢复完毕！" -- --yes restore "${login[@]}" --from "$out/GZ0000_200602_BAK"
expect_exact "restored grid" "$grid" -- recalc "${login[@]}"

# Damaged and foreign archives change nothing.
mkdir -p "$out/bad"
head -c 300 "$out/GZ0000_200602_BAK/GZ0000_200602.KSC" >"$out/bad/GZ0000_200602.KSC"
sqlite3 "$db" "update ${p}Data set F004=5"
changed=$("$cli" --home "$home" recalc "${login[@]}")
expect "truncated archive" 1 "备份文件不正确，数据没有恢复！" -- --yes restore "${login[@]}" --from "$out/bad"
echo "not an archive" >"$out/bad/GZ0000_200602.KSC"
expect "foreign file" 1 "备份文件不正确，数据没有恢复！" -- --yes restore "${login[@]}" --from "$out/bad"
expect_exact "nothing changed" "$changed" -- recalc "${login[@]}"

# A cleared period comes back closed.
expect "close" 0 "结转完成！" -- period close "${login[@]}"
expect "close again" 0 "结转完成！" -- period close "${login[@]}"
expect "backup 03" 0 "数据备份完毕！" -- backup month "${login[@]}" --period 200603 --to "$out"
expect "clear 03" 0 "数据清理完毕！" -- period clear "${login[@]}" --period 200603
expect "restore cleared" 0 "数据恢复完毕！" -- --yes restore "${login[@]}" --from "$out/GZ0000_200603_BAK"
expect_exact "periods" "$(printf '200602\t已结转\n200603\t已结转\n200604\t当前')" -- period list "${login[@]}"

# Export, then import into another installation that has tasks 0000-0003.
expect "export" 0 "任务导出完毕！" -- task export "${login[@]}" --to "$out" --date 20070115
expect "export missing folder" 1 "请选择正确的路径！" -- task export "${login[@]}" --to "$home/none"
other=$(mktemp -d)
trap 'rm -rf "$home" "$other"' EXIT
for n in 甲 乙 丙 丁; do
  "$cli" --home "$other" task add --name "$n" --code-length 4 >/dev/null
done
imported=$("$cli" --home "$other" task import --file "$out/GZ_0000_20070115.ksc")
same "import" "0004" "$(head -1 <<<"$imported")"
for period in 200602 200603 200604; do
  want=$("$cli" --home "$home" recalc "${login[@]}" --period $period)
  got=$("$cli" --home "$other" recalc "${login[@]}" --period $period)
  same "imported $period" "$want" "$got"
done
expect "second import" 1 "已经存在，导入失败！" -- --home "$other" task import --file "$out/GZ_0000_20070115.ksc"
expect "import nothing" 1 "没有选择文件！" -- --home "$other" task import
expect "import damaged" 1 "要导入的数据不正确！" -- --home "$other" task import --file "$out/bad/GZ0000_200602.KSC"
expect "import backup" 1 "要导入的数据不正确！" -- --home "$other" task import --file "$out/GZ0000_200603_BAK/GZ0000_200603.KSC"
same "no stray files" "GZ0000.MDB GZ0001.MDB GZ0002.MDB GZ0003.MDB GZ0004.MDB GZNULL.MDB GZNull.mdb KSSYS.MDB" \
  "$(ls "$other/KSMoney" | tr '\n' ' ' | sed 's/ $//')"

# The whole data home, laid out elsewhere.
expect "backup all" 0 "全库备份完毕！" -- backup all --to "$out/all.ksc"
expect "backup all into a folder" 0 "GZALL_" -- backup all --to "$out"
expect "backup all missing folder" 1 "请选择正确的路径！" -- backup all --to "$home/none/all.ksc"
expect "restore all" 0 "全库恢复完毕！" -- restore all --from "$out/all.ksc" --home "$out/newhome"
expect_exact "new home calculates" "$("$cli" --home "$home" recalc "${login[@]}")" -- --home "$out/newhome" recalc "${login[@]}"
expect "restore all over a home" 1 "不是空文件夹" -- restore all --from "$out/all.ksc" --home "$home"
expect "restore all damaged" 1 "全库备份文件不正确" -- restore all --from "$out/bad/GZ0000_200602.KSC" --home "$out/h2"
same "no home left" "" "$(ls -d "$out/h2" 2>/dev/null)"
expect "usage" 2 "backup 之后应为" -- backup
finish
