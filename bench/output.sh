#!/usr/bin/env bash
# The GIF and WMF exports measured against independent tools.
#
# For the showcase and for generated documents of 10 000 objects (the mixed
# kind and the plain one), it times vekta-cli's GIF export at 300 % and WMF
# export, and checks what they hold:
#   GIF: the PSNR of our 256-colour GIF against our own PNG export, beside
#        the PSNR of ImageMagick's `convert -colors 256 +dither` of that PNG
#        (the octree against a well-tuned peer on the same picture);
#   WMF: the metafile drawn by two independent readers, libwmf (wmf2gd)
#        and Inkscape's import, at the page's pixel size, against our PNG
#        export at 100 %: the PSNR, and the share of pixels that differ by
#        more than a quarter of the range in a channel (what a reader drew
#        elsewhere or not at all; antialiasing and font rasterising stay
#        below it).
#
#   bench/output.sh [--keep DIR]
#
# Needs a build (scripts/build.sh). Installs ImageMagick and libwmf's tools
# when they are missing (apt-get, as root).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${VEKTA_BUILD_DIR:-$root/build}
keep=""
[ "${1:-}" = --keep ] && keep=$2
work=${keep:-$(mktemp -d)}
mkdir -p "$work"
[ -n "$keep" ] || trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

need=()
command -v convert >/dev/null || need+=(imagemagick)
command -v wmf2gd >/dev/null || need+=(libwmf-bin)
command -v inkscape >/dev/null || need+=(inkscape)
command -v /usr/bin/time >/dev/null || need+=(time)
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq && apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

cli=$build/cli/vekta-cli
seconds() { # seconds <command...>: wall time of one run
  /usr/bin/time -f %e -o "$work/time" "$@" >/dev/null 2>&1
  cat "$work/time"
}
psnr() { # psnr <a> <b>
  compare -metric PSNR "$1" "$2" null: 2>&1 | cut -d' ' -f1 || true
}

cp examples/showcase.vk1 "$work/showcase.vk1"
"$build/bench/vekta-bench-doc" 10000 "$work/mixed10k.vk1" >/dev/null
"$build/bench/vekta-bench-doc" --simple 10000 "$work/plain10k.vk1" >/dev/null

echo "| drawing | GIF 300 % s | PNG 300 % s | GIF PSNR dB | convert -colors 256 PSNR dB | WMF s | WMF KB | libwmf PSNR dB | libwmf pixels off | Inkscape PSNR dB | Inkscape pixels off |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
for name in showcase mixed10k plain10k; do
  doc=$work/$name.vk1
  gif_s=$(seconds "$cli" export --zoom 300 "$doc" "$work/$name.gif")
  png_s=$(seconds "$cli" export --zoom 300 "$doc" "$work/$name-300.png")
  convert "$work/$name-300.png" +dither -colors 256 "$work/$name-im.png"
  gif_psnr=$(psnr "$work/$name.gif" "$work/$name-300.png")
  im_psnr=$(psnr "$work/$name-im.png" "$work/$name-300.png")

  wmf_s=$(seconds "$cli" export "$doc" "$work/$name.wmf")
  wmf_kb=$(($(stat -c %s "$work/$name.wmf") / 1024))
  "$cli" export "$doc" "$work/$name.png" >/dev/null
  size=$(identify -format "%wx%h" "$work/$name.png")
  total=$((${size%x*} * ${size#*x}))
  wmf2gd --maxwidth="${size%x*}" --maxheight="${size#*x}" -o "$work/$name-libwmf.png" "$work/$name.wmf" 2>/dev/null || true
  inkscape "$work/$name.wmf" --export-type=png --export-filename="$work/$name-inkscape.png" \
    --export-width="${size%x*}" >/dev/null 2>&1 || true
  row="| $name | $gif_s | $png_s | $gif_psnr | $im_psnr | $wmf_s | $wmf_kb"
  for reader in libwmf inkscape; do
    # The metafile has no background: put it on the page's white.
    convert "$work/$name-$reader.png" -background white -flatten -resize "$size!" "$work/$name-$reader-flat.png"
    off=$(compare -metric AE -fuzz 25% "$work/$name-$reader-flat.png" "$work/$name.png" null: 2>&1 || true)
    row="$row | $(psnr "$work/$name-$reader-flat.png" "$work/$name.png") | $(awk -v a="$off" -v t="$total" 'BEGIN { printf "%.1f %%", 100 * a / t }')"
  done
  echo "$row |"
done
