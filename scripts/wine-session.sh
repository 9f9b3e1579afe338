#!/usr/bin/env bash
# Starts or stops the Wine session of the Windows build (prefix
# build-windows/wine): a wineserver that stays up, Wine's services and, with an
# X display, its desktop. Started here apart from any test's output, they keep
# no test's pipes open, so a test ends when its program does.
set -euo pipefail
cd "$(dirname "$0")/.."
export WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
server=$(command -v wineserver || echo /usr/lib/wine/wineserver)
case "${1:-}" in
  start)
    if [ ! -d "$WINEPREFIX/drive_c" ]; then
      # A new prefix, made without a window and without offering Mono or Gecko.
      DISPLAY= WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot --init </dev/null >/dev/null 2>&1
      "$server" -w
    fi
    "$server" -p </dev/null >/dev/null 2>&1 || true  # already up
    "$wine" rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1
    ;;
  stop)
    [ -d "$WINEPREFIX" ] && "$server" -k </dev/null >/dev/null 2>&1 || true
    ;;
  *)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
