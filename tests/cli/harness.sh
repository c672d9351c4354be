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

finish() {
  echo "$passes passed, $fails failed"
  [ "$fails" = 0 ]
}
