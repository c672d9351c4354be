#!/usr/bin/env bash
# gzgl-cli data set and export: one value typed into the entry grid with
# the grid's rules and messages, the row's net pay recalculated; the grid
# written as an Excel workbook, an existing file replaced only with --yes.
set -u
cli="$1"
. "$(dirname "$0")/harness.sh"

monthly_task
sqlite3 "$db" <<SQL || { echo "FAIL setup"; exit 1; }
insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('01','办公室','',1,1);
insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('02','车间','',1,1);
insert into ${p}Item values(8,'F004','岗位津贴','数字',2,1,15,1,0,0);
insert into ${p}Item values(9,'F005','扣款','数字',2,1,15,1,0,0);
insert into ${p}Item values(10,'F006','备注','文字',0,1,15,1,0,0);
insert into ${p}Item values(11,'FFFH','银行账号','文字',0,1,15,1,0,0);
alter table ${p}Data add F004 float;
alter table ${p}Data add F006 varchar(16);
insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo,F_AccNo) values('0001','01','张三',1,'6222021234567890123');
insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo) values('0002','02','李四',1);
insert into ${p}Data(F_EmpNo,F003) values('0001',3000);
insert into ${p}Formula values(1,'F005','F004*0.1');
insert into ${p}Formula values(2,'F000','F003+F004-F005');
SQL
val() { sqlite3 "$db" "select $1 from ${p}Data where F_EmpNo='$2'"; }

# The opening refresh runs first: 李四 gets his data row.
expect_exact "accepted" "$(printf 'F004\t200.00\nF000\t3180.00')" -- data set "${login[@]}" --emp 0001 --item F004 200
[ "$(val F004 0001)" = "200.0" ] || { echo "FAIL stored $(val F004 0001)"; fails=$((fails + 1)); }
expect "data row made" 0 "F004" -- data set "${login[@]}" --emp 0002 --item f004 12345678.5
[ "$(val F004 0002)" = "12345678.5" ] || { echo "FAIL big value $(val F004 0002)"; fails=$((fails + 1)); }
expect "negative" 0 "-35.00" -- data set "${login[@]}" --emp 0001 --item F004 -- -35
expect "cleared" 0 "$(printf 'F004\t0.00')" -- data set "${login[@]}" --emp 0001 --item F004 ""
[ "$(val F004 0001)" = "0.0" ] || { echo "FAIL cleared $(val F004 0001)"; fails=$((fails + 1)); }

expect "too rich" 1 "谁这么大款，有这么多工资？" -- data set "${login[@]}" --emp 0001 --item F004 123456789.5
expect "illegal" 1 "含有非法字符！" -- data set "${login[@]}" --emp 0001 --item F004 12a
expect "not one number" 1 "含有非法字符！" -- data set "${login[@]}" --emp 0001 --item F004 1.2.3
[ "$(val F004 0001)" = "0.0" ] || { echo "FAIL refused entries changed the value"; fails=$((fails + 1)); }
expect "text" 0 "O'Neil |x|" -- data set "${login[@]}" --emp 0002 --item F006 "O'Neil |x|"
[ "$(val F006 0002)" = "O'Neil |x|" ] || { echo "FAIL text $(val F006 0002)"; fails=$((fails + 1)); }

expect "unknown employee" 1 "查无此人！" -- data set "${login[@]}" --emp 0009 --item F004 1
expect "unknown item" 1 "没有代码为F099的工资项目！" -- data set "${login[@]}" --emp 0001 --item F099 1
expect "formula item" 1 "其值由公式计算" -- data set "${login[@]}" --emp 0001 --item F005 1
expect "bad usage" 2 "" -- data set "${login[@]}" --emp 0001 --item F004
expect "bad password" 1 "用户口令错误！" -- data set --task 月薪 --user 张三 --password no --emp 0001 --item F004 1

# Export: every department, then only 02; an existing file needs --yes.
x="$home/工资.xlsx"
expect "export" 0 "Excel表格已经成功导出。" -- export "${login[@]}" --xlsx "$x"
read_back() {
  /usr/bin/python3 - "$x" <<'PY'
import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).active
for row in ws.iter_rows(values_only=True):
    print("|".join("%s:%s" % (type(v).__name__, v) for v in row))
PY
}
got=$(read_back)
head=$(sed -n 1p <<<"$got")
case "$head" in
  "str:工号|str:姓名|str:实发工资|str:应发工资|str:岗位津贴|str:扣款|str:备注|str:银行账号") passes=$((passes + 1)) ;;
  *) echo "FAIL captions: $head"; fails=$((fails + 1)) ;;
esac
grep -qF "str:0001|str:张三|int:3000|int:3000|int:0|" <<<"$got" && grep -qF "str:6222021234567890123" <<<"$got" \
  && passes=$((passes + 1)) || { echo "FAIL rows: $got"; fails=$((fails + 1)); }
expect "no overwrite" 1 "磁盘中已有Excel文件,是否要覆盖 否" -- export "${login[@]}" --xlsx "$x" --dep 02
[ "$(read_back | wc -l)" = 3 ] || { echo "FAIL overwritten without yes"; fails=$((fails + 1)); }
expect "overwrite" 0 "Excel表格已经成功导出。" -- --yes export "${login[@]}" --xlsx "$x" --dep 02
[ "$(read_back | wc -l)" = 2 ] || { echo "FAIL --dep 02: $(read_back)"; fails=$((fails + 1)); }
# With the accounts: the identity number from the employee record, as text.
sqlite3 "$db" "update ${p}Employee set F_CID='110105194912310021' where F_EmpNo='0001'"
expect "with accounts" 0 "Excel表格已经成功导出。" -- --yes export "${login[@]}" --xlsx "$x" --with-accounts
got=$(read_back)
grep -qF "str:工号|str:姓名|str:身份证号|str:实发工资" <<<"$got" && grep -qF "str:张三|str:110105194912310021|" <<<"$got" \
  && passes=$((passes + 1)) || { echo "FAIL with accounts: $got"; fails=$((fails + 1)); }

# A tax line that assigns nothing below its threshold: after an edit the
# row's net pay is the one recalc gives from the stored values, not one
# that kept the tax of the screen's opening.
sqlite3 "$db" <<SQL || { echo "FAIL tax setup"; exit 1; }
insert into ${p}Item values(12,'F007','所得税','数字',2,1,15,1,0,0);
insert into ${p}Formula values(3,'F007','{F003+F004>5000,(F003+F004-5000)*0.5}');
update ${p}Formula set F_ID=4, F_Formula='F003+F004-F005-F007' where F_Code='F000';
SQL
net() { "$cli" --home "$home" recalc "${login[@]}" | awk -F'\t' '$1=="0002" {print $3}'; }
expect_exact "taxed" "$(printf 'F004\t12345678.00\nF000\t4940771.20')" -- data set "${login[@]}" --emp 0002 --item F004 12345678
expect_exact "below threshold" "$(printf 'F004\t100.00\nF000\t90.00')" -- data set "${login[@]}" --emp 0002 --item F004 100
[ "$(net)" = "90.00" ] || { echo "FAIL recalc net pay $(net)"; fails=$((fails + 1)); }
expect "beyond the limit once rounded" 1 "谁这么大款，有这么多工资？" -- data set "${login[@]}" --emp 0002 --item F004 99999999.999
[ "$(val F004 0002)" = "100.0" ] || { echo "FAIL refused entry changed the value $(val F004 0002)"; fails=$((fails + 1)); }

finish
