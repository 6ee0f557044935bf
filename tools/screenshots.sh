#!/usr/bin/env bash
# Takes pictures of the desktop program without a display. The program is
# copied into a scratch program directory beside the sample settings file,
# opens a report, and saves the main window once per report page and the
# Options dialog once per page, as PNG files; a second run with /D adds the
# pages of debug mode under OUTPUT_DIR/debug.
#   tools/screenshots.sh [OUTPUT_DIR] [REPORT]
# BUILD selects the build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
out=$(realpath -m "${1:-screenshots}")
report=$(realpath "${2:-samples/ws-accounting.txt}")
cmake --build "$build" --target qmxread >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime"
cp "$build/bin/qmxread" samples/QMXRead.ini "$scratch/"

shoot() { # DIR ARGS...
  local dir=$1
  shift
  mkdir -p "$dir"
  QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch/runtime" \
    QMX_SCREENSHOTS="$dir" QMX_SCREENSHOT_REPORT="$report" \
    "$scratch/qmxread" "$@" 2> >(grep -v 'This plugin does not support' >&2)
}
shoot "$out"
shoot "$out/debug" /D
ls "$out"/*.png "$out"/debug/*.png
