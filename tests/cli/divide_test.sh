#!/usr/bin/env bash
# gzgl-cli divide: the banknote denomination sheet as tab-separated text
# (employee rows of a lowest-level department, department rows of its
# parent, the total row), refusals of codes that find no department, a
# negative net pay, and the sheet rendered into a PDF.
set -u
cli="$1"
. "$(dirname "$0")/harness.sh"

monthly_task
tab=$'\t'
row() { local IFS="$tab"; echo "$*"; }
emp_head=$(row 员工编号 员工姓名 实发工资 100元 50元 10元 5元 2元 1元 5角 2角 1角 5分 2分 1分)
dep_head=$(row 部门编号 部门名称 实发工资 100元 50元 10元 5元 2元 1元 5角 2角 1角 5分 2分 1分)

expect "no department at all" 1 "没有查到部门！" -- divide "${login[@]}"
expect "unknown option" 2 "--bogus" -- divide "${login[@]}" --bogus 1

{
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('01','总部','',1,0);"
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('0101','办公室','',2,1);"
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('0102','财务科','',2,1);"
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('0103','仓库','',2,1);"
  echo "insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo) values('0001','0101','张三',1);"
  echo "insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo) values('0002','0101','李四',2);"
  echo "insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo) values('0003','0102','王五',1);"
  echo "insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo) values('0004','0102','赵六',2);"
  echo "insert into ${p}Data(F_EmpNo,F003) values('0001',188.88);"
  echo "insert into ${p}Data(F_EmpNo,F003) values('0002',-9999);"
  echo "insert into ${p}Data(F_EmpNo,F003) values('0003',0.3);"
  # 0004 has no data row until the opening refresh gives him one.
  echo "insert into ${p}Formula values(1,'F000','F003');"
} | sqlite3 "$db" || { echo "FAIL setup"; exit 1; }

expect_exact "default department lists its employees" "$(
  row "$emp_head"
  row 0001 张三 188.88 1 1 3 1 1 1 1 1 1 1 1 1
  row 0002 李四 0.00 0 0 0 0 0 0 0 0 0 0 0 0
)" -- divide "${login[@]}"

expect_exact "parent gives department rows and the total" "$(
  row "$dep_head"
  row 0101 办公室 188.88 1 1 3 1 1 1 1 1 1 1 1 1
  row 0102 财务科 0.30 0 0 0 0 0 0 0 1 1 0 0 0
  row 0103 仓库 0.00 0 0 0 0 0 0 0 0 0 0 0 0
  row "总   计" "" 189.18 1 1 3 1 1 1 1 2 2 1 1 1
)" -- divide "${login[@]}" --dep 01 --total

for code in 09 "0%" "_1" "01'" "0101' or '1'='1"; do
  expect "no department for [$code]" 1 "没有查到部门！" -- divide "${login[@]}" --dep "$code"
done

sqlite3 "$db" "update ${p}Data set F003=-11.12 where F_EmpNo='0004';" || { echo "FAIL update"; exit 1; }
expect_exact "negative net pay shows no notes" "$(
  row "$emp_head"
  row 0003 王五 0.30 0 0 0 0 0 0 0 1 1 0 0 0
  row 0004 赵六 -11.12 "" "" "" "" "" "" "" "" "" "" "" ""
  row "总   计" "" -10.82 0 0 0 0 0 0 0 1 1 0 0 0
)" -- divide "${login[@]}" --dep "0102  财务科" --total

expect "empty department has nothing to preview" 1 "没有数据可供预览！" -- \
  divide "${login[@]}" --dep 0103 --pdf "$home/none.pdf"
[ -e "$home/none.pdf" ] && { echo "FAIL a file for an empty sheet"; fails=$((fails + 1)); }

expect "sheet into a PDF" 0 "sheet.pdf" -- divide "${login[@]}" --dep 01 --total --pdf "$home/sheet.pdf"
text=$(pdftotext -layout "$home/sheet.pdf" - | /usr/bin/python3 -c '
import sys, unicodedata
t = unicodedata.normalize("NFKC", sys.stdin.read())
print(t.translate(str.maketrans({"\u2ed4": "门", "\u2eda": "页", "\u2215": "/"})))')
# The net-pay total takes in the negative amount: 188.88 + 0.30 - 11.12.
for want in 票额分割表 部门:总部 第1/1页 日期:2006年02月 制表: 张三 财务科 178.06 100元 1分; do
  if grep -qF "$want" <<<"$text"; then passes=$((passes + 1)); else echo "FAIL pdf text $want"; fails=$((fails + 1)); fi
done
finish
