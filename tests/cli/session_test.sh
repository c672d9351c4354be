#!/usr/bin/env bash
# Drives gzgl-cli as a script would: exit codes and the exact messages.
set -u
cli="$1"
source "$(dirname "$0")/harness.sh"

expect init 0 "KSSYS.MDB" -- init
expect add-quote 1 "工资任务名称里不能包含符号 ' 或 |。" -- task add --name "工资'一" --code-length 4
expect add-first 0 "0000" -- task add --name "工资一" --operator 张三 --password pw --year 2006 --month 2 --code-length 5 --mode 3
expect add-welcome 0 '请先进入"基础档案管理"的"工资项目定义"里进行工资项目维护！' -- task add --name 第二 --code-length 4 --year 2006 --month 3
expect add-duplicate 1 "该任务名称已经存在，添加失败！" -- task add --name 第二 --code-length 4
expect add-month13 1 "工资任务启用时间不正确！" -- task add --name 第三 --code-length 4 --year 2006 --month 13
expect add-length0 1 "人员编码长度不能为0！" -- task add --name 第三 --code-length 0
expect add-fraction 1 "人员编码长度应为1到20之间的整数！" -- task add --name 第三 --code-length 0.5
expect add-longpw 1 "口令不能超过16个字节" -- task add --name 第三 --code-length 4 --password abcdefghijklmnopqrst
expect add-badmode 2 "--mode" -- task add --name 第三 --code-length 4 --mode 9
expect list 0 "$(printf '0000\t工资一\t张三\t200602\t200602')" -- task list
expect login-ok 0 "$(printf '0000\t工资一\t200602')" -- login --task 工资一 --user 张三 --password pw
expect login-badpw 1 "用户口令错误！" -- login --task 工资一 --user 张三 --password nope
expect login-baduser 1 "用户姓名错误！" -- login --task 工资一 --user 李四 --password pw
expect login-notask 1 "没有设立工资任务！" -- login --task 没有 --user 张三 --password pw
expect passwd-differ 1 "两次口令不一致！" -- passwd --task 工资一 --user 张三 --password pw --new a --repeat b
expect passwd-ok 0 "口令修改完毕！" -- passwd --task 工资一 --user 张三 --password pw --new neu
expect login-new 0 "工资一" -- login --task 工资一 --user 张三 --password neu
expect passwd-symbols 0 "口令修改完毕！" -- passwd --task 工资一 --user 张三 --password neu --new "n'e|u 1"
expect login-symbols 0 "工资一" -- login --task 工资一 --user 张三 --password "n'e|u 1"
expect passwd-back 0 "口令修改完毕！" -- passwd --task 工资一 --user 张三 --password "n'e|u 1" --new neu
expect settings-on 0 "BJSGZX=1" -- settings notcalc on --task 工资一 --user 张三 --password neu
expect settings-bad 2 "notcalc" -- settings notcalc maybe --task 工资一 --user 张三 --password neu
expect amend 0 "" -- task amend --task 工资一 --user 张三 --password neu --new-name 工资甲 --mode 5
expect amend-list 0 "工资甲" -- task list
expect delete-no 1 "您确信要删除本工资任务吗？ 否" -- task delete --task 第二 --user 管理员 --password ""
expect delete-yes 0 "工资任务删除完毕！" -- --yes task delete --task 第二 --user 管理员 --password ""
expect unknown 2 "未知命令" -- frobnicate

[ -f "$home/KSMoney/GZ0001.MDB" ] && { echo "FAIL deleted task file remains"; fails=$((fails + 1)); }

# A lost system database never costs a task book: the new task takes the
# next id whose file is free.
rm "$home/KSMoney/KSSYS.MDB"
expect add-after-lost-sys 0 "0001" -- task add --name 新任务 --code-length 4
if [ "$(sqlite3 "$home/KSMoney/GZ0000.MDB" "select count(*) from sqlite_master where name like 'ID0000_%Item'")" != 1 ]; then
  echo "FAIL the old task book was overwritten"; fails=$((fails + 1))
fi
finish
