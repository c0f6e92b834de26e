#!/usr/bin/env bash
# Vekta side by side with two general SVG renderers on the same drawings.
#
# For each document size it generates a mixed document (bench/vekta-bench-doc)
# and exports it as SVG with vekta-cli; rsvg-convert and inkscape then render
# that SVG, the very drawing Vekta renders from its own file, to the same
# pixel size. It also times loading plus saving, with peak memory, and runs
# the picking and dragging micro-benchmarks. A Markdown table with the ratios
# comes last.
#
#   bench/compare.sh [--million] [--million-peers] [--sizes "N ..."] [--runs N] [--peer-timeout S]
#                    [--keep DIR]
#
#   --million        also 1 000 000 objects (Vekta only, unless --million-peers)
#   --million-peers  let the peers render 1 000 000 objects too (hours)
#   --sizes "N ..."  other document sizes (default "1000 10000 100000")
#   --runs N         runs per measurement, the median is shown (default 3);
#                    a command that takes longer than a minute runs once
#   --peer-timeout S give up on a peer run after S seconds (default 1800)
#   --keep DIR       keep the documents and pictures in DIR
#
# Needs a build (scripts/build.sh, or VEKTA_BUILD_DIR=other build folder).
# Installs the peers and GNU time when they are missing (apt-get, as root).
# Measure on a quiet machine: the load average is shown with the results.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${VEKTA_BUILD_DIR:-$root/build}
case "$build" in /*) ;; *) build=$root/$build ;; esac

sizes=(1000 10000 100000)
million=0
million_peers=0
runs=3
peer_timeout=1800
keep=""
while [ $# -gt 0 ]; do
  case "$1" in
    --million) million=1 ;;
    --million-peers) million=1; million_peers=1 ;;
    --sizes) read -r -a sizes <<<"$2"; shift ;;
    --runs) runs=$2; shift ;;
    --peer-timeout) peer_timeout=$2; shift ;;
    --keep) keep=$2; shift ;;
    *) echo "usage: bench/compare.sh [--million] [--million-peers] [--sizes \"N ...\"] [--runs N]" \
            "[--peer-timeout S] [--keep DIR]" >&2
       exit 2 ;;
  esac
  shift
done
[ "$million" = 1 ] && sizes+=(1000000)

cli=$build/cli/vekta-cli
gen=$build/bench/vekta-bench-doc
benchbin=$build/bench/vekta-bench
for tool in "$cli" "$gen" "$benchbin"; do
  if [ ! -x "$tool" ]; then
    echo "compare.sh: $tool is missing: run scripts/build.sh first" >&2
    exit 1
  fi
done

# ---- peers ----
missing=()
command -v rsvg-convert >/dev/null || missing+=(librsvg2-bin)
command -v inkscape >/dev/null || missing+=(inkscape)
[ -x /usr/bin/time ] || missing+=(time)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq "${missing[@]}"
fi

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

if [ -n "$keep" ]; then
  work=$keep
  mkdir -p "$work"
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi

# ---- measuring ----
# measure NAME TIMEOUT command...: runs the command up to $runs times (once
# when a run takes over a minute) and sets NAME_s (median seconds) and NAME_kb
# (largest peak memory, KiB); "timeout", "killed" (out of memory) or
# "failed" when it did not finish.
measure() {
  local name=$1 limit=$2
  shift 2
  local times=() peak=0 i status out
  out=$work/time.out
  for ((i = 0; i < runs; i++)); do
    status=0
    local started=$SECONDS
    if [ "$limit" -gt 0 ]; then
      timeout --kill-after=10 "$limit" /usr/bin/time -f "%e %M" -o "$out" "$@" >/dev/null 2>"$work/stderr" || status=$?
    else
      /usr/bin/time -f "%e %M" -o "$out" "$@" >/dev/null 2>"$work/stderr" || status=$?
    fi
    if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
      # Killed: by the time limit, or before it by the system when memory
      # ran out.
      if [ "$limit" -gt 0 ] && [ $((SECONDS - started)) -ge "$limit" ]; then
        printf -v "${name}_s" '%s' "timeout"
      else
        printf -v "${name}_s" '%s' "killed"
      fi
      printf -v "${name}_kb" '%s' "-"
      return
    fi
    if [ "$status" -ne 0 ]; then
      echo "  failed ($status): $*" >&2
      tail -3 "$work/stderr" >&2
      printf -v "${name}_s" '%s' "failed"
      printf -v "${name}_kb" '%s' "-"
      return
    fi
    local line
    line=$(tail -1 "$out")
    times+=("${line% *}")
    [ "${line#* }" -gt "$peak" ] && peak=${line#* }
    awk -v t="${line% *}" 'BEGIN { exit !(t > 60) }' && break
  done
  printf -v "${name}_s" '%s' "$(printf '%s\n' "${times[@]}" | sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')"
  printf -v "${name}_kb" '%s' "$peak"
}

# ratio A B: A / B with one decimal, or "-" when either is not a number.
ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN {
    if (a + 0 != a || b + 0 != b || b == 0) { print "-"; exit }
    printf "%.1f", a / b }'
}

# fastest A B: the smaller number, ignoring what is not one.
fastest() {
  awk -v a="$1" -v b="$2" 'BEGIN {
    na = (a + 0 == a); nb = (b + 0 == b)
    if (na && nb) print (a < b ? a : b); else if (na) print a; else if (nb) print b; else print "-" }'
}

megabytes() { awk -v k="$1" 'BEGIN { if (k + 0 != k) print "-"; else printf "%.0f", k / 1024 }'; }

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(awk '/MemTotal/ { printf "%.1f GB", $2 / 1048576 }' /proc/meminfo) memory"
echo "Load average before: $(cut -d' ' -f1-3 /proc/loadavg)"

# The process without a document: what loading adds is measured against it.
"$gen" 0 "$work/empty.vk1"
measure base 0 "$cli" resave "$work/empty.vk1" "$work/empty-out.vk1"

render_rows=()
file_rows=()
for n in "${sizes[@]}"; do
  echo "== $n objects"
  doc=$work/doc$n.vk1
  "$gen" "$n" "$doc"
  "$gen" --simple "$n" "$work/simple$n.vk1"
  "$cli" export "$doc" "$work/doc$n.svg"
  size=$(stat -c %s "$doc")
  svg_size=$(stat -c %s "$work/doc$n.svg")
  peers=1
  [ "$n" -ge 1000000 ] && [ "$million_peers" = 0 ] && peers=0

  for zoom in 100 300; do
    w=$((800 * zoom / 100))
    h=$((1000 * zoom / 100))
    echo "  render ${w}x${h}"
    measure vekta 0 "$cli" export --zoom "$zoom" "$doc" "$work/vekta$n-$zoom.png"
    rsvg_s="not run"; inkscape_s="not run"
    if [ "$peers" = 1 ]; then
      measure rsvg "$peer_timeout" rsvg-convert -w "$w" -h "$h" -o "$work/rsvg$n-$zoom.png" "$work/doc$n.svg"
      measure inkscape "$peer_timeout" inkscape --export-type=png --export-width="$w" --export-height="$h" \
        --export-filename="$work/inkscape$n-$zoom.png" "$work/doc$n.svg"
    fi
    best=$(fastest "$rsvg_s" "$inkscape_s")
    faster=$(ratio "$best" "$vekta_s")
    met="-"
    [ "$faster" != "-" ] && met=$(awk -v r="$faster" 'BEGIN { print (r >= 3 ? "yes" : "no") }')
    [ "$zoom" = 100 ] && met="(100 %)"
    render_rows+=("| $n | ${w} x ${h} | $vekta_s | $(megabytes "$vekta_kb") | $rsvg_s | $inkscape_s | $faster | $met |")
  done

  echo "  load and save"
  measure save 0 "$cli" resave "$doc" "$work/resaved$n.vk1"
  per_object=$(awk -v kb="$save_kb" -v base="$base_kb" -v size="$size" -v n="$n" \
    'BEGIN { printf "%.0f", ((kb - base) * 1024 - size) / n }')
  measure simple 0 "$cli" resave "$work/simple$n.vk1" "$work/simple-out$n.vk1"
  simple_size=$(stat -c %s "$work/simple$n.vk1")
  simple_per_object=$(awk -v kb="$simple_kb" -v base="$base_kb" -v size="$simple_size" -v n="$n" \
    'BEGIN { printf "%.0f", ((kb - base) * 1024 - size) / n }')
  rsvg_save_s="not run"; inkscape_save_s="not run"
  if [ "$peers" = 1 ]; then
    measure rsvg_save "$peer_timeout" rsvg-convert -f svg -o "$work/rsvg$n.svg" "$work/doc$n.svg"
    measure inkscape_save "$peer_timeout" inkscape --export-plain-svg --export-filename="$work/inkscape$n.svg" \
      "$work/doc$n.svg"
  fi
  file_rows+=("| $n | $(awk -v s="$size" 'BEGIN { printf "%.1f", s / 1e6 }') | $save_s | $(megabytes "$save_kb") | $per_object | $simple_per_object | $(awk -v s="$svg_size" 'BEGIN { printf "%.0f", s / 1e6 }') | $rsvg_save_s | $inkscape_save_s |")
done

echo "== micro-benchmarks"
# column NAME COLUMN SCALE: the median of the benchmark NAME (a regular
# expression matching it alone) in that column of its CSV, times SCALE. One
# run of the benchmark program per name: its CSV takes the counters of one
# benchmark family only.
column() {
  "$benchbin" --benchmark_filter="^$1\$" --benchmark_repetitions="$((runs < 3 ? 3 : runs))" \
    --benchmark_report_aggregates_only=true \
    --benchmark_format=csv 2>/dev/null |
    awk -F, -v row="\"$1_median\"" -v col="$2" -v scale="$3" '
      /^name,/ { for (i = 1; i <= NF; i++) if ($i == col || $i == "\"" col "\"") at = i; next }
      $1 == row && at { printf "%.2f", $at * scale }'
}
object_at=$(column BM_ObjectAt/100000 cpu_time 1)
# per_step is in seconds.
drag_empty=$(column BM_DragStep/0 per_step 1e6)
drag_full=$(column BM_DragStep/100000 per_step 1e6)

echo
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "### Rendering (seconds, median of $runs runs; a run over a minute is done once)"
echo
echo "Vekta: vekta-cli export --zoom Z doc.vk1 out.png. Peers: the SVG that vekta-cli exports of the same"
echo "document, rendered to the same size. Faster: the fastest peer's time over Vekta's; the target is 3 at 300 %."
[ "$million" = 1 ] && [ "$million_peers" = 0 ] && \
  echo "The peers are not run on 1 000 000 objects (an SVG of over a gigabyte; use --million-peers)."
echo
echo "| objects | pixels | Vekta s | Vekta MB | rsvg-convert s | inkscape s | faster | 3x at 300 % |"
echo "|---:|---:|---:|---:|---:|---:|---:|:---:|"
printf '%s\n' "${render_rows[@]}"
echo
echo "### Loading plus saving"
echo
echo "Vekta: vekta-cli resave (read, build the objects, write). Bytes per object: peak memory beyond an"
echo "empty document and beyond the file's own size, for the mixed document and for one of only lines,"
echo "rectangles and circles. Peers: reading the SVG and writing it again (rsvg-convert -f svg,"
echo "inkscape --export-plain-svg). Targets at 100 000 objects: under 1 s, under 300 bytes per simple object."
echo
echo "| objects | file MB | Vekta s | Vekta MB | bytes/object | bytes/simple object | SVG MB | rsvg-convert s | inkscape s |"
echo "|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
printf '%s\n' "${file_rows[@]}"
echo
echo "### Picking and dragging (vekta-bench, median CPU time of at least 3 repetitions)"
echo
echo "| measure | result | target |"
echo "|---|---:|---|"
echo "| ObjectAt over 100 000 objects | $object_at ms | under 5 ms |"
echo "| drag step, empty page | $drag_empty us | the same on both pages |"
echo "| drag step, 100 000 objects | $drag_full us | the same on both pages |"
