#!/usr/bin/env bash
# Builds the wizard into build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DVORLIX_BENCH=OFF
cmake --build build -j"$(nproc)" --target vorlix-tools
exec build/vorlix-tools
