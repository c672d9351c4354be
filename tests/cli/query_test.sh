#!/usr/bin/env bash
# gzgl-cli query: a range of two months with conditions and filters as
# tab-separated lines, the workbook and the PDF, and the refusals with their
# exit codes: bad months, unknown items, values that are no numbers, typed
# quotes and wildcards, an empty result.
set -u
cli="$1"
source "$(dirname "$0")/harness.sh"

monthly_task
sqlite3 "$db" <<SQL || { echo "FAIL setup"; exit 1; }
insert into ${p}DepType(F_TypeNo,F_TypeName) values('01','行政'),('02','生产');
insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('01','总部','01',1,1),('02','车间','02',1,1),('03','仓库',Null,1,1);
insert into ${p}Item values(8,'F004','津贴','数字',2,1,15,1,0,0);
alter table ${p}Data add F004 float;
insert into ${p}Formula values(1,'F000','F003+F004');
insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo,F_EmpType,F_AccNo) values('0001','01','张三',1,'01','6222021234567890123');
insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo,F_EmpType) values('0002','02','李''四',2,'02');
insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo,F_EmpType) values('0%03','03','王五',3,'0201');
insert into ${p}Data(F_EmpNo,F003,F004) values('0001',1000,100),('0002',1500,50),('0%03',2500,0);
SQL
expect close 0 "结转完成！" -- period close "${login[@]}" --year 2006 --month 3
sqlite3 "$db" "update ID0000_200603_Data set F003=F003+1000" || { echo "FAIL setup"; exit 1; }

# Both months, in order, and the total of the shown number columns.
out=$(run "" -- query "${login[@]}" --from 200602 --to 200603 --tsv)
[ "$(wc -l <<<"$out")" = 8 ] || { echo "FAIL rows: $out"; fails=$((fails + 1)); }
head -1 <<<"$out" | grep -q $'^所属部门\t银行账号\t姓名\t工号' || { echo "FAIL captions: $out"; fails=$((fails + 1)); }
grep -q $'^总部\t6222021234567890123\t张三\t0001\t张三\t1100.00' <<<"$out" || { echo "FAIL first row: $out"; fails=$((fails + 1)); }
grep -q $'^仓库\t\t王五\t0%03\t王五\t3500.00' <<<"$out" || { echo "FAIL untyped department: $out"; fails=$((fails + 1)); }
tail -1 <<<"$out" | grep -q $'^合   计\t\t\t\t\t13300.00\t13000.00' || { echo "FAIL total: $out"; fails=$((fails + 1)); }

# Conditions on the calculated net pay, read left to right; a reversed range.
names() { run "" -- query "${login[@]}" "$@" --tsv | awk -F'\t' 'NR > 1 && $1 != "合   计" {printf "%s ", $3}'; }
[ "$(names --from 200603 --to 200602 --cond "实发工资 > 1100 并且" --cond "实发工资 < 3000 并且")" = "李'四 王五 张三 李'四 " ] ||
  { echo "FAIL between: $(names --from 200603 --to 200602 --cond "实发工资 > 1100 并且" --cond "实发工资 < 3000")"; fails=$((fails + 1)); }
[ "$(names --from 200602 --cond "应发工资 > 2000 或者" --cond "津贴 > 60 并且" --cond "F000 < 2000")" = "张三 " ] ||
  { echo "FAIL left to right"; fails=$((fails + 1)); }
