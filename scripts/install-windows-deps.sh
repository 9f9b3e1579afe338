#!/usr/bin/env bash
# Installs, besides what the Linux build needs, the Debian packages that
# cross-build the Windows program and its tests (MinGW-w64, GoogleTest's
# sources) and run them (Wine, and the condensed face that stands in under
# Wine for a face only Windows has).
set -euo pipefail
exec bash "$(dirname "$0")/install-deps.sh" g++-mingw-w64-x86-64-posix wine64 googletest fonts-dejavu-extra
