#!/usr/bin/env bash
# poundconv as a process: outputs, messages and exit codes.
# Usage: poundconv_test.sh PATH_TO_POUNDCONV (LOCPATH names the compiled test locales)
set -u
poundconv=$1
export LC_ALL=en_US.UTF-8
failures=0

# expect NAME WANT_CODE WANT_STDOUT WANT_STDERR -- COMMAND...
expect() {
    local name=$1 code=$2 out=$3 err=$4
    shift 5
    local got_out got_err got_code
    got_out=$("$@" 2>/tmp/poundconv_err.$$)
    got_code=$?
    got_err=$(cat /tmp/poundconv_err.$$)
    if [[ $got_code != "$code" || $got_out != "$out" || ($err != '*' && $got_err != "$err") ]]; then
        printf 'FAIL %s\n  code %s (want %s)\n  stdout [%s]\n  want   [%s]\n  stderr [%s]\n  want   [%s]\n' \
            "$name" "$got_code" "$code" "$got_out" "$out" "$got_err" "$err"
        failures=$((failures + 1))
    else
        printf 'ok   %s\n' "$name"
    fi
}

expect "english pounds" 0 "10 фунт. - 4.536 кг." "" -- "$poundconv" 1 10
expect "negative entry" 0 "-2 фунт. - -1.120 кг." "" -- "$poundconv" 2 -2
expect "echoed as typed" 0 " 1e3  фунт. - 500.000 кг." "" -- "$poundconv" 3 " 1e3 "
expect "name in lower case" 0 "2 фунт. - 0.635 кг." "" -- "$poundconv" италия 2
expect "name with trailing blanks" 0 "1 фунт. - 0.410 кг." "" -- "$poundconv" "РОССИЯ  " 1
expect "scientific kilograms" 0 "2469134 фунт. - 1.23457E006 кг." "" -- "$poundconv" Германия 2469134
expect "not a number" 1 "" "'abc' is not a valid floating point value." -- "$poundconv" 4 abc
expect "empty entry" 1 "" "'' is not a valid floating point value." -- "$poundconv" 5 ""
expect "overflow" 1 "" "Floating point overflow." -- "$poundconv" 0 1E400
expect "unknown country" 2 "" '*' -- "$poundconv" 8 1
expect "unknown name" 2 "" '*' -- "$poundconv" Франция 1
expect "no arguments" 2 "" '*' -- "$poundconv"
expect "too many arguments" 2 "" '*' -- "$poundconv" 1 2 3
expect "unknown option" 2 "" '*' -- "$poundconv" --frobnicate
help=$("$poundconv" --help)
expect "help" 0 "$help" "" -- "$poundconv" --help
[[ $help == usage:* ]] || { echo "FAIL help text"; failures=$((failures + 1)); }

list=$'0\tРоссия\t0.40951241\n1\tАнглия\t0.453592\n2\tАвстрия\t0.56001\n3\tГермания\t0.5\n4\tДания\t0.5\n5\tИсландия\t0.5\n6\tИталия\t0.31762\n7\tНидерланды\t0.5'
expect "list" 0 "$list" "" -- "$poundconv" --list

batch_in=$'1\t10\n4\tabc\nнидерланды\t3\nno tab here\n9\t1\n0\t1E400\n3\t2.5\r'
batch_out=$'10 фунт. - 4.536 кг.\nerror: \'abc\' is not a valid floating point value\n3 фунт. - 1.500 кг.\nerror: line 4 has no tab between country and pounds\nerror: unknown country \'9\'\nerror: Floating point overflow\n2.5 фунт. - 1.250 кг.'
expect "batch with bad lines" 1 "$batch_out" "" -- bash -c '"$0" --batch <<<"$1"' "$poundconv" "$batch_in"
expect "batch all good" 0 $'1 фунт. - 0.500 кг.' "" -- bash -c '"$0" --batch <<<"$1"' "$poundconv" $'3\t1'

# A "," locale: the mark is read from the environment.
expect "comma locale" 0 "12,5 фунт. - 6,250 кг." "" -- env LC_ALL=de_DE.UTF-8 "$poundconv" 3 12,5
expect "comma locale rejects point" 1 "" "'12.5' is not a valid floating point value." -- \
    env LC_ALL=de_DE.UTF-8 "$poundconv" 3 12.5

rm -f /tmp/poundconv_err.$$
if ((failures > 0)); then
    echo "$failures failed"
    exit 1
fi
echo "all poundconv cases passed"
