#!/usr/bin/env bash
# Builds the core libraries, their tests, the converter and the fuzz targets
# with AddressSanitizer and UndefinedBehaviorSanitizer (clang, so that the
# same build serves libFuzzer) in build-sanitized/, runs the tests, then
# replays the kept fuzz findings and runs every fuzzer a fixed number of
# times from a fixed seed (the same inputs on every run).
# A double free, a use after free, a leak, a signed overflow or any other
# undefined behaviour, and any fuzzer finding, fail the run. The converter's
# tests run the sanitized converter on good and broken documents.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
dir=build-sanitized
# A folder configured with another compiler is made again.
if [ -f "$dir/CMakeCache.txt" ] && ! grep -q "CMAKE_CXX_COMPILER:.*clang++-14" "$dir/CMakeCache.txt"; then
  rm -rf "$dir"
fi
CC=clang-14 CXX=clang++-14 cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEKTA_WERROR=ON \
  -DVEKTA_SANITIZE=ON -DVEKTA_FUZZ=ON -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" >/dev/null
targets=(vekta_foundation_tests vekta_document_tests vekta_objects_tests vekta_output_tests vekta_view_tests
  vekta_editing_tests vekta_cli_tests fuzz_document fuzz_record fuzz_ini
  fuzz_metafile vekta_images_tests fuzz_picture)
cmake --build "$dir" -j "$jobs" --target "${targets[@]}"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/sanitizer-leaks.supp:print_suppressions=0
for target in "${targets[@]}"; do
  case "$target" in fuzz_*) continue ;; esac
  program=$(find "$dir" -type f -name "$target" -perm -u+x | head -n 1)
  echo "Sanitized: $program"
  "$program" --gtest_brief=1
done
scripts/fuzz.sh --ci
