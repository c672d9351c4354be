#!/usr/bin/env bash
# Drives the cumulative income-tax commands of gzgl-cli: the method, the
# annual table, the item choice, the generated lines, and months closed
# into a new tax year, with the refusals of bad input.
set -u
cli="$1"
source "$(dirname "$0")/harness.sh"
login=(--task 年薪 --user 张三 --password pw)

expect task 0 "0000" -- task add --name 年薪 --operator 张三 --password pw --year 2019 --month 11 --code-length 4
run "" -- item add "${login[@]}" --name 社保公积金 --type 数字 --prec 2 >/dev/null
run "" -- item add "${login[@]}" --name 个人所得税 --type 数字 --prec 2 >/dev/null
run "" -- --yes dep add "${login[@]}" --code 01 --name 总部 >/dev/null
run "" -- emp add "${login[@]}" --dep 01 --name 王一 --code 0001 >/dev/null
run "" -- data set "${login[@]}" --emp 0001 --item F003 30000 >/dev/null
run "" -- data set "${login[@]}" --emp 0001 --item F004 4500 >/dev/null
run "" -- formula add "${login[@]}" --code F000 --text F003-F004-F005 >/dev/null

expect_exact method-default "按月税率表" -- tax method "${login[@]}"
expect method-typo 1 "计税方法应为“按月税率表”或“累计预扣法”！" -- tax method "${login[@]}" 累计
expect method-extra 2 "最多一个" -- tax method "${login[@]}" 累计预扣法 按月税率表
expect generate-monthly 1 "计税方法不是“累计预扣法”" -- tax generate "${login[@]}" --annual
expect method-set 0 "计税方法已改为“累计预扣法”" -- tax method "${login[@]}" 累计预扣法
expect method-items 0 "$(printf 'FFF3\t上月累计已扣税额')" -- item list "${login[@]}"
expect_exact method-shown "累计预扣法" -- tax method "${login[@]}"

expect annual-list 0 "$(printf '每月减除费用\t5000.00\n0.00\t36000.00\t3.00\t0.00')" -- tax list "${login[@]}" --annual
expect annual-top 0 "$(printf '960000.00\t\t45.00\t181920.00')" -- tax list "${login[@]}" --annual
expect annual-gap 1 "范围有遗漏!" "0\t36000\t3\t0\n40000\t\t10\t2520\n" -- tax set "${login[@]}" --annual
expect annual-char 1 "含有非法字符！" "0\t36000\t3%\t0\n" -- tax set "${login[@]}" --annual
expect annual-deduction 1 "含有非法字符！" "0\t\t3\t0\n" -- tax set "${login[@]}" --annual --deduction 5千
expect annual-nodeduction 1 "必须输入每月减除费用!" "0\t\t3\t0\n" -- tax set "${login[@]}" --annual --deduction ""
expect annual-empty 1 "年度税率表不能为空！" "\n" -- tax set "${login[@]}" --annual
expect annual-threshold 2 "--deduction" "0\t\t3\t0\n" -- tax set "${login[@]}" --annual --threshold 800
expect annual-unchanged 0 "$(printf '36000.00\t144000.00\t10.00\t2520.00')" -- tax list "${login[@]}" --annual

expect close-unchosen 1 "收入项目或税额项目未选择，不能结转！" -- period close "${login[@]}"
expect choice-none 1 "请选择本月收入项目！" -- tax cumulative "${login[@]}" --tax F005
expect choice-quote 1 "项目F0'5不存在或不是数字项目！" -- tax cumulative "${login[@]}" --income F003 --tax "F0'5"
expect choice-twice 1 "“个人所得税”选择了两次！" -- tax cumulative "${login[@]}" --income F003 --deductions F004,F005 --tax F005
expect choice-net 1 "“实发工资”不能用于累计预扣！" -- tax cumulative "${login[@]}" --income F000 --tax F005
expect choice-set 0 "成功存贮完毕！" -- tax cumulative "${login[@]}" --income F003 --deductions f004 --tax F005
expect_exact choice-shown "$(printf '收入项目\tF003\n扣除项目\tF004\n税额项目\tF005')" -- tax cumulative "${login[@]}"

expect generate 0 "累计预扣公式已生成！" -- tax generate "${login[@]}" --annual
expect generate-first 0 "$(printf '1\tF005\t0')" -- formula list "${login[@]}"
expect generate-net-last 0 "$(printf '9\tF000\tF003-F004-F005')" -- formula list "${login[@]}"
expect generate-again 0 "$(printf '8\tF005\t{[(FFF1+F003-F004-FFF2-5000)>960000]')" -- tax generate "${login[@]}" --annual
lines=$(run "" -- formula list "${login[@]}" | wc -l)
[ "$lines" = 9 ] && passes=$((passes + 1)) || { echo "FAIL generate-twice: $lines lines"; fails=$((fails + 1)); }

# Mid-year start: the year's figures so far are typed in (ten months of
# 30,000 with 4,500 deducted and 20,500 taxed before November).
run "" -- data set "${login[@]}" --emp 0001 --item FFF1 255000 >/dev/null
run "" -- data set "${login[@]}" --emp 0001 --item FFF2 50000 >/dev/null
run "" -- data set "${login[@]}" --emp 0001 --item FFF3 24080 >/dev/null
expect november 0 "$(printf '0001\t王一\t21400.00\t30000.00')" -- recalc "${login[@]}"
expect november-tax 0 "4100.00" -- recalc "${login[@]}"
# Why November's tax is 4,100: the line that assigned it, with the values
# put in; the net pay line after it.
expect trace-assigned 0 "$(printf '    代入：上月累计应税收入(FFF1)=255000，应发工资(F003)=30000，社保公积金(F004)=4500，上月累计减除费用(FFF2)=50000，上月累计已扣税额(FFF3)=24080\n    结果：4100.00，已赋值')" -- trace "${login[@]}" --emp 0001
expect trace-net 0 "$(printf '第9行  实发工资(F000) = F003-F004-F005')" -- trace "${login[@]}" --emp 0001
expect trace-unknown 1 "查无此人！" -- trace "${login[@]}" --emp "0001'"
expect trace-noemp 2 "--emp" -- trace "${login[@]}"
expect trace-pdf 0 "$home/trace.pdf" -- trace "${login[@]}" --emp 0001 --pdf "$home/trace.pdf"
if [ "$(head -c 4 "$home/trace.pdf")" = "%PDF" ] && [ ! -e "$home/trace.pdf.part" ]; then
  passes=$((passes + 1))
else
  echo "FAIL trace-pdf-file"; fails=$((fails + 1))
fi
expect trace-pdf-nodir 1 "无法写入文件" -- trace "${login[@]}" --emp 0001 --pdf "$home/no/such/dir/t.pdf"
expect close-nov 0 "结转完成！" -- period close "${login[@]}"
expect december-carried 0 "$(printf '4500.00\t4100.00\t280500.00\t55000.00\t28180.00')" -- recalc "${login[@]}"
expect close-dec 0 "结转完成！" -- period close "${login[@]}"
expect january-zero 0 "$(printf '4500.00\t615.00\t0.00\t0.00\t0.00')" -- recalc "${login[@]}"

# Back to the monthly brackets: the method turns, the items stay.
expect method-monthly 0 "计税方法已改为“按月税率表”。请重新生成所得税公式。" -- tax method "${login[@]}" 按月税率表
expect close-monthly 0 "结转完成！" -- period close "${login[@]}"

finish
