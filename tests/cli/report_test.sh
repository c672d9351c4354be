#!/usr/bin/env bash
# gzgl-cli report: the standard reports as TAB text, a PDF and one payslip
# PDF per employee; the screen's refusals on bad input.
set -u
cli="$1"
. "$(dirname "$0")/harness.sh"

monthly_task

sqlite3 "$home/KSMoney/KSSYS.MDB" "update GZSysInfo set F_BMJB='22000';" || { echo "FAIL scheme"; exit 1; }
{
  echo "insert into ${p}DepType values('01','管理','','');"
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('01','总部','',1,0);"
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('0101','财务','01',2,1);"
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('0102','销售','01',2,1);"
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('02','工厂','',1,1);"
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('%1','百分','',1,1);"
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('''1','引号','',1,1);"
  echo "insert into ${p}Item values(8,'F004','基本工资','数字',2,1,15,1,0,0);"
  echo "alter table ${p}Data add F004 float;"
  echo "insert into ${p}Formula values(1,'F003','F004');"
  echo "insert into ${p}Formula values(2,'F000','F003');"
  n=0
  for e in "0101 张一 100.10" "0101 李二 200.20" "0102 王/三 300.30" "02 赵四 400.40" "%1 钱五 0.01" "'1 孙六 0.02"; do
    set -- $e
    n=$((n + 1))
    no=$(printf '%04d' "$n")
    dep=${1//\'/\'\'}
    echo "insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo) values('$no','$dep','$2',$n);"
    echo "insert into ${p}Data(F_EmpNo,F004) values('$no',$3);"
  done
  echo "update ${p}Data set F004=-9999 where F_EmpNo='0004';"
} | sqlite3 "$db" || { echo "FAIL setup"; exit 1; }

# Refusals, each with its message and exit code 1; usage errors 2.
expect "no type" 1 "请选择报表类型！" -- report "${login[@]}" --from 200602 --tsv
expect "bad type" 2 "--type" -- report "${login[@]}" --type 7 --from 200602 --tsv
expect "no month" 1 "请输入所需打印报表日期！" -- report "${login[@]}" --type 0 --tsv
expect "bad month" 1 "请输入所需打印报表日期！" -- report "${login[@]}" --type 0 --from 200613 --tsv
expect "past current" 1 "报表日期不能大于工资的当前日期。" -- report "${login[@]}" --type 0 --from 200602 --to 200603 --tsv
expect "before start" 1 "报表日期不能小于工资的起用日期。" -- report "${login[@]}" --type 0 --from 200512 --to 200602 --tsv
expect "unknown department" 1 "不存在此部门：77" -- report "${login[@]}" --type 0 --from 200602 --dep "01 总部,77" --tsv
expect "unknown type" 1 "不存在此部门类型：仓储" -- report "${login[@]}" --type 1 --from 200602 --dep-type 仓储 --tsv
expect "level 9" 1 "输入的部门级数不存在！" -- report "${login[@]}" --type 0 --from 200602 --level 9 --tsv
expect "level and lowest" 2 "--lowest" -- report "${login[@]}" --type 0 --from 200602 --level 1 --lowest --tsv
expect "two outputs" 2 "--tsv" -- report "${login[@]}" --type 0 --from 200602 --tsv --pdf "$home/x.pdf"
expect "split needs payslips" 2 "--split-pdf" -- report "${login[@]}" --type 2 --from 200602 --split-pdf "$home/x"

# The department summary one level below the root; 0004's missing value
# counts 0, and the totals row is the sum of the rows.
expect_exact "summary" "$(printf '%s\n' \
  $'部门编码\t部门名称\t人 数\t实发工资\t应发工资\t上月扣零\t本月补发\t本月扣零\t基本工资' \
  $'%1\t百分\t1\t0.01\t0.01\t0.00\t0.00\t0.00\t0.01' \
  $'\'1\t引号\t1\t0.02\t0.02\t0.00\t0.00\t0.00\t0.02' \
  $'01\t总部\t3\t600.60\t600.60\t0.00\t0.00\t0.00\t600.60' \
  $'02\t工厂\t1\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00' \
  $'合   计\t\t6\t600.63\t600.63\t0.00\t0.00\t0.00\t600.63')" \
  -- report "${login[@]}" --type 0 --from 200602 --tsv
# A code holding % or ' lists only itself.
expect_exact "percent code" "$(printf '%s\n' \
  $'部门编码\t部门名称\t人 数\t实发工资\t应发工资\t上月扣零\t本月补发\t本月扣零\t基本工资' \
  $'%1\t百分\t1\t0.01\t0.01\t0.00\t0.00\t0.00\t0.01' \
  $'合   计\t\t1\t0.01\t0.01\t0.00\t0.00\t0.00\t0.01')" \
  -- report "${login[@]}" --type 0 --from 200602 --dep "%1 百分" --tsv
expect "quote code" 0 $'\'1\t引号\t1' -- report "${login[@]}" --type 0 --from 200602 --dep "'1" --tsv
expect "lowest" 0 $'0102\t销售\t1\t300.30' -- report "${login[@]}" --type 0 --from 200602 --lowest --tsv
expect "level 2" 0 $'合   计\t\t3\t600.60' -- report "${login[@]}" --type 0 --from 200602 --level 2 --tsv
expect "type summary" 0 $'01\t管理\t3\t600.60' -- report "${login[@]}" --type 1 --from 200602 --dep-type 管理 --tsv

# Three months; in the second 张一 moves to 销售, in the third 李二 is renamed.
expect "close 3" 0 "结转完成！" -- period close "${login[@]}"
sqlite3 "$db" "update ID0000_200603_Employee set F_DepNo='0102' where F_EmpNo='0001';"
expect "close 4" 0 "结转完成！" -- period close "${login[@]}"
sqlite3 "$db" "update ID0000_200604_Employee set F_EmpName='李贰' where F_EmpNo='0002';"
out=$(run "" -- report "${login[@]}" --type 2 --from 200604 --to 200602 --tsv)
check() { # check NAME CONDITION-RESULT
  if [ "$2" = 0 ]; then passes=$((passes + 1)); else echo "FAIL $1: $out"; fails=$((fails + 1)); fi
}
check "reversed range reported" "$(grep -q '报表年月：2006年02月 -至- 2006年04月' <<<"$out"; echo $?)"
check "moved employee one row, last department" "$(grep -qP '^0001\t张一\t销售\t300.30' <<<"$out"; echo $?)"
check "renamed employee two rows" "$(grep -qP '^0002\t李二\t财务\t400.40' <<<"$out" && grep -qP '^0002\t李贰\t财务\t200.20' <<<"$out"; echo $?)"
check "one totals row" "$(grep -c '^合   计' <<<"$out" | grep -qx 1; echo $?)"
check "range total" "$(grep -qP '^合   计\t\t\t1801.89' <<<"$out"; echo $?)"

# A PDF of the type summary over the range, and payslips one per employee.
pdftext() {
  pdftotext -layout "$1" - | /usr/bin/python3 -c '
import sys, unicodedata
t = unicodedata.normalize("NFKC", sys.stdin.read())
print(t.translate(str.maketrans({"\u2ed4": "门", "\u2eda": "页", "\u2215": "/"})))'
}
expect "summary pdf" 0 "sum.pdf" -- report "${login[@]}" --type 1 --from 200602 --to 200604 --pdf "$home/sum.pdf"
out=$(pdftext "$home/sum.pdf")
check "title" "$(grep -q '职工工资部门类型汇总表' <<<"$out"; echo $?)"
check "date range" "$(grep -q '日期:2006年02月--2006年04月' <<<"$out"; echo $?)"
check "page line" "$(grep -q '第1/1页' <<<"$out"; echo $?)"
check "footers" "$(grep -q '主管:' <<<"$out" && grep -q '复核:' <<<"$out" && grep -q '制表: *张三' <<<"$out"; echo $?)"
expect "payslips" 0 "0003_王_三.pdf" -- report "${login[@]}" --type 3 --from 200604 --dep 01 --split-pdf "$home/slips"
check "three payslip files" "$(ls "$home/slips" | wc -l | grep -qx 3; echo $?)"
out=$(pdftext "$home/slips/0003_王_三.pdf")
check "payslip content" "$(grep -q '职工工资单' <<<"$out" && grep -q '王/三' <<<"$out" && grep -q '300.30' <<<"$out" && ! grep -q '张一' <<<"$out"; echo $?)"

# A month of the range cleared: refused, nothing built.
expect "clear" 0 "" -- period clear "${login[@]}" --period 200602
expect "cleared month" 1 "2006年02月的工资数据已被清除或不存在！" -- report "${login[@]}" --type 0 --from 200602 --to 200604 --tsv
finish
