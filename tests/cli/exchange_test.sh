#!/usr/bin/env bash
# gzgl-cli exchange: a month written as a data-load file and loaded into a
# second data home, the data-interface import of a query export, and the
# mistakes a new user makes: a wrong password, a damaged or foreign file, a
# second run, a name with a quote.
set -u
cli="$1"
source "$(dirname "$0")/harness.sh"

monthly_task
sqlite3 "$db" "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('01','总部','',1,1);
  insert into ${p}Item values(8,'F004','基本工资','数字',2,1,15,1,0,0); alter table ${p}Data add F004 float;
  insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo) values('0001','01','张三',1),('0002','01','李''四%',2);
  insert into ${p}Data(F_EmpNo,F004) values('0001',1234.5),('0002',2000);
  insert into ${p}Formula values(1,'F003','F004*2');"
sqlite3 "$home/KSMoney/KSSYS.MDB" "update GZSysInfo set F_BMJB='20000'"
same() { # same NAME WANT GOT
  if [ "$2" = "$3" ]; then passes=$((passes + 1)); else echo "FAIL $1: got [$3] want [$2]"; fails=$((fails + 1)); fi
}
grid=$("$cli" --home "$home" recalc "${login[@]}")

expect "export" 0 "数据文件生成完毕！" -- exchange export "${login[@]}" --file "$home/m.txt"
expect "export twice asks" 1 "文件已存在，是否覆盖？ 否" -- exchange export "${login[@]}" --file "$home/m.txt"
expect "export into no folder" 1 "不存在" -- exchange export "${login[@]}" --file "$home/none/m.txt"
same "file mark" "KS770_GZGL" "$(head -n 1 "$home/m.txt" | tr -d '\r')"

# A second installation: the load creates the task with the password given.
other=$(mktemp -d)
trap 'rm -rf "$home" "$other"' EXIT
"$cli" --home "$other" init >/dev/null
loadcmd=(exchange load --file "$home/m.txt")
expect "load new task" 0 "数据导入完毕！" -- --home "$other" "${loadcmd[@]}" --password 新口令
same "new task listed" "0000	月薪	张三	200602	200602" "$("$cli" --home "$other" task list)"
same "month reproduced" "$grid" "$("$cli" --home "$other" recalc --task 月薪 --user 张三 --password 新口令)"
expect "load needs the password" 1 "口令不正确" -- --home "$other" "${loadcmd[@]}" --password pw
expect "load without password" 1 "口令不正确" -- --home "$other" "${loadcmd[@]}"
expect "load again" 0 "更新员工 2" -- --home "$other" "${loadcmd[@]}" --password 新口令
same "still one task" "1" "$("$cli" --home "$other" task list | wc -l)"

# Damaged and foreign files are refused and change nothing.
printf 'KS770_GZGX\r\n' >"$home/bad.txt"
expect "not the mark" 1 "文件格式错误!" -- --home "$other" exchange load --file "$home/bad.txt" --password 新口令
head -c 40 "$home/m.txt" >"$home/cut.txt"
expect "cut short" 1 "文件格式错误!" -- --home "$other" exchange load --file "$home/cut.txt" --password 新口令
expect "missing file" 1 "不存在" -- --home "$other" exchange load --file "$home/none.txt" --password 新口令
expect "no file option" 2 "--file" -- --home "$other" exchange load --password 新口令
# A bad line is skipped with its number; the others load.
{ cat "$home/m.txt"; printf '01,0003,\xc4\xd0,\xcd\xf5\xce\xe5,abc,*,*,*,*,*\r\n'; } >"$home/skip.txt"
expect "skipped line shown" 0 "第10行：记录不正确，本员工数据不予导入！（“实发工资”的值“abc”不是数字）" -- --home "$other" exchange load --file "$home/skip.txt" --password 新口令
same "grid unchanged by the skip" "$grid" "$("$cli" --home "$other" recalc --task 月薪 --user 张三 --password 新口令)"

# The data-interface import of the query's delimited export.
expect "query save" 0 "文件生成完毕！" -- query "${login[@]}" --from 200602 --save "$home/q.txt" --sep "|"
sqlite3 "$db" "update ${p}Data set F004=1"
expect "interface import" 0 "导入工资数据完成。" -- exchange import "${login[@]}" --file "$home/q200602.txt"
expect_exact "values back" "$grid" -- recalc "${login[@]}"
expect "interface twice" 0 "新增员工 0，更新员工 2" -- exchange import "${login[@]}" --file "$home/q200602.txt"
expect "interface wrong file" 1 "文件不是合法的工资数据文件或文件已损坏。" -- exchange import "${login[@]}" --file "$home/m.txt"
LC_ALL=C sed 's/ 200602\r$/ 200603\r/' "$home/q200602.txt" >"$home/q-other.txt"
expect "interface other month" 1 "要导入的数据与当前任务信息不符合。无法导入。" -- \
  exchange import "${login[@]}" --file "$home/q-other.txt"
expect "unknown subcommand" 2 "exchange 之后应为" -- exchange push "${login[@]}"
finish