[ "$(names --from 200602 --dep-type 生产 --emp-type 02)" = "李'四 " ] || { echo "FAIL type filters"; fails=$((fails + 1)); }
[ "$(names --from 200602 --dep "01 总部,03 仓库")" = "张三 王五 " ] || { echo "FAIL departments"; fails=$((fails + 1)); }
[ "$(names --from 200602 --name "李'")" = "李'四 " ] || { echo "FAIL quote"; fails=$((fails + 1)); }
[ "$(names --from 200602 --code "0%")" = "王五 " ] || { echo "FAIL percent"; fails=$((fails + 1)); }
[ "$(names --from 200602 --code "'")" = "" ] || { echo "FAIL quote in code"; fails=$((fails + 1)); }

# Refusals.
expect after-current 1 "查询日期不能大于工资的当前日期。" -- query "${login[@]}" --from 200602 --to 200604 --tsv
expect before-start 1 "查询日期不能小于工资的起用日期。" -- query "${login[@]}" --from 200512 --tsv
expect bad-month 1 "请输入正确的查询年月。" -- query "${login[@]}" --from 2006-2 --tsv
expect unknown-item 1 "请选择查询的条件" -- query "${login[@]}" --from 200602 --cond "奖金 > 1 并且" --tsv
expect not-a-number 1 "查询条件的值必须是数字。" -- query "${login[@]}" --from 200602 --cond "津贴 > abc 并且" --tsv
expect bad-link 1 "请选择查询的条件" -- query "${login[@]}" --from 200602 --cond "津贴 > 1 还有" --tsv
expect no-output 2 "--tsv" -- query "${login[@]}" --from 200602
expect two-outputs 2 "--tsv" -- query "${login[@]}" --from 200602 --tsv --pdf "$home/q.pdf"
expect empty-pdf 1 "没有数据可供打印！" -- query "${login[@]}" --from 200602 --name 无此人 --pdf "$home/none.pdf"
[ -e "$home/none.pdf" ] && { echo "FAIL a file for an empty result"; fails=$((fails + 1)); }

# The workbook: the 19-digit account whole; an existing file only with --yes.
expect xlsx 0 "Excel表格已经成功导出。存放在$home/查询.xlsx" -- query "${login[@]}" --from 200602 --xlsx "$home/查询.xlsx"
cell=$(/usr/bin/python3 -c 'import sys, openpyxl; ws = openpyxl.load_workbook(sys.argv[1]).active; print(repr(ws["B2"].value), ws["A5"].value)' "$home/查询.xlsx")
[ "$cell" = "'6222021234567890123' 合   计" ] || { echo "FAIL workbook: $cell"; fails=$((fails + 1)); }
expect xlsx-exists 1 "磁盘中已有Excel文件,是否要覆盖 否" -- query "${login[@]}" --from 200602 --xlsx "$home/查询.xlsx"
expect xlsx-yes 0 "Excel表格已经成功导出。" -- query "${login[@]}" --from 200602 --xlsx "$home/查询.xlsx" --yes

# The delimited file of the queried month: employee rows only.
expect save 0 "文件生成完毕！" -- query "${login[@]}" --from 200602 --save "$home/CX.TXT" --sep TAB
lines=$(iconv -f GBK -t UTF-8 "$home/CX200602.TXT" | tr -d '\r')
[ "$(wc -l <<<"$lines")" = 11 ] && grep -q $'^仓库        \t            \t王五        \t0%03' <<<"$lines" ||
  { echo "FAIL delimited: $lines"; fails=$((fails + 1)); }
expect save-no-sep 2 "--sep" -- query "${login[@]}" --from 200602 --save "$home/CX.TXT"
expect save-exists 1 "文件已存在，是否覆盖？ 否" -- query "${login[@]}" --from 200602 --save "$home/CX.TXT" --sep TAB

# The print as PDF: the title, the range's date line and the maker.
expect pdf 0 "q.pdf" -- query "${login[@]}" --from 200602 --to 200603 --pdf "$home/q.pdf"
text=$(pdftotext -layout "$home/q.pdf" - | /usr/bin/python3 -c '
import sys, unicodedata
print(unicodedata.normalize("NFKC", sys.stdin.read()).translate(str.maketrans({"\u2eda": "页"})))')
for want in 工资查询 "日期:2006年02月--2006年03月" 制表:张三 6222021234567890123 13300.00; do
  grep -qF -- "$want" <<<"$text" || { echo "FAIL pdf lacks $want"; fails=$((fails + 1)); }
done

finish
