#!/usr/bin/env bash
# gzgl-cli acct, link and voucher: a demo accounting folder, the task linked
# to one of its sets, the transfer rules refused and saved, and transfers
# written into the set (a second one only after --yes); broken folders and
# bad input give messages, never a crash.
set -u
cli="$1"
. "$(dirname "$0")/harness.sh"

monthly_task
acct="$home/acct"
tab=$'\t'
row() { local IFS="$tab"; echo "$*"; }
set_db="$acct/KS0001.MDB"

{
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('01','总部','',1,0);"
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('0101','办公室','',2,1);"
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('0102','车间','',2,1);"
  echo "insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo,F_Character) values('0001','0101','张三',1,'1');"
  echo "insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo,F_Character) values('0002','0102','李四',1,'2');"
  echo "insert into ${p}Data(F_EmpNo,F003) values('0001',1000.5);"
  echo "insert into ${p}Data(F_EmpNo,F003) values('0002',2000.25);"
} | sqlite3 "$db" || { echo "FAIL setup"; exit 1; }

expect "no link yet" 0 "未连接财务系统" -- link show "${login[@]}"
expect "transfer without a link" 1 "工资系统帐套路径未设置。" -- voucher run "${login[@]}" --date 20060228
expect "missing folder" 1 "请选择正确的核算单位！" -- link set "${login[@]}" --folder "$home/nowhere" --set 演示公司

expect "demo folder" 0 "ID0001${tab}演示公司" -- acct demo --dir "$acct" --user 张三 --period 200602
expect "demo is never laid over" 1 "已存在" -- acct demo --dir "$acct" --user 张三 --period 200602
expect "bad demo period" 2 "--period" -- acct demo --dir "$home/x" --period 200613

expect "no set chosen" 1 "请选择核算单位！" -- link set "${login[@]}" --folder "$acct"
expect "unknown set" 1 "请选择正确的核算单位！" -- link set "${login[@]}" --folder "$acct" --set "演示公司' or '1'='1"
expect "link" 0 "ID0001${tab}$acct" -- link set "${login[@]}" --folder "$acct" --set 演示公司
expect "linked" 0 "ID0001${tab}$acct${tab}本月未转账" -- link show "${login[@]}"

expect "parent and child" 1 "含有上下级关系的部门编码！" "01,0102\tF003\t\t工资\t660201\t221101\t1\n" -- \
  voucher rules set "${login[@]}"
expect "non-leaf account" 1 "科目6602不为最明细,请修改！" "01\tF003\t\t工资\t6602\t221101\t1\n" -- \
  voucher rules set "${login[@]}"
expect "too many cells" 2 "多于七格" "01\tF003\t\t工资\t660201\t221101\t1\t9\n" -- voucher rules set "${login[@]}"
expect_exact "nothing saved by refusals" "" -- voucher rules list "${login[@]}"
expect "no rules to transfer" 1 "请先进行公式设置！" -- voucher run "${login[@]}" --date 20060228

rules="0101\tF003\t1\t计提'2月'工资\t660201\t221101\t1\n0102\tF003\t\t计提'2月'工资\t500101\t221101\t1\n"
expect "rules saved" 0 "公式存贮完毕！" "$rules" -- voucher rules set "${login[@]}"
expect_exact "rules listed" "$(
  row 0101 F003 1 "计提'2月'工资" 660201 221101 1
  row 0102 F003 "" "计提'2月'工资" 500101 221101 1
)" -- voucher rules list "${login[@]}"
expect "the same rules under the transfer command" 0 "计提'2月'工资" -- transfer rules list "${login[@]}"

expect "bad date" 2 "YYYYMMDD" -- voucher run "${login[@]}" --date 2006-02-28
expect "no such day" 1 "转账日期不正确！" -- voucher run "${login[@]}" --date 20060230
expect "date before the period" 1 "转账日期应大于当前工资日期！" -- voucher run "${login[@]}" --date 20060131
expect "transfer" 0 "转账成功！" -- voucher run "${login[@]}" --date 20060228
expect "marked" 0 "本月已转账" -- link show "${login[@]}"
got=$(sqlite3 "$set_db" "select PZH||' '||KMDM||' '||JDBZ||' '||printf('%.2f',JE)||' '||PZFYXH||' '||ZY from ID0001_PZGL_D order by PZH,PZFYXH")
want="1 660201 J 1000.50 1 计提'2月'工资
1 221101 D 1000.50 2 计提'2月'工资
1 500101 J 2000.25 3 计提'2月'工资
1 221101 D 2000.25 4 计提'2月'工资"
if [ "$got" = "$want" ]; then passes=$((passes + 1)); else echo "FAIL lines: [$got]"; fails=$((fails + 1)); fi

expect "second transfer needs a yes" 0 "是否进行第二次转账？ 否" -- voucher run "${login[@]}" --date 20060228 --unite
expect "second transfer united" 0 "转账成功！" -- voucher run "${login[@]}" --date 20060228 --unite --yes
got=$(sqlite3 "$set_db" "select PZH||' '||KMDM||' '||printf('%.2f',JE) from ID0001_PZGL_D where PZH=2 order by PZFYXH")
want="2 660201 1000.50
2 221101 3000.75
2 500101 2000.25"
if [ "$got" = "$want" ]; then passes=$((passes + 1)); else echo "FAIL united: [$got]"; fails=$((fails + 1)); fi
got=$(sqlite3 "$set_db" "select group_concat(PZH||':'||PZRQ||':'||ZZR) from ID0001_PZGL_M")
[ "$got" = "1:2006.02.28:张三,2:2006.02.28:张三" ] && passes=$((passes + 1)) || { echo "FAIL headers: [$got]"; fails=$((fails + 1)); }

# A set database that went missing, then one that is no database.
mv "$set_db" "$home/moved.MDB"
expect "set file missing" 1 "没有找到核算单位数据库KS0001.MDB！" -- voucher run "${login[@]}" --date 20060228 --yes
echo "not a database at all, just some text to fill the first page" >"$set_db"
expect "set file no database" 1 "不是财务系统数据库！" -- voucher run "${login[@]}" --date 20060228 --yes
expect "unlink" 0 "" -- link set "${login[@]}" --none
expect "unlinked" 0 "未连接财务系统" -- link show "${login[@]}"
expect "none with folder" 2 "--none" -- link set "${login[@]}" --none --folder "$acct"
expect "unknown subcommand" 2 "voucher 的子命令" -- voucher go "${login[@]}"
finish
