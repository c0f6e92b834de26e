#!/usr/bin/env bash
# Builds the core libraries, their tests and the converter with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitized/, and
# runs the tests: a double free, a use after free, a leak, a signed overflow
# or any other undefined behaviour fails the run. The converter's tests run
# the sanitized converter on good and broken documents. Unoptimised, so
# that the extra build stays short.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-sanitized -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEKTA_WERROR=ON -DVEKTA_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O0 -g" >/dev/null
targets=(vekta_foundation_tests vekta_document_tests vekta_objects_tests vekta_output_tests vekta_view_tests
  vekta_editing_tests vekta_cli_tests)
cmake --build build-sanitized -j "$jobs" --target "${targets[@]}"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/sanitizer-leaks.supp:print_suppressions=0
for target in "${targets[@]}"; do
  program=$(find build-sanitized -type f -name "$target" -perm -u+x | head -n 1)
  echo "Sanitized: $program"
  "$program" --gtest_brief=1
done
