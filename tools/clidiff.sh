#!/usr/bin/env bash
# Runs two builds of qmxread-cli on the same command lines and compares
# stdout, stderr and exit status byte for byte.
#
#   tools/clidiff.sh OLD_CLI NEW_CLI REPORTGEN [EXPECTED]
#
# OLD_CLI and NEW_CLI are qmxread-cli binaries, REPORTGEN is qmx-reportgen
# (it writes the 10,000-line reports). EXPECTED names, one a line, the cases
# whose output is meant to change, as the script shows them (lines starting
# with "#" are comments); they are listed but do not fail the run.
# Both binaries run from the same path, so texts that name the program's
# directory (the settings file in use) agree. Nothing here touches the
# network: update is only run into usage and settings errors.
set -u
OLD=$(realpath "$1") NEW=$(realpath "$2") GEN=$(realpath "$3") EXPECTED=${4:-/dev/null}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
mkdir -p "$T/bin" "$T/data" "$T/old" "$T/new"
S=$ROOT/samples D=$T/data

# Inputs: the samples, the test data, generated reports and a few odd files.
"$GEN" 10000 "$D/gen1.txt" 1 && "$GEN" 10000 "$D/gen2.txt" 2 && "$GEN" 10000 "$D/adv.txt" adversarial
for shape in brackets multivalue; do "$GEN" 10000 "$D/$shape.txt" "$shape"; done
"$GEN" 200000 "$D/longline.txt" longline && "$GEN" 20000 "$D/parens.txt" parens
"$GEN" --server 10000 "$D/srv-gen.txt"
printf 'IF %%OS%%=WINNT THEN SUGGEST NT\nPRINT %%COMPUTERNAME%%\r\nSET %%X%%=1\n' > "$D/rules.txt"
printf '[S]\r\nX=a\tb\r\nY=\x08\x0c\r\nE=\x80\xe9\r\n' > "$D/ctl.txt"
printf '[S]\r\nX=1\r\n' > "$D/$(printf 'caf\xe9').txt"
printf '                      Top of Patch List\r\n=\r\ntab\there \x08 \x0c\r\nend\r\n' > "$D/srv-ctl.txt"
mkfifo "$D/fifo.txt"
truncate -s 1100M "$D/huge.txt"
# The default settings point at a closed local port, so an update that gets past
# its arguments fails at once without leaving the machine.
sed "s/^Host=.*/Host=127.0.0.1/; s/^Port=.*/Port=9/" "$S/QMXRead.ini" > "$T/bin/QMXRead.ini"
missing=$D/missing.txt
WS=("$S"/ws-*.txt "$ROOT"/tests/data/report_basic.txt "$ROOT"/tests/data/cli/*.txt "$ROOT"/tests/data/gui/report1.txt
    "$D"/gen1.txt "$D"/gen2.txt "$D"/adv.txt "$D"/brackets.txt "$D"/multivalue.txt "$D"/longline.txt "$D"/parens.txt
    "$D"/ctl.txt)
SRV=("$S"/srv-*.txt "$D"/srv-gen.txt "$D"/srv-ctl.txt "$ROOT"/tests/data/report_basic.txt)

CASES=$T/cases
: > "$CASES"
# One case a line, its words quoted for the shell (a word may hold a line break).
c() { printf '%q ' "$@" >> "$CASES"; echo >> "$CASES"; }

for r in "${WS[@]}"; do
    for cmd in report variables analyze; do
        c "$cmd" "$r"
        c "$cmd" --no-rules "$r"
        c "$cmd" --debug --settings "$S/QMXRead.ini" "$r"
        c "$cmd" "$r" --settings="$S/QMXRead.ini" --rule-set INVENTORY
        c "$cmd" --rules-file "$D/rules.txt" --debug "$r"
        c "$cmd" --settings "$ROOT/tests/data/cli/rules.ini" "$r"
    done
    # Every attached name the report lists, and one it does not.
    while IFS= read -r name; do c attached "$r" "$name"; done < <(
        "$NEW" report --no-rules "$r" 2>/dev/null |
            /usr/bin/python3 -c 'import json,sys; [print(n) for n in json.load(sys.stdin)["attached"]]' 2>/dev/null)
    c attached "$r" NO_SUCH_FILE.TXT
done
c analyze "${WS[@]}"
c analyze --settings "$S/QMXRead.ini" "$S/ws-lab.txt" "$missing" "$S/ws-reception.txt"
c analyze --no-rules -- "$S/ws-lab.txt" "$D/fifo.txt" "$D"
for f in "$missing" "$D" "$D/fifo.txt" "$D/huge.txt" /dev/null; do
    for cmd in report variables analyze server; do c "$cmd" "$f"; done
    c attached "$f" X
    c compare "$f" "$S/ws-lab.txt"
done
c report --settings "$missing" "$S/ws-lab.txt"
c report --rules-file "$missing" "$S/ws-lab.txt"
c report --settings "$S/QMXRead.ini" --rule-set NO_SUCH_SET "$S/ws-lab.txt"
c analyze --settings "$S/QMXScan.ini" "$S/ws-lab.txt"

for cond in TRUE true '(TRUE)' '' '10<9' '9<10' '(%X%=1)' '(%X%=%x%)' '-1<0' $'  a\r\nb=A B  ' '(10<9) | (ABC^B)' \
    '((1=1)&(2=2))' 'A=A=A' '"a"="a"' '$FF=255' '0x10=16' '2147483648>1' '--help' '-x'; do
    c eval "$cond"
done
c eval -- --=--
c eval -- -- x

for r in "${SRV[@]}"; do c server "$r"; c server -- "$r"; done

ALLWS=("$S"/ws-*.txt "$D"/gen1.txt "$D"/gen2.txt "$D"/ctl.txt)
for opts in "" --csv --differences "--csv --differences" "--baseline majority" "--baseline=first" \
    "--csv --baseline=majority --differences" "--differences --baseline first"; do
    # shellcheck disable=SC2086
    c compare $opts "${ALLWS[@]}"
    # shellcheck disable=SC2086
    c compare $opts "$S/ws-lab.txt" "$missing" "$S/ws-lab.txt" "$D"
done
c compare "$missing"
c compare "$missing" "$D"
c compare "$D/$(printf 'caf\xe9').txt" "$S/ws-lab.txt"
c compare --csv "$D/$(printf 'caf\xe9').txt" "$S/ws-lab.txt"
c compare -- --csv

# Usage errors of every kind, and the help and version texts.
usage=(
    "" "frobnicate x" "report" "report a.txt b.txt" "variables" "analyze" "analyze --no-rules"
    "report --colour x" "report x --settings" "report --debug=1 x" "report --settings= x" "report --set x x"
    "report --colour=red x" "attached x" "attached --debug x y" "attached -- x" "eval" "eval A=A B=B"
    "compare" "compare --csv" "compare --baseline last a" "compare --baseline= a" "compare a --baseline"
    "compare --colour a" "compare --debug a" "compare --csv=1 a" "compare --baselinex a"
    "server" "server a b" "server --bogus a" "server -x a" "server --help=1 a"
    "update x" "update --bogus" "update --help" "update --dir" "update --only" "update --only QMXScan"
    "update --settings" "update -x" "update x=y" "report -x" "analyze - -x" "server -" "server -hx"
    "--help" "-h" "help" "--version" "--version x" "report --help" "report --settings /x/y.ini --help"
    "attached --help" "compare --help" "compare a --help" "server --help" "server -h" "server --bogus --help"
    "update --settings=" "update --dir=" "update --only=" "update --dir $S/QMXRead.ini"
    "update --dir $missing" "update --settings $missing" "update --settings $missing --only QMXScan.ini"
)
for u in "${usage[@]}"; do
    # shellcheck disable=SC2086
    c $u
done

runAll() {
    local out=$1 n=0
    while IFS= read -r line; do
        n=$((n + 1))
        eval "local words=($line)"
        (cd "$T" && "$T/bin/qmxread-cli" "${words[@]}" < /dev/null > "$out/$n.out" 2> "$out/$n.err"; echo $? > "$out/$n.rc")
    done < "$CASES"
}
cp "$OLD" "$T/bin/qmxread-cli" && runAll "$T/old" && "$T/bin/qmxread-cli" --help | sed '$d' > "$T/old/usage"
cp "$NEW" "$T/bin/qmxread-cli" && runAll "$T/new" && "$T/bin/qmxread-cli" --help | sed '$d' > "$T/new/usage"

# The general usage text may grow (a new command); where it is all that
# differs, the run counts as identical and the usage texts are shown once.
same() {
    cmp -s "$T/old/$1" "$T/new/$1" && return 0
    /usr/bin/python3 - "$T/old/usage" "$T/new/usage" "$T/old/$1" "$T/new/$1" <<'PY'
import sys
u_old, u_new, a, b = (open(p, 'rb').read() for p in sys.argv[1:])
sys.exit(0 if a.replace(u_old, b'<usage>') == b.replace(u_new, b'<usage>') else 1)
PY
}
cmp -s "$T/old/usage" "$T/new/usage" || { echo "the usage text changed:"; diff "$T/old/usage" "$T/new/usage"; }

total=0 same=0 meant=0 bad=0
while IFS= read -r line; do
    total=$((total + 1))
    shown=$(printf '%s' "$line" | sed "s|$ROOT/||g; s|$T/||g; s/ $//")
    if same "$total.out" && same "$total.err" && cmp -s "$T/old/$total.rc" "$T/new/$total.rc"; then
        same=$((same + 1))
    elif LC_ALL=C grep -qxF -- "$shown" "$EXPECTED"; then
        meant=$((meant + 1))
        echo "changed as meant: $shown"
    else
        bad=$((bad + 1))
        echo "DIFFERS: $shown"
        for k in out err rc; do
            cmp -s "$T/old/$total.$k" "$T/new/$total.$k" ||
                diff <(head -c 2000 "$T/old/$total.$k") <(head -c 2000 "$T/new/$total.$k") | head -8
        done
    fi
done < "$CASES"
echo "$total runs compared: $same identical, $meant changed as meant, $bad differ"
[ "$bad" -eq 0 ]
