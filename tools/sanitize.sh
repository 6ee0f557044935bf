#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/ and runs every test there. Any sanitizer report stops the
# test that raised it (halt_on_error) and fails the run; leak detection is on.
# Optimised (-O1) rather than a plain Debug build, so the large-report tests
# stay within their time limits.
#
#   tools/sanitize.sh            configure, build, run the whole suite
#   tools/sanitize.sh -R PATTERN pass extra arguments on to ctest
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build-asan
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -O1 -g"
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DQMX_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc 2>/dev/null || echo 2)"

supp="$PWD/tools/lsan.supp"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
# Each sanitised test runs slower; give the time limits room.
ctest --test-dir "$dir" --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" \
    --timeout 600 "$@"
