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
