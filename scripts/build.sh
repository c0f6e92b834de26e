#!/usr/bin/env bash
# Configures and builds Vekta in build/ (Release with debug info).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEKTA_WERROR=ON "$@"
cmake --build build -j "$jobs"
