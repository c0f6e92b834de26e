#!/usr/bin/env bash
# Runs each fuzz target of build-sanitized/ (see scripts/test-sanitized.sh)
# from seed corpora made of our own test files.
#
#   scripts/fuzz.sh 3600   each fuzzer for an hour (default 60 s); what it
#                          adds to its corpus stays in build-sanitized/corpus
#                          for the next run
#   scripts/fuzz.sh 3600 document record
#                          only the fuzzers named (document, record, ini,
#                          metafile, picture), so that two can run at once
#   FUZZ_TIMEOUT=60 scripts/fuzz.sh 3600 picture
#                          a longer wait before one input counts as a hang
#                          (20 s by default); libFuzzer measures wall-clock
#                          time, so a run that shares its cores with a build
#                          needs it
#   scripts/fuzz.sh --ci   a fixed number of runs from a fixed seed on a
#                          fresh corpus: the same inputs on every run, so
#                          the test run cannot fail by chance
#
# A finding is written to build-sanitized/findings and fails the run: once
# it is mended, keep it in fuzz/regressions/<kind>/, whose inputs every run
# replays first.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-sanitized
kinds="document record ini metafile picture"
if [ $# -gt 1 ]; then
  kinds="${*:2}"
fi
if [ "${1:-}" = --ci ]; then
  corpora=$(mktemp -d)
  trap 'rm -rf "$corpora"' EXIT
  limit() { # limit <kind>: libFuzzer options bounding one target's run
    case "$1" in
      document) echo "-seed=1 -runs=5000" ;;
      picture) echo "-seed=1 -runs=20000" ;;
      metafile) echo "-seed=1 -runs=20000" ;;
      *) echo "-seed=1 -runs=50000" ;;
    esac
  }
else
  corpora=$dir/corpus
  seconds=${1:-60}
  limit() { echo "-max_total_time=$seconds"; }
fi
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/sanitizer-leaks.supp:print_suppressions=0
mkdir -p "$dir/findings"

documents=$(git ls-files '*.vk1')
seed() { # seed <corpus> <kind>
  local corpus=$1 kind=$2 n=0
  mkdir -p "$corpus"
  for file in $documents; do
    n=$((n + 1))
    case "$kind" in
      document) cp "$file" "$corpus/seed-$n.vk1" ;;
      # The object list alone: the records after the section's count.
      record) sed -n '/^\[VEKT TData\]/,$p' "$file" | tail -n +3 | head -c 65536 >"$corpus/seed-$n.rec" ;;
    esac
  done
  if [ "$kind" = metafile ]; then
    # The fuzzer puts a placeable header of its own in front.
    for file in images/tests/data/wmf/*.wmf; do
      tail -c +23 "$file" >"$corpus/$(basename "$file")"
    done
  fi
  if [ "$kind" = picture ]; then
    # The first byte chooses the reader: BMP, PCX, JPEG, PNG, GIF, WMF.
    for file in images/tests/data/*.bmp images/tests/data/*.pcx images/tests/data/*.jpg \
      images/tests/data/*.png images/tests/data/*.gif images/tests/data/*.wmf; do
      case "$file" in
      *.bmp) reader='\000' ;;
      *.pcx) reader='\001' ;;
      *.jpg) reader='\002' ;;
      *.png) reader='\003' ;;
      *.gif) reader='\004' ;;
      *) reader='\005' ;;
      esac
      { printf '%b' "$reader"; cat "$file"; } >"$corpus/$(basename "$file")"
    done
  fi
  if [ "$kind" = ini ]; then
    printf '[Preferences]\nRepeat Add Object=1\nFolder=/tmp\n\n[FichiersRecents]\nFile1=a.vk1\n' >"$corpus/seed-1.ini"
    printf '[VEKT Defaults]\nTPen 0 6 1 1 0\nTFont 0 Arial 14 0 0 400\n' >"$corpus/seed-2.prf"
  fi
}

status=0
for kind in $kinds; do
  corpus="$corpora/$kind"
  [ -d "$corpus" ] || seed "$corpus" "$kind"
  if [ -d "fuzz/regressions/$kind" ]; then
    echo "Replaying the $kind findings kept"
    "$dir/fuzz/fuzz_$kind" fuzz/regressions/$kind/* 2>"$dir/fuzz-$kind-regressions.log" || {
      tail -n 30 "$dir/fuzz-$kind-regressions.log"
      status=1
    }
  fi
  echo "Fuzzing $kind ($(limit $kind))"
  # The documents' words mean nothing to a binary format.
  dict=-dict=fuzz/vk1.dict
  case "$kind" in metafile | picture) dict= ;; esac
  # shellcheck disable=SC2046,SC2086 # the options are words
  "$dir/fuzz/fuzz_$kind" "$corpus" $dict $(limit $kind) -timeout="${FUZZ_TIMEOUT:-20}" \
    -rss_limit_mb=2560 -max_len=65536 -print_final_stats=1 -artifact_prefix="$dir/findings/$kind-" \
    2>"$dir/fuzz-$kind.log" || status=1
  grep -E "^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|cov:|Test unit written" \
    "$dir/fuzz-$kind.log" | tail -n 5
done
exit $status
