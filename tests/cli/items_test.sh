#!/usr/bin/env bash
# Drives the item, formula and tax commands of gzgl-cli on a temporary home:
# exit codes, printed rows and the exact messages.
set -u
cli="$1"
source "$(dirname "$0")/harness.sh"
login=(--task 工资 --user 张三 --password pw)

expect task 0 "0000" -- task add --name 工资 --operator 张三 --password pw --year 2006 --month 2 --code-length 4
expect add-first 0 "F004" -- item add "${login[@]}" --name 基本工资 --type 数字 --prec 2
expect add-second 0 "F005" -- item add "${login[@]}" --name 所得税 --type 数字
expect add-date 0 "F006" -- item add "${login[@]}" --name 发放日期 --type 日期
expect add-account 0 "FFFH" -- item add "${login[@]}" --name 银行账号
expect add-digit 1 "项目名称起始必须为字符。" -- item add "${login[@]}" --name 2号补贴 --type 数字
expect add-space 1 "项目名称中不能包含空格。" -- item add "${login[@]}" --name "补 贴" --type 数字
expect add-symbol 1 "项目名称里不能包含符号。" -- item add "${login[@]}" --name 补贴-1 --type 数字
expect add-quote 1 "项目名称里不能包含符号。" -- item add "${login[@]}" --name "补贴'1" --type 数字
expect add-bar 1 "项目名称里不能包含符号。" -- item add "${login[@]}" --name "补贴|1" --type 数字
expect add-long 1 "项目名称太长：最多32个字节" -- item add "${login[@]}" --name 一二三四五六七八九十一二三四五六七 --type 数字
expect add-notype 1 "数据类型不能为空！" -- item add "${login[@]}" --name 补贴
expect add-dup 1 "该项目已存在！" -- item add "${login[@]}" --name 基本工资 --type 数字
expect add-badtype 2 "--type" -- item add "${login[@]}" --name 补贴 --type 货币
expect add-badflag 2 "--show" -- item add "${login[@]}" --name 补贴 --type 数字 --show 2
expect add-fixed 0 "F007" -- item add "${login[@]}" --name 交通费 --type 数字 --fixed 150 --print 0 --width 20
expect list-row 0 "$(printf '12\tF007\t交通费\t数字\t0\t☆\t\t20\t☆\t150')" -- item list "${login[@]}"
expect list-account 0 "$(printf '11\tFFFH\t银行账号\t文字\t0\t\t☆\t15\t\t0')" -- item list "${login[@]}"
expect change 0 "" -- item change "${login[@]}" --code F007 --name 车补 --fixed off
expect change-list 0 "$(printf '12\tF007\t车补\t数字\t0\t☆\t\t20\t\t150')" -- item list "${login[@]}"
expect change-dup 1 "该项目已存在！" -- item change "${login[@]}" --code F007 --name 所得税
expect change-quote 1 "项目名称里不能包含符号。" -- item change "${login[@]}" --code F007 --name "车'补"
expect move-unknown 1 "不存在此项目！" -- item move "${login[@]}" --code F099 up
expect move-up-top 1 "不能再向上移动了！" -- item move "${login[@]}" --code F000 up
expect move-down-last 1 "不能再向下移动了！" -- item move "${login[@]}" --code F007 down
expect move-up 0 "" -- item move "${login[@]}" --code F007 up

