#!/usr/bin/env bash
# Builds the core, the command-line tool and the core tests with
# ThreadSanitizer in build-tsan/ and runs the tests that analyse reports on
# several threads. Any data race fails the run.
#
#   tools/tsan.sh            configure, build, run the threaded tests
#   tools/tsan.sh -R PATTERN run other tests instead
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build-tsan
flags="-fsanitize=thread -fno-omit-frame-pointer -O1 -g"
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" \
    -DQMX_BUILD_GUI=OFF -DQMX_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc 2>/dev/null || echo 2)" --target qmxread-cli qmx_core_tests

export TSAN_OPTIONS="halt_on_error=1:exitcode=66"
if [ $# -eq 0 ]; then
    set -- -R 'Jobs|Parallel'
fi
ctest --test-dir "$dir" --output-on-failure --timeout 600 "$@"
