#!/usr/bin/env bash
# Drives gzgl-cli eval as a script would: one output line per formula,
# result TAB has-value TAB value.
set -u
cli="$1"
fails=0
passes=0

check() { # check NAME WANT GOT
  if [ "$2" != "$3" ]; then
    echo "FAIL $1: want [$2] got [$3]"
    fails=$((fails + 1))
  else
    passes=$((passes + 1))
  fi
}

tab=$'\t'
check args "True${tab}1${tab}14.00" "$("$cli" eval '2+3*4')"
check prec0 "True${tab}1${tab}3" "$("$cli" eval --prec 0 '2.5')"
check prec3 "True${tab}1${tab}3.333" "$("$cli" eval --prec 3 '10/3')"
check round "True${tab}1${tab}2.68" "$("$cli" eval '2.675')"
check negative "True${tab}1${tab}-3.00" "$("$cli" eval '-5+2')"
check separator "True${tab}1${tab}-3.00" "$("$cli" eval -- '-5+2')"
check after-separator "True${tab}1${tab}-5.00
True${tab}1${tab}0.00" "$("$cli" eval -- '--5' '--yes')" # both are formulas, not options
check empty-branch "True${tab}0${tab}" "$("$cli" eval '{5<3,1}')"
check no-comma "False${tab}0${tab}" "$("$cli" eval '{5>3}')"
check overflow "False${tab}0${tab}" "$("$cli" eval '1e308*10')"
check truth "True${tab}0${tab}" "$("$cli" eval '5>3')"

want="True${tab}1${tab}7.00
True${tab}0${tab}
${tab}0${tab}
True${tab}1${tab}2.00
True${tab}1${tab}12.00"
got=$(printf '{[5>3]&[2>1],7,8}\r\n{5>3,,2}\n\n{5<3,1,2}*4\n1 0 + 2\n' | "$cli" eval)
check stdin "$want" "$got"

"$cli" eval --prec x '1' >/dev/null 2>&1
check bad-prec 2 "$?"

echo "$passes passed, $fails failed"
[ "$fails" = 0 ]
