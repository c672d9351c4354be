#!/usr/bin/env bash
# gzgl-cli print: the entry grid (form 9989) and the department staff list
# (form 1542) through the print engine into a PDF whose pages and texts are
# read back with poppler; an empty grid gives the no-data message and no file.
set -u
cli="$1"
. "$(dirname "$0")/harness.sh"

monthly_task

expect "empty grid" 1 "没有数据可供打印！" -- print "${login[@]}" --form 9989 --pdf "$home/none.pdf"
[ -e "$home/none.pdf" ] && { echo "FAIL a file for an empty grid"; fails=$((fails + 1)); }
expect "unknown form" 2 "--form" -- print "${login[@]}" --form 77 --pdf "$home/x.pdf"

{
  echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('01','办公室','',1,1);"
  for i in $(seq 1 95); do
    n=$(printf '%04d' "$i")
    echo "insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo) values('$n','01','员工$i',$i);"
    echo "insert into ${p}Data(F_EmpNo,F003) values('$n',$((1000 + i)));"
  done
  echo "insert into ${p}Formula values(1,'F000','F003*2');"
  # Long account and identity numbers, a large amount and a long name in
  # columns of the default 15 mm.
  echo "insert into ${p}Item values(8,'FFFG','身份证号','文字',0,0,15,1,0,0);"
  echo "insert into ${p}Item values(9,'FFFH','银行账号','文字',0,0,15,1,0,0);"
  echo "update ${p}Employee set F_AccNo='6222021234567890123',F_CID='11010519491231002X',F_EmpName='欧阳娜娜娜娜' where F_EmpNo='0002';"
  echo "update ${p}Data set F003=52234567.89 where F_EmpNo='0002';"
} | sqlite3 "$db" || { echo "FAIL setup"; exit 1; }

# Text of a PDF, NFKC-folded (full-width colon and slash become ASCII) and
# with the radical forms poppler gives for some CJK glyphs mapped back.
# Options after the file (-f N -l N) choose pages.
pdftext() {
  local file="$1"
  shift
  pdftotext -layout "$@" "$file" - | /usr/bin/python3 -c '
import sys, unicodedata
t = unicodedata.normalize("NFKC", sys.stdin.read())
print(t.translate(str.maketrans({"\u2ed4": "门", "\u2eda": "页", "\u2215": "/"})))'
}
pages() { pdfinfo "$1" | awk '/^Pages:/ {print $2}'; }
check() { # check NAME CONDITION-RESULT
  if [ "$2" = 0 ]; then passes=$((passes + 1)); else echo "FAIL $1"; fails=$((fails + 1)); fi
}

expect "entry grid" 0 "entry.pdf" -- print "${login[@]}" --form 9989 --pdf "$home/entry.pdf"
text=$(pdftext "$home/entry.pdf")
n=$(pages "$home/entry.pdf")
check "entry grid has pages" "$([ "${n:-0}" -ge 2 ]; echo $?)"
check "title" "$(grep -q '工资录入' <<<"$text"; echo $?)"
check "department line" "$(grep -q '部门:全体部门' <<<"$text"; echo $?)"
check "page line of the first page" "$(grep -q "第1/${n}页" <<<"$text"; echo $?)"
check "recalculated net pay" "$(grep -q '2002.00' <<<"$text"; echo $?)"
check "last employee" "$(grep -q '员工95' <<<"$text"; echo $?)"
check "maker" "$(grep -q '制表:张三' <<<"$text"; echo $?)"
check "date" "$(grep -q '日期:2006年02月' <<<"$text"; echo $?)"
for whole in 6222021234567890123 11010519491231002X 52234567.89 104469135.78; do
  check "whole figure $whole" "$(grep -q "$whole" <<<"$text"; echo $?)"
done
# Number and name stand on every page, the horizontal ones included.
for page in $(seq 1 "${n:-0}"); do
  pt=$(pdftext "$home/entry.pdf" -f "$page" -l "$page")
  check "number and name on page $page" "$(grep -q '工号' <<<"$pt" && grep -q '姓名' <<<"$pt"; echo $?)"
done

expect "staff list" 0 "staff.pdf" -- print "${login[@]}" --form 1542 --dep 01 --pdf "$home/staff.pdf"
text=$(pdftext "$home/staff.pdf")
check "staff list title" "$(grep -q '部门人员管理表' <<<"$text"; echo $?)"
check "staff list department" "$(grep -q '部门:办公室' <<<"$text"; echo $?)"
check "staff list employee" "$(grep -q '员工7' <<<"$text"; echo $?)"
for whole in 6222021234567890123 11010519491231002X; do
  check "staff list whole $whole" "$(grep -q "$whole" <<<"$text"; echo $?)"
done
finish