expect check-ok 0 "" -- formula check "${login[@]}" --text "F003*0.1"
expect check-eq 1 '请将公式中"="及"="左边的内容删去！' -- formula check "${login[@]}" --text "F005=F003*0.1"
expect check-text 1 "公式有错误，请进行维护！" -- formula check "${login[@]}" --text "F002+1"
expect check-digit 1 "公式有错误，请进行维护！！" -- formula check "${login[@]}" --text "F0031"
expect check-char 1 "含有非法字符！" -- formula check "${login[@]}" --text "F003*税"
expect_exact check-silent "" -- formula check "${login[@]}" --text "F003 * 0.1"
expect formula-add 0 "1" -- formula add "${login[@]}" --code F003 --text "F004+F007"
expect formula-list 0 "$(printf '1\tF003\tF004+F007')" -- formula list "${login[@]}"
expect delete-referenced 1 "该项目已在公式中被引用，请维护！" -- --yes item delete "${login[@]}" --code F007
# A line computing what an earlier line reads: asked about, kept on Yes.
expect formula-late-no 1 "第1行（应发工资 F003）中的“基本工资”(F004)由后面的第2行计算，本行将使用其计算前的值。" -- formula add "${login[@]}" --code F004 --text 1000
expect formula-input 0 "仍按此顺序保存公式吗？ 是" -- --yes formula add "${login[@]}" --code F004 --text 1000
expect order-listed 1 "第1行（应发工资 F003）中的“基本工资”(F004)由后面的第2行计算" -- formula check-order "${login[@]}"
expect delete-target 1 "该项目已存在公式,不能被删去!" -- --yes item delete "${login[@]}" --code F004
expect delete-builtin 1 "此项目不允许删除！" -- --yes item delete "${login[@]}" --code F000
expect delete-no 1 "确信要删除这个项目吗？ 否" -- item delete "${login[@]}" --code F006
expect delete-yes 0 "确信要删除这个项目吗？ 是" -- --yes item delete "${login[@]}" --code F006
expect formula-replace 0 "1" -- formula replace "${login[@]}" --code F003 --id 1 --text "F004"
expect formula-replace-other 2 "--id" -- formula replace "${login[@]}" --code F005 --id 1 --text "F004"
expect formula-second 0 "3" -- formula add "${login[@]}" --code F000 --text "F003-F005"
expect formula-move 0 "2" -- formula move "${login[@]}" --id 3 up
expect formula-move-unknown 1 "不存在此公式！" -- formula move "${login[@]}" --id 99 up
expect formula-move-top 1 "不能再向上移动了！" -- formula move "${login[@]}" --id 1 up
expect_exact formula-order "$(printf '1\tF003\tF004\n2\tF000\tF003-F005\n3\tF004\t1000')" -- formula list "${login[@]}"
expect formula-delete 0 "" -- formula delete "${login[@]}" --code F003 --id 1
expect_exact order-fine "公式顺序没有问题。" -- formula check-order "${login[@]}"
expect formula-delete-none 1 "请选择需要删除的项目！" -- formula delete "${login[@]}" --code F003 --id 1

expect tax-list 0 "$(printf '1000.00\t1500.00\t5.00\t0.00')" -- tax list "${login[@]}"
expect tax-gap 1 "范围有遗漏!" "0\t500\t5\t0\n600\t2000\t10\t25\n" -- tax set "${login[@]}" --threshold 800
expect tax-overlap 1 "范围有重叠!" "0\t500\t5\t0\n400\t2000\t10\t25\n" -- tax set "${login[@]}" --threshold 800
expect tax-char 1 "含有非法字符！" "0\t5oo\t5\t0\n" -- tax set "${login[@]}" --threshold 800
expect tax-nothreshold 1 "必须输入起征值!" "0\t500\t5\t0\n" -- tax set "${login[@]}" --threshold ""
expect tax-set 0 "成功存贮完毕！" "0\t500\t5\t0\n500\t2000\t10\t25\n\n2000\t\t15\t125\n" -- tax set "${login[@]}" --threshold 800
expect tax-list-new 0 "$(printf '2000.00\t0.00\t15.00\t125.00')" -- tax list "${login[@]}"
expect tax-generate-late 1 "第1行（实发工资 F000）中的“所得税”(F005)由后面的第3行计算" -- tax generate "${login[@]}" --code F005 --threshold 800
expect tax-generate 0 "$(printf '6\tF005\t{F003-800>2000,(F003-800)*0.15-125}')" -- --yes tax generate "${login[@]}" --code F005 --threshold 800
expect tax-generated 0 "$(printf '4\tF005\t{[F003-800>0]&[F003-800<=500],(F003-800)*0.05-0}')" -- formula list "${login[@]}"
expect tax-noitem 1 "请选择需要添加的项目！" -- tax generate "${login[@]}" --code F002 --threshold 800
expect bad-sub 2 "item 之后" -- item frob "${login[@]}"

finish
