#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/check-format.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc 2>/dev/null || echo 2)
ctest --test-dir build --output-on-failure -j "$jobs"
# The Debian package, unpacked into a fresh root and tried from there.
scripts/package.sh
# The code that moves object ownership (undo, redo, the copy buffer), once
# more under AddressSanitizer.
scripts/test-sanitized.sh
