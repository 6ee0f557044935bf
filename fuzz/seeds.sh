#!/usr/bin/env bash
# Writes seed corpora for the fuzzers and runs one of them:
#   fuzz/seeds.sh BUILD_DIR            writes BUILD_DIR/corpus-report and corpus-rules
#   fuzz/seeds.sh BUILD_DIR NAME SECS  ... then runs fuzz_NAME for SECS seconds
# The report seeds are generated reports from 2 KB to 250 KB (ordinary,
# adversarial, and each hostile shape); the rule seeds are long and deeply
# nested conditions. Inputs up to 256 KB are allowed, so the large-input
# paths are reached. Needs qmx-reportgen from a normal build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:?usage: fuzz/seeds.sh BUILD_DIR [NAME SECONDS]}
gen=${QMX_REPORTGEN:-build/bin/qmx-reportgen}
[ -x "$gen" ] || { echo "fuzz/seeds.sh: $gen not found; build the target qmx-reportgen first" >&2; exit 1; }

reports="$out/corpus-report"
rules="$out/corpus-rules"
mkdir -p "$reports" "$rules"
cp samples/*.txt tests/data/report_basic.txt "$reports/"
for lines in 40 400 1500 3500; do
    "$gen" "$lines" "$reports/generated-$lines.txt" "$lines"
    "$gen" "$lines" "$reports/adversarial-$lines.txt" adversarial
done
"$gen" 4000 "$reports/brackets.txt" brackets
"$gen" 6000 "$reports/multivalue.txt" multivalue
"$gen" 240000 "$reports/longline.txt" longline
"$gen" 200000 "$reports/parens.txt" parens

python3 - "$rules" <<'PY'
import sys, os
d = sys.argv[1]
seeds = {
    "chain": "(1=1)&" * 40000 + "(1=1)",
    "nested": "(" * 60000 + "A=A" + ")" * 60000,
    "unbalanced": "(" * 30000 + "A=A&B" + ")" * 100,
    "quotes": "('A)B'='A)B')|" * 8000 + "FALSE",
    "rules": "SET %X%=1;\r\nIF (%X%=1) & (%CPU%>100) THEN PRINT \"OK \"+%OS%;\r\n" * 2000,
}
for name, text in seeds.items():
    with open(os.path.join(d, name), "w") as f:
        f.write(text)
PY

if [ $# -ge 3 ]; then
    exec "$out/bin/fuzz_$2" -max_len=262144 -timeout=30 -max_total_time="$3" "$out/corpus-$2"
fi
