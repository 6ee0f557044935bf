#!/usr/bin/env bash
# Builds qmxread-cli with ThreadSanitizer in build-tsan/ and runs the tests
# that analyse reports on several threads against it: the normal build's
# test program starts the sanitised tool (QMX_CLI). Any data race makes the
# tool exit 66, which fails the test. Needs the normal build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build-tsan
flags="-fsanitize=thread -fno-omit-frame-pointer -O1 -g"
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" \
    -DQMX_BUILD_GUI=OFF -DQMX_BUILD_BENCH=OFF -DQMX_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc 2>/dev/null || echo 2)" --target qmxread-cli

export TSAN_OPTIONS="halt_on_error=1:exitcode=66"
QMX_CLI="$PWD/$dir/bin/qmxread-cli" build/bin/qmx_core_tests --gtest_filter='CliTest.Jobs*'
