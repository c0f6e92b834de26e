#!/usr/bin/env bash
# How long the document window keeps its user waiting on each kind of page
# at 10 000 and 100 000 objects (see bench/ViewMain.cpp): prints a Markdown
# table of the longest of three runs of each step.
#
#   bench/view.sh [--sizes "N ..."] [--waiting]
#
# --waiting draws every page while the window waits, as it did before large
# pages were drawn behind the window's back.
#
# Needs a build (scripts/build.sh, or VEKTA_BUILD_DIR=other build folder).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VEKTA_BUILD_DIR:-$PWD/build}
sizes=(10000 100000)
options=()
while [ $# -gt 0 ]; do
  case "$1" in
  --sizes)
    read -r -a sizes <<<"$2"
    shift 2
    ;;
  --waiting)
    options+=(--waiting)
    shift
    ;;
  *)
    echo "usage: bench/view.sh [--sizes \"N ...\"] [--waiting]" >&2
    exit 2
    ;;
  esac
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
docs=()
for n in "${sizes[@]}"; do
  for kind in mix dense plan text; do
    "$build/bench/vekta-bench-doc" --kind "$kind" "$n" "$work/$kind-$n.vk1" >/dev/null
    docs+=("$work/$kind-$n.vk1")
  done
done
"$build/bench/vekta-bench-view" "${options[@]}" "${docs[@]}"
