#!/usr/bin/env bash
# Runs the window manager tests of a test program on a display of their own,
# with a small window manager (fluxbox) framing the windows.
set -euo pipefail
program="$1"
for n in $(seq 140 180); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
  display=":$n"
  break
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $wm $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
export DISPLAY="$display"
fluxbox >/dev/null 2>&1 &
wm=$!
# The window manager has taken over once it names itself on the root window.
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
VORLIX_WINDOW_MANAGER=1 "$program" --gtest_filter='WindowManager*'
