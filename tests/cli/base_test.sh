#!/usr/bin/env bash
# Drives the base-record commands of gzgl-cli (dep, deptype, emptype, emp,
# transfer): the rules' messages, exit codes and the rows written.
set -u
cli="$1"
source "$(dirname "$0")/harness.sh"
login=(--task 工资 --user 张三 --password pw)

expect task 0 "0000" -- task add --name 工资 --operator 张三 --password pw --year 2024 --month 5 --code-length 4

# Department types and the coding scheme.
expect deptype-first 0 "01" -- deptype add "${login[@]}" --name 行政
expect deptype-next 0 "02" -- deptype add "${login[@]}" --name 生产
expect deptype-dup 1 "该部门类型已存在！" -- deptype add "${login[@]}" --name 行政
expect deptype-quote 1 "部门类型名称里不能包含符号 ' 或 |。" -- deptype add "${login[@]}" --name "行'政"
expect deptype-nodigits 1 "部门类型编号应为一到两位数字！" -- deptype add "${login[@]}" --no 0a --name 后勤
expect deptype-rename-long 1 "部门类型名称太长：最多32个字节" -- deptype rename "${login[@]}" --no 02 \
  --name 一二三四五六七八九十一二三四五六七
expect_exact deptype-list "$(printf '01\t行政\n02\t生产')" -- deptype list "${login[@]}"
expect dep-level-no 1 "是否确定第1级的长度为2位？ 否" -- dep add "${login[@]}" --code 01 --name 总部
expect_exact dep-none "" -- dep list "${login[@]}"
expect dep-level1 0 "01" -- --yes dep add "${login[@]}" --code 01 --name 总部 --type 行政
expect dep-name-quote 1 "部门名称里不能包含符号 ' 或 |。" -- --yes dep add "${login[@]}" --code 0101 --name "财务'部|一"
expect dep-level2 0 "0101" -- --yes dep add "${login[@]}" --code 0101 --name "财务部一"
expect dep-badlen 1 "输入的编码信息出错！" -- dep add "${login[@]}" --code 010 --name 错
expect dep-noparent 1 "输入的编码有误！" -- --yes dep add "${login[@]}" --code 0201 --name 无上级
expect dep-dup 1 "该部门编码已存在！" -- dep add "${login[@]}" --code 0101 --name 重复
expect dep-leaf2 0 "0102" -- dep add "${login[@]}" --code 0102 --name 车间
expect_exact dep-list "$(printf '01\t总部\t01\t1\t0\t\t\n0101\t财务部一\t\t2\t1\t\t\n0102\t车间\t\t2\t1\t\t')" \
  -- dep list "${login[@]}"
expect dep-modify-badtype 1 "不存在此部门类型！" -- dep modify "${login[@]}" --code 0102 --type 09
expect dep-modify-bar 1 "部门名称里不能包含符号 ' 或 |。" -- dep modify "${login[@]}" --code 0102 --name "一|车间"
expect dep-modify 0 "" -- dep modify "${login[@]}" --code 0102 --name 一车间 --type 02
expect deptype-delete-unknown 1 "不存在此部门类型！" -- --yes deptype delete "${login[@]}" --no 09
expect deptype-inuse 1 "有此类型的部门存在，不可删除该部门类型！" -- --yes deptype delete "${login[@]}" --no 02

# Employee types.
expect emptype-odd 1 "员工类型为不超过4位的偶数！" -- emptype add "${login[@]}" --code 123 --name 错
expect emptype-digits 1 "类型代码应由数字组成！" -- emptype add "${login[@]}" --code 1a --name 错
expect emptype-parent 1 "请先定义上级员工类型！" -- emptype add "${login[@]}" --code 0101 --name 错
expect emptype-top 0 "" -- emptype add "${login[@]}" --code 01 --name 在职
expect emptype-sub 0 "" -- emptype add "${login[@]}" --code 0101 --name 合同制
expect emptype-quote 1 "员工类型名称里不能包含符号 ' 或 |。" -- emptype add "${login[@]}" --code 02 --name "临'时"
expect emptype-delete-unknown 1 "不存在此员工类型！" -- --yes emptype delete "${login[@]}" --code 0
expect_exact emptype-list "$(printf '01\t在职\n0101\t合同制')" -- emptype list "${login[@]}"

