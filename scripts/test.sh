#!/usr/bin/env bash
# Builds everything into build/ with g++ and into build-clang/ with clang++,
# and the Windows program with its tests into build-windows/, and runs every
# test: the unit test program also as one process in shuffled order and, where
# the machine can mount one, on a real exFAT folder; the Windows tests under
# Wine. Window tests need an X display: without one, a
# private Xvfb server is started for the run. Warnings fail these builds, the
# g++ build checks every use of the standard library (_GLIBCXX_ASSERTIONS) and
# the clang build runs under the address and undefined behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DVORLIX_WERROR=ON -DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS
cmake --build build -j"$(nproc)"
# The clang build's unit tests run under AddressSanitizer and
# UndefinedBehaviorSanitizer: a freed control or an overflow fails the run.
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
CXX=clang++ cmake -S . -B build-clang -DVORLIX_WERROR=ON "-DCMAKE_CXX_FLAGS=$sanitize" \
      "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined"
cmake --build build-clang -j"$(nproc)"
bash scripts/build-windows.sh -DVORLIX_WERROR=ON

xvfb_pid=""
cleanup() {
  bash scripts/wine-session.sh stop
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  source scripts/xvfb.sh
  start_xvfb 90 || true  # without a display the window tests skip
fi

status=0
# Whole and in random order: tests must not lean on each other.
build/tests/vorlix_tests --gtest_shuffle --gtest_brief=1 || status=1
build-clang/tests/vorlix_tests --gtest_shuffle --gtest_brief=1 || status=1
# On a real exFAT folder too, where this machine can mount one.
bash scripts/exfat.sh build/tests/vorlix_tests || status=1
(cd build && ctest --output-on-failure --timeout 120) || status=1
# Under Wine each test is a process of its own: the unit suites side by side,
# then the window tests, one at a time on the display.
bash scripts/wine-session.sh start
(cd build-windows && ctest --output-on-failure --timeout 120 -j"$(nproc)" -LE window) || status=1
(cd build-windows && ctest --output-on-failure --timeout 120 -L window) || status=1
exit $status
