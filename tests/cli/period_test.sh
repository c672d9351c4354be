#!/usr/bin/env bash
# gzgl-cli period: the list with each period's state, and the close,
# restore and clear rules with their messages and exit codes.
set -u
cli="$1"
source "$(dirname "$0")/harness.sh"

monthly_task
expect_exact "list one" "$(printf '200602\t当前')" -- period list "${login[@]}"
expect "not later" 1 "时间不正确！" -- period close "${login[@]}" --year 2006 --month 2
expect "no month" 1 "时间不正确！" -- period close "${login[@]}" --year 2006 --month 13
expect "no year" 1 "年不能为空！" -- period close "${login[@]}" --year "" --month 3
expect "nothing to restore" 1 "请选择需要恢复的时间！" -- --yes period restore "${login[@]}" --to 200601
expect "clear current" 1 "当前月份的数据不能清除" -- period clear "${login[@]}" --period 200602
expect "close" 0 "结转完成！" -- period close "${login[@]}"
expect "close again" 0 "结转完成！" -- period close "${login[@]}" --year 2006 --month 5
expect_exact "list three" "$(printf '200602\t已结转\n200603\t已结转\n200605\t当前')" -- period list "${login[@]}"
expect "restore no" 1 "确定已做好恢复环境的准备了吗？ 否" -- period restore "${login[@]}" --to 200603
expect "restore" 0 "环境恢复完毕！" -- --yes period restore "${login[@]}" --to 200603
expect "restored period" 0 "200603" -- login "${login[@]}"
expect "clear earliest" 0 "数据清理完毕！" -- period clear "${login[@]}" --period 200602
expect "cleared" 1 "没有可以清除的完整数据！" -- period clear "${login[@]}" --period 200602
expect_exact "list left" "$(printf '200603\t当前')" -- period list "${login[@]}"
expect "bad usage" 2 "--period" -- period clear "${login[@]}" --period 2006
finish
