# Shared by run.sh and test.sh: installs the Debian packages the build and
# the tests need (only when one is missing), then configures and builds in
# build/.  Sourced, not run.
QMX_PACKAGES="cmake make g++ qt6-base-dev qt6-base-dev-tools qt6-charts-dev libgl-dev libgtest-dev googletest \
libbenchmark-dev nlohmann-json3-dev xvfb xauth imagemagick xdotool python3-pyftpdlib \
dpkg-dev help2man desktop-file-utils lintian man-db clang-format"

qmx_install_packages() {
  local missing=() p
  for p in $QMX_PACKAGES; do
    # Compared whole rather than piped into grep -q, which under pipefail
    # can fail the check when dpkg-query is cut off early.
    [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = "install ok installed" ] || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  if ! command -v apt-get >/dev/null 2>&1; then
    echo "apt-get not found: install these packages by hand (a Debian 12 system is expected)." >&2
    return 1
  fi
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "Not root and sudo not found: install these packages as root first." >&2
      return 1
    fi
    sudo="sudo"
  fi
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

qmx_build() {
  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  local launcher=()
  command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
  cmake --build build -j "$jobs"
}
