#!/usr/bin/env bash
# Vekta beside rsvg-convert and inkscape on four kinds of page: the mix,
# dense overlapping shapes, a technical plan and a page of texts
# (vekta-bench-doc --kind). Each peer renders the SVG that vekta-cli
# exports of the same document, in the form it draws fastest (the style
# sheet as the export writes it, or every style on its element), to the
# pixel size of Vekta's own PNG at 100 % and 300 %. One run each; prints a
# Markdown table.
#
#   bench/kinds.sh [--sizes "N ..."] [--no-inkscape]
#
# Needs a build (scripts/build.sh, or VEKTA_BUILD_DIR=other build folder).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${VEKTA_BUILD_DIR:-$root/build}
sizes=(10000)
inkscape=1
while [ $# -gt 0 ]; do
  case "$1" in
    --sizes) read -r -a sizes <<<"$2"; shift ;;
    --no-inkscape) inkscape=0 ;;
    *) echo "usage: bench/kinds.sh [--sizes \"N ...\"] [--no-inkscape]" >&2; exit 2 ;;
  esac
  shift
done
cli=$build/cli/vekta-cli
gen=$build/bench/vekta-bench-doc
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

seconds() { # command...: wall seconds of one run
  /usr/bin/time -f "%e" -o "$work/time" "$@" >/dev/null 2>&1 || echo "fail" >"$work/time"
  cat "$work/time"
}
fastest() { # file-a file-b command-prefix...: the faster of the two inputs
  local a=$1 b=$2 ta tb
  shift 2
  ta=$(seconds "$@" "$a")
  tb=$(seconds "$@" "$b")
  awk -v a="$ta" -v b="$tb" 'BEGIN { print (b + 0 < a + 0 ? b : a) }'
}

echo "| kind | objects | zoom | Vekta s | rsvg-convert s | inkscape s | fastest peer / Vekta |"
echo "|---|---:|---:|---:|---:|---:|---:|"
for n in "${sizes[@]}"; do
  for kind in mix dense plan text; do
    doc=$work/$kind$n.vk1
    "$gen" --kind "$kind" "$n" "$doc" >/dev/null
    "$cli" export "$doc" "$work/sheet.svg" >/dev/null
    "$root/bench/inline-styles.py" "$work/sheet.svg" "$work/inline.svg"
    for zoom in 100 300; do
      w=$((8 * zoom)) h=$((10 * zoom))
      tv=$(seconds "$cli" export "$doc" "$work/v.png" --zoom "$zoom")
      tr=$(fastest "$work/sheet.svg" "$work/inline.svg" rsvg-convert -w "$w" -h "$h" -o "$work/r.png")
      ti="-"
      if [ "$inkscape" = 1 ]; then
        ti=$(fastest "$work/sheet.svg" "$work/inline.svg" inkscape --export-type=png \
          --export-filename="$work/i.png" --export-width="$w")
      fi
      ratio=$(awk -v v="$tv" -v r="$tr" -v i="$ti" 'BEGIN { p = r + 0; if (i != "-" && i + 0 < p) p = i + 0;
        printf "%.1f", p / v }')
      echo "| $kind | $n | $zoom % | $tv | $tr | $ti | $ratio |"
    done
  done
done
