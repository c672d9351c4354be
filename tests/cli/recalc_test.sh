#!/usr/bin/env bash
# gzgl-cli recalc: the working grid of a month, recalculated, as text; the
# task's own setting of the per-employee exceptions; nothing written.
set -u
cli="$1"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
fails=0
fail() { echo "FAIL $*"; fails=$((fails + 1)); }

"$cli" --home "$home" task add --name 月薪 --operator 张三 --password pw --year 2006 --month 2 \
  --code-length 4 --mode 1 >/dev/null || fail "task add"
db="$home/KSMoney/GZ0000.MDB"
p=ID0000_200602_
sqlite3 "$db" <<SQL || fail "setup"
insert into ${p}Item values(8,'F004','岗位津贴','数字',2,1,15,1,0,0);
insert into ${p}Item values(9,'F005','所得税','数字',2,1,15,1,0,0);
alter table ${p}Data add F004 float;
alter table ${p}Data add F005 float;
insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo,F_NotCalc) values('0002','01','李四',1,'F005');
insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo) values('0001','01','张三',2);
insert into ${p}Data(F_EmpNo,F003,F004,FFFF) values('0001',3000,234.56,7);
insert into ${p}Data(F_EmpNo,F003,F004,FFFF) values('0002',1500,-20,0);
insert into ${p}Formula values(1,'F005','{F003+F004-800>0,(F003+F004-800)*0.1-25,0}');
insert into ${p}Formula values(2,'F000','F003+F004-F005');
SQL
before=$(sqlite3 "$db" "select * from ${p}Data order by F_EmpNo")

want=$(printf '%s\n' \
  "F001	F002	F000	F003	FFFF	FFFE	FFFD	F004	F005" \
  "工号	姓名	实发工资	应发工资	上月扣零	本月补发	本月扣零	岗位津贴	所得税" \
  "0002	李四	1430.00	1500.00	0.00	0	7	-20.00	43.00" \
  "0001	张三	3020.00	3000.00	7.00	10	3.1	234.56	218.46")
got=$("$cli" --home "$home" recalc --task 月薪 --user 张三 --password pw); rc=$?
[ "$rc" = 0 ] || fail "recalc rc=$rc"
[ "$got" = "$want" ] || fail "recalc output:
$got
want:
$want"

# With the exceptions on, 李四's tax is not calculated.
"$cli" --home "$home" settings notcalc on --task 月薪 --user 张三 --password pw >/dev/null
got=$("$cli" --home "$home" recalc --task 月薪 --user 张三 --password pw | sed -n 3p)
[ "$got" = "$(printf '0002\t李四\t1480.00\t1500.00\t0.00\t0\t0\t-20.00\t0.00')" ] || fail "exceptions on: $got"

[ "$(sqlite3 "$db" "select * from ${p}Data order by F_EmpNo")" = "$before" ] || fail "recalc wrote to the task"

got=$("$cli" --home "$home" recalc --task 月薪 --user 张三 --password pw --period 200603 2>&1); rc=$?
[ "$rc" = 1 ] || fail "missing period rc=$rc: $got"
got=$("$cli" --home "$home" recalc --task 月薪 --user 张三 --password pw --period 2006 2>&1); rc=$?
[ "$rc" = 2 ] || fail "bad period rc=$rc"
got=$("$cli" --home "$home" recalc --task 月薪 --user 张三 --password nope 2>&1); rc=$?
[ "$rc" = 1 ] && grep -qF "用户口令错误！" <<<"$got" || fail "bad password rc=$rc: $got"

[ "$fails" = 0 ] || exit 1
echo "recalc: all passed"
