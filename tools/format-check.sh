#!/usr/bin/env bash
# Fails when a C++ file of the project differs from the layout in
# .clang-format. `tools/format-check.sh --fix` rewrites the files instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
    'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
if ! clang-format --dry-run -Werror "${files[@]}"; then
    echo "format-check: the files above differ from .clang-format; run tools/format-check.sh --fix" >&2
    exit 1
fi
echo "format-check: ${#files[@]} files match .clang-format"
