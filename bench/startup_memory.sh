#!/usr/bin/env bash
# Peak memory (max RSS) of the program at start, its main window shown,
# against a bare FLTK program that shows one window with one line of text.
# Both are built into build-bench/ (BUILD_TYPE, default Release), start in an
# empty folder on the same private Xvfb display and are ended a moment later
# (SECONDS_SHOWN, default 3); each starts once unmeasured, then RUNS times
# (default 3), and the medians are compared with the target ratio of 1.2.
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh time
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" -DVORLIX_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target vorlix-tools bare_fltk >/dev/null
runs=${RUNS:-3}
shown=${SECONDS_SHOWN:-3}
here=$(mktemp -d)

xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$here"
}
trap cleanup EXIT
source scripts/xvfb.sh
start_xvfb 90

# Max RSS in kB of one start; fails when the window named title never shows.
peak() {
  local program=$1 title=$2 log="$here/time.log"
  (cd "$here" && /usr/bin/time -v -o "$log" timeout "$shown" "$program" >/dev/null 2>&1) &
  local pid=$!
  if ! timeout "$shown" xdotool search --sync --onlyvisible --name "^$title\$" >/dev/null; then
    wait "$pid" || true
    echo "$program: no window \"$title\" within $shown s" >&2
    return 1
  fi
  wait "$pid" || true
  awk '/Maximum resident set size/ {print $NF}' "$log"
}

# The runs' peaks, one a line in ascending order, after one start that warms
# the caches.
peaks() {
  peak "$@" >/dev/null
  for _ in $(seq "$runs"); do peak "$@"; done | sort -n
}
median() { sed -n "$(((runs + 1) / 2))p" <<<"$1"; }

bare_runs=$(peaks "$PWD/build-bench/bench/bare_fltk" "Bare FLTK")
program_runs=$(peaks "$PWD/build-bench/vorlix-tools" "Vorlix Tools")
echo "bare FLTK runs (kB):" $bare_runs
echo "vorlix-tools runs (kB):" $program_runs
awk -v b="$(median "$bare_runs")" -v p="$(median "$program_runs")" 'BEGIN {
  r = p / b
  printf "startup_memory: bare FLTK %d kB, vorlix-tools %d kB, ratio %.2f (target 1.20: %s)\n",
         b, p, r, r <= 1.2 ? "met" : "not met"
}'
