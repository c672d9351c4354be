#!/usr/bin/env bash
# gzgl-cli batch: the rules' messages and exit codes, the three modes, the
# filters and repeated conditions, and a refused run that writes nothing.
set -u
cli="$1"
source "$(dirname "$0")/harness.sh"
login=(--task 工资 --user 张三 --password pw)

expect task 0 "0000" -- task add --name 工资 --operator 张三 --password pw --year 2006 --month 2 --code-length 4
db="$home/KSMoney/GZ0000.MDB"
p=ID0000_200602_
sqlite3 "$db" <<SQL || { echo "FAIL setup"; exit 1; }
insert into ${p}DepType(F_TypeNo,F_TypeName) values('01','行政'),('02','生产');
insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('01','总部','01',1,1),('02','车间','02',1,1);
insert into ${p}Item values(8,'F004','津贴','数字',2,1,15,1,0,0);
insert into ${p}Item values(9,'F005','合计','数字',2,1,15,1,0,0);
alter table ${p}Data add F004 float;
insert into ${p}Formula values(1,'F005','F003+F004');
insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo,F_EmpType) values('0001','01','张三',1,'01');
insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo,F_EmpType) values('0002','02','李''四',2,'02');
insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo,F_EmpType) values('0003','02','王五',3,'0201');
insert into ${p}Data(F_EmpNo,F003,F004) values('0001',1000,100),('0002',6000,50),('0003',3000,0);
SQL
q() { sqlite3 "$db" "select group_concat(F_EmpNo||'='||$1, ' ') from (select * from ${p}Data order by F_EmpNo)"; }

# The checks, in their order.
expect no-item 1 "请选择调整的工资项目。" -- batch "${login[@]}" --way 0 --value 1
expect formula-item 1 "请选择调整的工资项目。" -- batch "${login[@]}" --item 合计 --way 0 --value 1
expect no-value 1 "请输入调整后的数值。" -- batch "${login[@]}" --item F004 --way 0
expect bad-value 1 "请输入调整后的数值。" -- batch "${login[@]}" --item F004 --way 0 --value 1O0
expect no-ratio 1 "请输入调整的比例。" -- batch "${login[@]}" --item F004 --way 1 --value ""
expect no-formula 1 "请输入调整的公式。" -- batch "${login[@]}" --item F004 --way 2
expect bad-chars 1 "公式含有非法字符！" -- batch "${login[@]}" --item F004 --way 2 --value "X003*2"
expect brackets 1 "公式错误，请进行维护！" -- batch "${login[@]}" --item F004 --way 2 --value "(F003*2"
expect bad-cond 1 "请选择查询的条件" -- batch "${login[@]}" --item F004 --way 0 --value 1 --cond "F003 >"
expect bad-way 2 "--way" -- batch "${login[@]}" --item F004 --way 3 --value 1
[ "$(q F004)" = "0001=100.0 0002=50.0 0003=0.0" ] || { echo "FAIL refusals wrote: $(q F004)"; fails=$((fails + 1)); }

# Mode 1 by item name: 1000 x 1.1 is exactly 1100.
expect ratio 0 "数据更改完毕！" -- batch "${login[@]}" --item 应发工资 --way 1 --value 1.1
[ "$(q F003)" = "0001=1100.0 0002=6600.0 0003=3300.0" ] || { echo "FAIL ratio: $(q F003)"; fails=$((fails + 1)); }

# Mode 2 on the calculated F005, narrowed by two conditions joined by 或者.
expect formula 0 "数据更改完毕！" -- batch "${login[@]}" --item F004 --way 2 --value "F005*0.1" \
  --cond "F003 > 5000 或者" --cond "津贴 >= 100 或者"
[ "$(q F004)" = "0001=120.0 0002=665.0 0003=0.0" ] || { echo "FAIL formula: $(q F004)"; fails=$((fails + 1)); }

# Filters: department type, employee type prefix, a name with a quote.
expect deptype 0 "数据更改完毕！" -- batch "${login[@]}" --item F004 --way 0 --value 7 --deptype 生产 --emptype 02
[ "$(q F004)" = "0001=120.0 0002=7.0 0003=7.0" ] || { echo "FAIL deptype: $(q F004)"; fails=$((fails + 1)); }
expect name 0 "数据更改完毕！" -- batch "${login[@]}" --item F004 --way 0 --value 8 --name "李'"
[ "$(q F004)" = "0001=120.0 0002=8.0 0003=7.0" ] || { echo "FAIL name: $(q F004)"; fails=$((fails + 1)); }

# A formula that fails on the last row refuses the whole run: nothing written.
sqlite3 "$db" "update ${p}Data set F004=100000000000000 where F_EmpNo='0003'"
before=$(q F004)
expect overflow 1 "公式错误！" -- batch "${login[@]}" --item F003 --way 2 \
  --value "F004*F004*F004*F004*F004*F004*F004*F004*F004*F004*F004*F004*F004*F004*F004*F004*F004*F004*F004*F004*F004*F004*F004"
[ "$(q F004)" = "$before" ] && [ "$(q F003)" = "0001=1100.0 0002=6600.0 0003=3300.0" ] ||
  { echo "FAIL overflow wrote: $(q F003)"; fails=$((fails + 1)); }

# Refused before anything is written: a condition value that is no number
# (it would read 0 and match everybody), a formula code that holds no
# number (F999 has no column, F002 is text), a value beyond the entry limit.
before="$(q F003) / $(q F004)"
expect cond-not-number 1 "调整条件的值必须是数字。" -- batch "${login[@]}" --item F004 --way 0 --value 1 \
  --cond "应发工资 > abc 并且"
expect formula-no-column 1 "公式错误！" -- batch "${login[@]}" --item F004 --way 2 --value "F999*2"
expect formula-text-item 1 "公式错误！" -- batch "${login[@]}" --item F004 --way 2 --value "F002+1"
expect too-large 1 "谁这么大款，有这么多工资？" -- batch "${login[@]}" --item F004 --way 0 --value 1e300
expect too-large-ratio 1 "谁这么大款，有这么多工资？" -- batch "${login[@]}" --item F003 --way 1 --value 100000
[ "$(q F003) / $(q F004)" = "$before" ] || { echo "FAIL refusals wrote: $(q F003) / $(q F004)"; fails=$((fails + 1)); }

finish
