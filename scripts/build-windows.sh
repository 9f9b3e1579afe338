#!/usr/bin/env bash
# Cross-builds the Windows program and its tests into build-windows/ with
# MinGW-w64; the tests run there under Wine (ctest in build-windows/).
# FLTK's source archive is taken from ../shared/deps/ beside the project when
# it is there, else downloaded from FLTK's release address. Arguments go to
# CMake (the test command adds -DVORLIX_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-windows-deps.sh

archive_args=()
archive="$(cd .. && pwd)/shared/deps/fltk-1.3.8-source.tar.gz"
if [ -f "$archive" ]; then
  (cd "$(dirname "$archive")" && sha256sum --quiet -c "$(basename "$archive").sha256")
  archive_args=(-DVORLIX_FLTK_ARCHIVE="$archive")
fi

cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DVORLIX_BENCH=OFF \
      "${archive_args[@]}" "$@"

# Test discovery runs the test programs under Wine while building.
trap 'bash scripts/wine-session.sh stop' EXIT
bash scripts/wine-session.sh start
cmake --build build-windows -j"$(nproc)"
