#!/usr/bin/env bash
# Runs the window manager tests of a test program on a display of their own,
# with a small window manager (fluxbox) framing the windows.
set -euo pipefail
program="$1"
source "$(dirname "$0")/../../scripts/xvfb.sh"
wm="" xvfb_pid=""
# fluxbox may hang on TERM and outlive its display: it is killed outright.
trap 'kill -KILL $wm 2>/dev/null || true; kill $xvfb_pid 2>/dev/null || true' EXIT
start_xvfb 140
fluxbox >/dev/null 2>&1 &
wm=$!
# The window manager has taken over once it names itself on the root window.
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
VORLIX_WINDOW_MANAGER=1 "$program" --gtest_filter='WindowManager*'
