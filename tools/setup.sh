# Shared by run.sh and test.sh: installs the Debian packages the build and
# the tests need (only when one is missing), then configures and builds in
# build/.  Sourced, not run.
QMX_PACKAGES="cmake g++ qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev googletest \
libbenchmark-dev nlohmann-json3-dev xvfb xauth imagemagick xdotool python3-pyftpdlib"

qmx_install_packages() {
  local missing=()
  for p in $QMX_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
}

qmx_build() {
  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build -j "$jobs"
}
