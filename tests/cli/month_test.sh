#!/usr/bin/env bash
# A typical month from the command line, as a clerk does it in the screens:
# a new task with rounding to whole yuan, departments, employees, items and
# formulas, the month's values typed in, the pay sheet printed to PDF, the
# bank file written, the voucher transferred into the demo accounting
# folder, the month closed; in the new month last month's remainder is
# carried into 上月扣零.
set -u
cli="$1"
source "$(dirname "$0")/harness.sh"
tab=$'\t'
login=(--task 一车间 --user 会计 --password 123)
q() { "$cli" --home "$home" "$@" 2>&1; }
same() { # same NAME WANT GOT
  if [ "$2" = "$3" ]; then passes=$((passes + 1)); else echo "FAIL $1: got [$3] want [$2]"; fails=$((fails + 1)); fi
}

expect "task" 0 "新建任务" -- task add --name 一车间 --operator 会计 --password 123 --year 2006 --month 2 \
  --code-length 4 --mode 3
expect "level 1" 0 "01" -- --yes dep add "${login[@]}" --code 01 --name 总部
expect "level 2" 0 "0101" -- --yes dep add "${login[@]}" --code 0101 --name 办公室
expect "second dep" 0 "0102" -- dep add "${login[@]}" --code 0102 --name 财务科
expect "employee 1" 0 "0001" -- emp add "${login[@]}" --dep 0101 --name 张三 --acc 6222020200112233445
expect "employee 2" 0 "0002" -- emp add "${login[@]}" --dep 0102 --name 李四 --acc 6222020200112233446
expect "item" 0 "F004" -- item add "${login[@]}" --name 基本工资 --type 数字 --prec 2
expect "item 2" 0 "F005" -- item add "${login[@]}" --name 扣款 --type 数字 --prec 2
expect "gross" 0 "1" -- formula add "${login[@]}" --code F003 --text "F004"
expect "net" 0 "2" -- formula add "${login[@]}" --code F000 --text "F003-F005"
expect "value 1" 0 "1234.56" -- data set "${login[@]}" --emp 0001 --item F004 1234.56
expect "value 2" 0 "2000.40" -- data set "${login[@]}" --emp 0002 --item F004 2000.4
expect "deduction" 0 "F005" -- data set "${login[@]}" --emp 0002 --item F005 0.25

grid=$(q recalc "${login[@]}")
# Net pay to the whole yuan, the remainder held back in 本月扣零.
same "net 1" "1234.00" "$(awk -F'\t' '$1=="0001" { print $3 }' <<<"$grid")"
same "held back 1" "0.56" "$(awk -F'\t' '$1=="0001" { print $7 }' <<<"$grid")"
same "net 2" "2000.00" "$(awk -F'\t' '$1=="0002" { print $3 }' <<<"$grid")"

expect "pay sheet" 0 "sheet.pdf" -- print "${login[@]}" --form 9989 --pdf "$home/sheet.pdf"
[ "$(pdftotext "$home/sheet.pdf" - 2>/dev/null | grep -c 1234.00)" -ge 1 ] && passes=$((passes + 1)) ||
  { echo "FAIL pay sheet lacks the net pay"; fails=$((fails + 1)); }
tpl="银行账号${tab}字符${tab}19${tab}0${tab}银行账号${tab}${tab}
实发工资${tab}数字${tab}12${tab}2${tab}F000${tab}显示${tab}"
expect "bank template" 0 "银行报盘文件格式存贮完毕！" "$tpl" -- bank template set "${login[@]}"
expect "bank file" 0 "NJGZ200602.TXT" -- bank write "${login[@]}" --sep ,
same "bank lines" "6222020200112233445,1234.00
6222020200112233446,2000.00" "$(tr -d '\r' <"$home/NJGZ200602.TXT" | sed 's/ *,/,/; s/, */,/')"

acct="$home/acct"
expect "accounting" 0 "演示公司" -- acct demo --dir "$acct" --user 会计 --period 200602
expect "link" 0 "ID0001" -- link set "${login[@]}" --folder "$acct" --set 演示公司
expect "rules" 0 "公式存贮完毕！" "01\tF000\t\t发放工资\t660201\t221101\t1\n" -- voucher rules set "${login[@]}"
expect "transfer" 0 "转账成功！" -- voucher run "${login[@]}" --date 20060228
same "voucher total" "3234.00" \
  "$(sqlite3 "$acct/KS0001.MDB" "select printf('%.2f',sum(JE)) from ID0001_PZGL_D where JDBZ='J'")"

expect "close" 0 "结转完成！" -- period close "${login[@]}"
next=$(q recalc "${login[@]}")
same "carried remainder" "0.56" "$(awk -F'\t' '$1=="0001" { print $5 }' <<<"$next")"
same "new month" "200603" "$(q task list | cut -f5)"
finish
