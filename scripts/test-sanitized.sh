#!/usr/bin/env bash
# Builds the core libraries and the tests that move object ownership around
# (the view, and editing with undo, redo and the copy buffer) with
# AddressSanitizer in build-sanitized/, and runs them: a double free, a use
# after free or a leak fails the run. Unoptimised, so that the extra build
# stays short.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-sanitized -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEKTA_WERROR=ON -DVEKTA_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O0 -g" >/dev/null
targets=(vekta_view_tests vekta_editing_tests)
cmake --build build-sanitized -j "$jobs" --target "${targets[@]}"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/sanitizer-leaks.supp:print_suppressions=0
for program in build-sanitized/view/vekta_view_tests build-sanitized/editing/vekta_editing_tests; do
  echo "Sanitized: $program"
  "$program" --gtest_brief=1
done
