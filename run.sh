#!/usr/bin/env bash
# Installs what is missing, builds, and starts the reader.  Without a
# display it shows the analysis of the sample reports on the terminal.
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup.sh
qmx_install_packages
qmx_build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display available (neither DISPLAY nor WAYLAND_DISPLAY is set)."
  echo "Showing the analysis of the sample reports, with the sample rule sets, instead:"
  echo "  build/bin/qmxread-cli analyze --settings samples/QMXRead.ini samples/ws-*.txt"
  echo
  build/bin/qmxread-cli analyze --settings samples/QMXRead.ini samples/ws-*.txt
  echo
  echo "The start of a sample server report as parsed (the whole JSON:"
  echo "  build/bin/qmxread-cli server samples/srv-main.txt):"
  echo
  build/bin/qmxread-cli server samples/srv-main.txt > build/srv-main.json
  head -n 24 build/srv-main.json
  echo "  ..."
  exit 0
fi
exec build/bin/qmxread "$@"
