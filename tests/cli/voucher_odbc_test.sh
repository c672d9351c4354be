#!/usr/bin/env bash
# gzgl-cli with the network form of the accounting system: a demo set laid
# out in a catalog of the private PostgreSQL server (run through
# tests/support/pg_server.sh), the task linked to it without its password
# being kept, and a transfer written into the catalog; a wrong password, a
# missing catalog and a password in the connection text are refused
# clearly.
set -u
cli="$1"
. "$(dirname "$0")/harness.sh"

[ -n "${GZGL_TEST_ODBC:-}" ] || { echo "FAIL: no server (run through tests/support/pg_server.sh)"; exit 1; }
conn="$GZGL_TEST_ODBC"
pw="$GZGL_TEST_ODBC_PASSWORD"
sql() { PGPASSWORD="$pw" $GZGL_TEST_PSQL -c "$1"; }
tab=$'\t'

monthly_task
{
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('01','总部','',1,0);"
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('0101','办公室','',2,1);"
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('0102','车间','',2,1);"
  echo "insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo,F_Character) values('0001','0101','张三',1,'1');"
  echo "insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo,F_Character) values('0002','0102','李四',1,'2');"
  echo "insert into ${p}Data(F_EmpNo,F003) values('0001',1000.5);"
  echo "insert into ${p}Data(F_EmpNo,F003) values('0002',2000.25);"
} | sqlite3 "$db" || { echo "FAIL setup"; exit 1; }

expect "demo needs the password" 1 "拒绝了登录名或口令" -- acct demo --odbc "$conn" --user 张三 --period 200602
expect "demo catalog" 0 "odbc:KS770CW:$conn" -- \
  acct demo --odbc "$conn" --db-password "$pw" --user 张三 --period 200602
expect "demo is never laid over" 1 "核算单位ID0001已存在！" -- \
  acct demo --odbc "$conn" --db-password "$pw" --user 张三 --period 200602

expect "password in the text" 1 "连接设置中不能含有口令" -- \
  link set "${login[@]}" --odbc "$conn;PWD=$pw" --set 演示公司
expect "wrong password" 1 "财务数据库服务器拒绝了登录名或口令！" -- \
  link set "${login[@]}" --odbc "$conn" --set 演示公司 --db-password wrong
expect "missing catalog" 1 "财务数据库KS770ZW不存在" -- \
  link set "${login[@]}" --odbc "$conn" --set 演示公司 --product KS770ZW --db-password "$pw"
expect "no such driver" 1 "没有找到ODBC数据源或驱动程序" -- \
  link set "${login[@]}" --odbc "Driver=/nowhere/none.so;Server=x" --set 演示公司 --db-password "$pw"
expect "unknown set" 1 "请选择正确的核算单位！" -- \
  link set "${login[@]}" --odbc "$conn" --set "演示公司' or '1'='1" --db-password "$pw"
expect "link" 0 "ID0001${tab}odbc:KS770CW:$conn" -- \
  link set "${login[@]}" --odbc "$conn" --set 演示公司 --db-password "$pw"
expect "linked" 0 "ID0001${tab}odbc:KS770CW:$conn${tab}本月未转账" -- link show "${login[@]}"
kept=$(sqlite3 "$home/KSMoney/KSSYS.MDB" "select F_ZTPATH from GZSysInfo")
case "$kept" in *"$pw"*) echo "FAIL the password was kept: $kept"; fails=$((fails + 1)) ;;
  *) passes=$((passes + 1)) ;; esac

rules="0101\tF003\t1\t计提'2月'工资\t660201\t221101\t1\n0102\tF003\t\t计提'2月'工资\t500101\t221101\t1\n"
expect "rules checked on the server" 1 "科目6602不为最明细,请修改！" "01\tF003\t\t工资\t6602\t221101\t1\n" -- \
  voucher rules set "${login[@]}" --db-password "$pw"
expect "rules saved" 0 "公式存贮完毕！" "$rules" -- voucher rules set "${login[@]}" --db-password "$pw"
expect "transfer without the password" 1 "拒绝了登录名或口令" -- voucher run "${login[@]}" --date 20060228
GZGL_DB_PASSWORD="$pw" expect "transfer" 0 "转账成功！" -- voucher run "${login[@]}" --date 20060228
expect "marked" 0 "本月已转账" -- link show "${login[@]}"
got=$(sql "select PZH||' '||KMDM||' '||JDBZ||' '||JE||' '||PZFYXH||' '||ZY||' '||HSXM from ID0001_PZGL_D order by PZH,PZFYXH")
want="1 660201 0 1000.50 1 计提'2月'工资 001:0101
1 221101 1 1000.50 2 计提'2月'工资 001:0101
1 500101 0 2000.25 3 计提'2月'工资 001:0102
1 221101 1 2000.25 4 计提'2月'工资 001:0102"
if [ "$got" = "$want" ]; then passes=$((passes + 1)); else echo "FAIL lines: [$got]"; fails=$((fails + 1)); fi
got=$(sql "select PZH||':'||PZRQ||':'||ZZR||':'||PZZT from ID0001_PZGL_M")
[ "$got" = "1:20060228:张三:0" ] && passes=$((passes + 1)) || { echo "FAIL header: [$got]"; fails=$((fails + 1)); }

# The set's current period moves on: the transfer is refused, nothing written.
sql "update ID0001_XTSZ set DQKJY=3" >/dev/null
expect "periods differ" 1 "财务系统的当前日期与工资系统的当前日期不一致，不能转账。" -- \
  voucher run "${login[@]}" --date 20060228 --yes --db-password "$pw"
sql "drop table ID0001_YHGL" >/dev/null
expect "missing table" 1 "中没有数据表ID0001_YHGL！" -- voucher run "${login[@]}" --date 20060228 --yes --db-password "$pw"
finish