# Employees.
expect emp-quote 1 "员工姓名里不能包含符号 ' 或 |。" -- emp add "${login[@]}" --dep 0101 --name "O'Neil"
expect emp-outside-gbk 1 "员工姓名里有GBK字符集以外的字符" -- emp add "${login[@]}" --dep 0101 --name "王😀"
expect emp-first 0 "0001" -- emp add "${login[@]}" --dep 0101 --name "O Neil 100%" --acc 6222020200112233445 \
  --cid 11010119900101123X --sex 男 --type 0101 --joined 2024.02.29
expect emp-typed 0 "0007" -- emp add "${login[@]}" --code 7 --dep 0101 --name 李四
expect emp-next 0 "0008" -- emp add "${login[@]}" --dep 0102 --name 王五
expect emp-dup 1 "该员工编码已存在，请输入其他号码！" -- emp add "${login[@]}" --code 0007 --dep 0101 --name 重复
expect emp-noname 1 "员工姓名不能为空！" -- emp add "${login[@]}" --dep 0101 --name ""
expect emp-char 1 "含有非法字符！" -- emp add "${login[@]}" --dep 0101 --name 赵六 --character 12a
expect emp-date 1 "错误的日期" -- emp add "${login[@]}" --dep 0101 --name 赵六 --joined 2024.02.30
expect emp-notleaf 1 "不存在此部门！" -- emp add "${login[@]}" --dep 01 --name 赵六
expect dep-parent-has-staff 1 "上级部门有员工，请先删除！" -- --yes dep add "${login[@]}" --code 010101 --name 下级
expect_exact emp-list-dep \
  "$(printf "0001\tO Neil 100%%\t男\t\t11010119900101123X\t6222020200112233445\t \t \t \t \t1\t\t0101\t2024.02.29\n0007\t李四\t\t\t \t \t \t \t \t \t2\t\t\t ")" \
  -- emp list "${login[@]}" --dep 0101
expect emp-modify-sex 1 "请将性别填写准确！" -- emp modify "${login[@]}" --code 0007 --sex 未知
expect emp-modify 0 "" -- emp modify "${login[@]}" --code 7 --name 李四四 --dep 0102
expect emp-modify-unknown 1 "查无此人!" -- emp modify "${login[@]}" --code 0099 --name 谁
expect emp-modify-long 1 "员工姓名太长：最多32个字节" -- emp modify "${login[@]}" --code 7 \
  --name 一二三四五六七八九十一二三四五六七
expect emp-list-all 0 "$(printf '0102\t一车间\t0007\t李四四')" -- emp list "${login[@]}" --order code

# Transfer and deletion.
expect transfer-notleaf 1 "请您选择正确的部门！" -- transfer "${login[@]}" --to 01 0001
expect transfer-none 2 "transfer" -- transfer "${login[@]}" --to 0102
expect transfer-unknown 1 "查无此人：0099" -- transfer "${login[@]}" --to 0102 0001 99
stayed=$(run "" -- emp list "${login[@]}" --dep 0101 | cut -f1 | tr '\n' ' ')
[ "$stayed" = "0001 " ] || { echo "FAIL transfer-unknown moved: [$stayed]"; fails=$((fails + 1)); }
expect transfer 0 "" -- transfer "${login[@]}" --to 0102 0001
expect dep-has-staff 1 "本部门有员工，不能删除！" -- --yes dep delete "${login[@]}" --code 01
expect emp-delete-no 1 "您确定要删除本员工吗？ 否" -- emp delete "${login[@]}" --code 0001
expect emp-delete 0 "" -- --yes emp delete "${login[@]}" --code 0001
expect emptype-delete 0 "" -- --yes emptype delete "${login[@]}" --code 01
expect_exact emptype-empty "" -- emptype list "${login[@]}"
left=$(run "" -- emp list "${login[@]}" --order code | cut -f3 | tr '\n' ' ')
[ "$left" = "0007 0008 " ] || { echo "FAIL emp-left: [$left]"; fails=$((fails + 1)); }
expect dep-delete-empty 0 "" -- --yes dep delete "${login[@]}" --code 0101

db="$home/KSMoney/GZ0000.MDB"
p=ID0000_202405_
if command -v sqlite3 >/dev/null; then
  [ "$(sqlite3 "$db" "select count(*) from ${p}Data")" = 2 ] || { echo "FAIL data rows"; fails=$((fails + 1)); }
  [ "$(sqlite3 "$db" "select F_End from ${p}Depart where F_DepNo='01'")" = 0 ] \
    || { echo "FAIL parent flag"; fails=$((fails + 1)); }
fi

expect bad-sub 2 "emp 之后" -- emp frob "${login[@]}"
finish
