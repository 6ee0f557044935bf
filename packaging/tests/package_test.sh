#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root with dpkg -x and
# runs the unpacked qmxread-cli there with a scratch home: the per-user
# settings directory must be created and seeded from the installed sample.
# Arguments: BUILD_DIR SAMPLES_DIR WITH_GUI(0|1)
set -euo pipefail
build=$1 samples=$2 gui=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1) \
    || { cat "$scratch/cpack.log"; fail "cpack"; }
deb=$(ls "$scratch"/out/*.deb)
dpkg -x "$deb" "$scratch/root"
r=$scratch/root

expected=(usr/bin/qmxread-cli usr/share/qmxread/QMXRead.ini
          usr/share/bash-completion/completions/qmxread-cli usr/share/doc/qmxread/copyright)
if command -v gzip >/dev/null; then expected+=(usr/share/doc/qmxread/changelog.gz); fi
if command -v help2man >/dev/null; then expected+=(usr/share/man/man1/qmxread-cli.1.gz); fi
if [[ $gui == 1 ]]; then
    expected+=(usr/bin/qmxread usr/share/applications/qmxread.desktop
               usr/share/icons/hicolor/scalable/apps/qmxread.svg)
    if command -v help2man >/dev/null; then expected+=(usr/share/man/man1/qmxread.1.gz); fi
fi
for f in "${expected[@]}"; do
    [[ -e $r/$f ]] || fail "the package lacks /$f"
done
cmp -s "$r/usr/share/qmxread/QMXRead.ini" "$samples/QMXRead.ini" || fail "installed sample differs"
if [[ $gui == 1 ]] && command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$r/usr/share/applications/qmxread.desktop" || fail "desktop entry"
fi
dpkg-deb -f "$deb" Depends | grep -q libc6 || fail "no shared-library dependencies recorded"

# Debian's own checker finds no error in the package, and man finds
# nothing to warn about in either page.
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" >"$scratch/lintian.log" 2>&1 || { cat "$scratch/lintian.log"; fail "lintian"; }
fi
for page in "$r"/usr/share/man/man1/*.1.gz; do
    [[ -e $page ]] || continue
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [[ -z $warnings ]] || { echo "$warnings"; fail "man warns about $(basename "$page")"; }
done

# The man page does not carry the settings path of the machine that built it.
if [[ -e $r/usr/share/man/man1/qmxread-cli.1.gz ]]; then
    ! zcat "$r/usr/share/man/man1/qmxread-cli.1.gz" | grep -q "Settings file in use" \
        || fail "man page names the build machine's settings file"
fi

home=$scratch/home
mkdir -p "$home"
run() { env -u XDG_CONFIG_HOME HOME="$home" "$r/usr/bin/qmxread-cli" "$@"; }

version=$(run --version | head -1)
[[ $version == "qmxread-cli $(dpkg-deb -f "$deb" Version)" ]] || fail "version [$version]"
[[ $(run --help) == *"Settings file in use: $home/.config/qmxread/QMXRead.ini"* ]] || fail "--help settings line"

out=$(run analyze "$samples/ws-lab.txt" 2>"$scratch/err") || fail "analyze exit status"
[[ -s $scratch/err ]] && { cat "$scratch/err"; fail "analyze wrote to stderr"; }
[[ -n $out ]] || fail "no suggestions: the seeded rules did not run"
cmp -s "$home/.config/qmxread/QMXRead.ini" "$samples/QMXRead.ini" || fail "settings not seeded"
echo "package test passed: $(basename "$deb")"
