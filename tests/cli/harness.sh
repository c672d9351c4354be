# The shared harness of the command-line tests: a temporary home, and
# checks of a command's exit code and output. Source it with the path of
# gzgl-cli in $cli.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
fails=0
passes=0

run() { # run STDIN -- command...
  local input="$1"; shift 2
  printf '%b' "$input" | "$cli" --home "$home" "$@" 2>&1
}

expect() { # expect NAME WANT_RC WANT_TEXT [STDIN] -- command...
  local name="$1" want_rc="$2" want_text="$3" input=""
  shift 3
  if [ "$1" != "--" ]; then input="$1"; shift; fi
  local out rc
  out=$(run "$input" "$@"); rc=$?
  if [ "$rc" != "$want_rc" ] || ! grep -qF -- "$want_text" <<<"$out"; then
    echo "FAIL $name: rc=$rc (want $want_rc) output: $out"
    fails=$((fails + 1))
  else
    passes=$((passes + 1))
  fi
}

expect_exact() { # expect_exact NAME WANT_OUTPUT -- command...
  local name="$1" want="$2"; shift 2
  local out
  out=$(run "" "$@")
  if [ "$out" != "$want" ]; then
    echo "FAIL $name: got [$out] want [$want]"
    fails=$((fails + 1))
  else
    passes=$((passes + 1))
  fi
}

# A task 月薪 of 2006-02 (operator 张三, password pw) with its database in
# $db, its table prefix in $p and the login options in the array login.
monthly_task() {
  "$cli" --home "$home" task add --name 月薪 --operator 张三 --password pw --year 2006 --month 2 \
    --code-length 4 >/dev/null || { echo "FAIL task add"; exit 1; }
  db="$home/KSMoney/GZ0000.MDB"
  p=ID0000_200602_
  login=(--task 月薪 --user 张三 --password pw)
}

finish() {
  echo "$passes passed, $fails failed"
  [ "$fails" = 0 ]
}

# wide_month [SQL]: fills the task of monthly_task with department 01, the
# items F004..F033 and 4000 employees with values in every item, and any
# further statements given, all in one transaction. Sets cols to the item
# columns.
wide_month() {
  cols=$(seq -s, -f 'F%03g' 4 33)
  {
    echo "begin;"
    echo "insert into ${p}Depart(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values('01','总部','',1,1);"
    for i in $(seq 4 33); do
      code=$(printf 'F%03d' "$i")
      echo "insert into ${p}Item values($((i + 4)),'$code','项目$i','数字',2,1,15,1,0,0);"
      echo "alter table ${p}Data add $code float;"
    done
    echo "with recursive n(i) as (select 1 union all select i+1 from n where i<4000)
          insert into ${p}Employee(F_EmpNo,F_DepNo,F_EmpName,F_SortNo) select printf('%04d',i),'01','员工'||i,i from n;"
    local vals
    vals=$(for i in $(seq 4 33); do printf '(i*%d %% 100000)/100.0,' "$i"; done)
    echo "with recursive n(i) as (select 1 union all select i+1 from n where i<4000)
          insert into ${p}Data(F_EmpNo,FFFF,$cols) select printf('%04d',i),0,${vals%,} from n;"
    echo "${1:-}"
    echo "commit;"
  } | sqlite3 "$db" || { echo "FAIL setup"; exit 1; }
}

timed() { # timed -- command...: runs it, prints its milliseconds
  local start
  start=$(date +%s%N)
  "$cli" --home "$home" "$@" >/dev/null 2>&1
  echo $((($(date +%s%N) - start) / 1000000))
}

# kill_at NAME BEFORE AFTER MS -- command...: the command started afresh on
# a copy of $snapshot and killed with SIGKILL at moments spread over MS
# (the percentages in $kill_moments); each time the caller's kill_state
# must print BEFORE or AFTER.
kill_moments="2 5 10 20 30 40 50 60 70 80 85 90 95 98 100 105 110 150"
kill_at() {
  local name="$1" before="$2" after="$3" ms="$4" pct pid state seen=""
  shift 5
  for pct in $kill_moments; do
    rm -rf "$home/KSMoney"; cp -r "$snapshot" "$home/KSMoney"
    "$cli" --home "$home" "$@" >/dev/null 2>&1 &
    pid=$!
    sleep "$(awk -v t="$ms" -v p="$pct" 'BEGIN { printf "%.3f", t * p / 100000 }')"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    state=$(kill_state)
    if [ "$state" = "$before" ] || [ "$state" = "$after" ]; then
      passes=$((passes + 1)); seen="$seen $pct%:$([ "$state" = "$before" ] && echo before || echo after)"
    else
      echo "FAIL $name killed at $pct%: $state"; fails=$((fails + 1))
    fi
  done
  echo "$name took ${ms} ms; killed at$seen"
}
