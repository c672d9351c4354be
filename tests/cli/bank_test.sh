#!/usr/bin/env bash
# gzgl-cli bank: the template set and shown again, the month's file written
# byte for byte, and the refusals with their exit codes.
set -u
cli="$1"
. "$(dirname "$0")/harness.sh"
monthly_task
sqlite3 "$db" <<SQL || { echo "FAIL setup"; exit 1; }
insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_AccNo) values('0001','01','张三','6222000011112222333');
insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_AccNo) values('0002','0201','李四','62220000');
insert into ${p}Data(F_EmpNo,F003) values('0001',1234.567);
insert into ${p}Data(F_EmpNo,F003) values('0002',0);
SQL

tpl=$(printf '%s\n' \
  "银行账号	字符	20	0:左对齐	银行账号		" \
  "姓名	字符	6	0:左对齐	F002		" \
  "应发工资	数字	10	2:右对齐	F003	显示	" \
  "应发分	数字	8	2	F003		8" \
  "head	HEAD" "tail	TAIL" "dep	02 销售部")
expect bank-write-missing-template 1 "还没有定义银行报盘文件格式" -- bank write "${login[@]}"
expect template-set 0 "银行报盘文件格式存贮完毕！" "$tpl" -- bank template set "${login[@]}"
want=$(printf '%s\n' "$tpl" | sed 's/\t2\tF003\t\t8$/\t2:右对齐\tF003\t\t8/')
expect_exact template-show "$want" -- bank template show "${login[@]}"
expect template-bad-width 1 "含有非法字符！" "名	字符	1O	0	F002		" -- bank template set "${login[@]}"
expect template-wide 1 "字符宽度不能大于99！" "名	字符	100	0	F002		" -- bank template set "${login[@]}"
expect template-no-source 1 "对应数据不能为空！" "名	字符	10	0			" -- bank template set "${login[@]}"
expect template-outside-gbk 1 "GBK字符集以外的字符“😀”" "名😀	字符	10	0	F002		" -- bank template set "${login[@]}"
expect template-bad-line 2 "第 1 行" "just words" -- bank template set "${login[@]}"
expect_exact template-unchanged "$want" -- bank template show "${login[@]}"

# Exclude mode leaves out 02 and below; the file is GBK with CR LF.
expect bank-write 0 "$home/NJGZ200602.TXT" -- bank write "${login[@]}" --seq --total
printf 'HEAD\r\n1\t6222000011112222333 \xd5\xc5\xc8\xfd     1234.5700123457\r\n\xd7\xdc\xbc\xc6\t \t \t1234.57\t1234.57\r\nTAIL\r\n' >"$home/want1"
cmp -s "$home/NJGZ200602.TXT" "$home/want1" || { echo "FAIL bank-write bytes"; od -c "$home/NJGZ200602.TXT"; fails=$((fails + 1)); }
expect bank-write-again-no 1 "本月银行报盘文件已经存在，是否覆盖？ 否" -- bank write "${login[@]}" --include --sep ,
cmp -s "$home/NJGZ200602.TXT" "$home/want1" || { echo "FAIL second run changed the file"; fails=$((fails + 1)); }
expect bank-write-include 0 "文件生成完毕！" -- bank write "${login[@]}" --include --sep , --yes
printf 'HEAD\r\n62220000,\xc0\xee\xcb\xc4,0.00,00000000\r\nTAIL\r\n' >"$home/want2"
cmp -s "$home/NJGZ200602.TXT" "$home/want2" || { echo "FAIL include bytes"; od -c "$home/NJGZ200602.TXT"; fails=$((fails + 1)); }

# A name GBK cannot hold (stored by another program): nothing written.
sqlite3 "$db" "update ${p}Employee set F_EmpName='李😀' where F_EmpNo='0002'"
expect bank-write-outside-gbk 1 "职工 0002 李😀 的“姓名”里有GBK字符集以外的字符“😀”" -- \
  bank write "${login[@]}" --include --yes --name other.txt
[ ! -e "$home/other200602.txt" ] || { echo "FAIL half file"; fails=$((fails + 1)); }
sqlite3 "$db" "update ${p}Employee set F_EmpName='李四' where F_EmpNo='0002'"

# Include mode without departments.
printf '%s\n' "姓名	字符	6	0	F002		" | "$cli" --home "$home" bank template set "${login[@]}" >/dev/null
expect bank-include-empty 1 "请选择需报送银行的部门！" -- bank write "${login[@]}" --include --yes
expect bank-bad-name 1 "不能包含" -- bank write "${login[@]}" --name ../x.txt --yes

# The copy to the disk folder.
mkdir "$home/disk"
expect copy-missing 1 "还没有生成" -- bank copy "${login[@]}" --to "$home/disk" --name none.txt
expect copy-no-folder 1 "不存在" -- bank copy "${login[@]}" --to "$home/nowhere"
expect copy 0 "文件复制完毕！" -- bank copy "${login[@]}" --to "$home/disk"
cmp -s "$home/disk/NJGZ.TXT" "$home/want2" || { echo "FAIL copy bytes"; fails=$((fails + 1)); }
expect copy-again 1 "磁盘中已有报盘文件，是否覆盖？ 否" -- bank copy "${login[@]}" --to "$home/disk"

# A damaged template: rows it can read, the line it cannot on stderr.
printf '\xb1\xea\x31\r\n\xd0\xd0\x30\x31short\r\n' >"$home/BankForm0000.frm"
expect template-damaged 0 "第 2 行无法读取" -- bank template show "${login[@]}"
expect bad-usage 2 "bank 的子命令" -- bank frobnicate "${login[@]}"
finish
