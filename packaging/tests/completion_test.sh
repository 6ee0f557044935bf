#!/usr/bin/env bash
# The bash completion of qmxread-cli, driven as bash drives it: COMP_WORDS
# and COMP_CWORD set, the function called, COMPREPLY compared.
# Arguments: COMPLETION_SCRIPT QMXREAD_CLI SAMPLES_DIR
set -u
script=$1 cli=$2 samples=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# A copy of the program whose own directory holds an LF-only settings file
# with a rule set name holding the "=" separator twice.
mkdir -p "$scratch/bin" "$scratch/files/sub"
cp "$cli" "$scratch/bin/qmxread-cli"
printf '[QMXREAD_PARAMETERS]\nDefault_Rule_Set=Lab\n\n[RULE_LIST_SETTINGS]\nCount=3\n0=Lab\n1=Lab_01\n2=a=b=c\n' \
    > "$scratch/bin/QMXRead.ini"
touch "$scratch/files/report1.txt" "$scratch/files/report2.txt"

. "$script"
failures=0

# check NAME EXPECTED WORD... : EXPECTED is the sorted COMPREPLY joined by blanks.
check()
{
    local name=$1 expected=$2
    shift 2
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _qmxread_cli
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//')
    if [[ $got != "$expected" ]]; then
        echo "FAIL $name: expected [$expected], got [$got]"
        failures=$((failures + 1))
    fi
}

cd "$scratch/files"
exe="$scratch/bin/qmxread-cli"
check "commands" "analyze attached" "$exe" a
check "every command" "--help --version analyze attached compare eval lint report server summary update variables" "$exe" ""
check "the last command letters" "update" "$exe" u
check "analyze options" "--csv --debug --format --help --jobs --no-rules --rule-set --rules-file --settings --since --summary" "$exe" analyze --
check "compare options" "--baseline --csv --differences --help" "$exe" compare --
check "update options" "--dir --help --only --settings" "$exe" update --
check "lint formats" "gcc json" "$exe" lint --rules-file r.txt --format ""
check "summary formats" "json jsonl" "$exe" analyze --summary --format ""
check "lint reports are files" "report1.txt report2.txt" "$exe" lint --report rep
check "baseline values" "first majority" "$exe" compare --baseline ""
check "baseline after =" "majority" "$exe" compare --baseline = m
check "only values" "QMXRead.ini QMXScan.ini" "$exe" update --only QMX
check "rule sets of the settings in use" "Lab Lab_01 a=b=c" "$exe" analyze --rule-set ""
check "rule set prefix _01 against _1" "Lab_01" "$exe" analyze --rule-set Lab_
check "rule sets of --settings (CR LF)" "DEFAULT INVENTORY" "$exe" analyze --settings "$samples/QMXRead.ini" --rule-set ""
check "rule sets of --settings=FILE" "INVENTORY" "$exe" report --settings = "$samples/QMXRead.ini" --rule-set I
check "rule set of a missing settings file" "" "$exe" analyze --settings "$scratch/none.ini" --rule-set ""
check "report files" "report1.txt report2.txt" "$exe" analyze rep
check "files after options" "report2.txt" "$exe" analyze --debug report2
check "settings file names" "report1.txt" "$exe" variables --settings report1
check "directories for --dir" "sub" "$exe" update --dir s
check "no operands for eval" "" "$exe" eval rep
check "attached name is not a file" "" "$exe" attached report1.txt rep

if ((failures > 0)); then
    echo "$failures completion case(s) failed"
    exit 1
fi
echo "all completion cases passed"
