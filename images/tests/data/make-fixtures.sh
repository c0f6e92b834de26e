#!/usr/bin/env bash
# Makes the reader tests' pictures and, for each, the pixels an independent
# decoder (ImageMagick) reads from it as a binary PPM (name.ppm). Run once
# by hand (ImageMagick, Netpbm and Python 3); the results are committed,
# so the tests need no outside tool.
#   images/tests/data/make-fixtures.sh [convert]
set -euo pipefail
cd "$(dirname "$0")"
C=${1:-/usr/bin/convert-im6.q16}
# src.png: a 21x13 colour picture; flat.png: 37x19 with flat areas for runs.

# BMP
$C src.png -monochrome BMP3:bmp1.bmp
$C flat.png -colors 16 -compress None BMP3:bmp4.bmp
$C src.png -colors 200 -compress None BMP3:bmp8.bmp
$C flat.png -colors 30 -compress RLE BMP3:bmp8-rle.bmp
$C src.png -define bmp:subtype=RGB555 bmp16-555.bmp
$C src.png -define bmp:subtype=RGB565 bmp16-565.bmp
$C src.png -compress None BMP3:bmp24.bmp
$C src.png BMP2:bmp24-core.bmp
$C src.png -alpha on -define bmp:format=bmp4 bmp32.bmp
python3 make-bmp.py "$C"
$C bmp:v52-twin.tmp -depth 8 ppm:bmp16-565-v52.ppm && rm v52-twin.tmp

# PNG: every colour type and depth
g() { $C src.png -colorspace gray "$@"; }
g -define png:color-type=0 -define png:bit-depth=1 -dither None -monochrome png-grey1.png
g -depth 2 -define png:color-type=0 -define png:bit-depth=2 png-grey2.png
g -depth 4 -define png:color-type=0 -define png:bit-depth=4 png-grey4.png
g -define png:color-type=0 -define png:bit-depth=8 png-grey8.png
g -depth 16 -define png:color-type=0 -define png:bit-depth=16 png-grey16.png
alpha=(\( -size 21x13 gradient:white-black -rotate 0 \) -alpha off -compose copyopacity -composite)
g "${alpha[@]}" -define png:color-type=4 -define png:bit-depth=8 png-greyalpha8.png
g -depth 16 "${alpha[@]}" -define png:color-type=4 -define png:bit-depth=16 png-greyalpha16.png
$C src.png -define png:color-type=2 -define png:bit-depth=8 png-rgb8.png
$C src.png -depth 16 -define png:color-type=2 -define png:bit-depth=16 png-rgb16.png
$C src.png -interlace PNG -define png:color-type=2 -define png:bit-depth=8 png-rgb8-interlaced.png
$C src.png "${alpha[@]}" -define png:color-type=6 -define png:bit-depth=8 png-rgba8.png
$C src.png -depth 16 "${alpha[@]}" -interlace PNG -define png:color-type=6 -define png:bit-depth=16 png-rgba16-interlaced.png
$C src.png -background '#3366cc' "${alpha[@]}" -define png:color-type=6 -define png:bit-depth=8 png-rgba8-bkgd.png
$C src.png -monochrome -define png:color-type=3 -define png:bit-depth=1 png-pal1.png
$C flat.png -colors 16 -define png:color-type=3 -define png:bit-depth=4 png-pal4.png
$C src.png -colors 200 -define png:color-type=3 -define png:bit-depth=8 png-pal8.png
$C flat.png -colorspace gray -transparent white -define png:color-type=0 -define png:bit-depth=8 png-grey8-trns.png
$C flat.png -transparent red -define png:color-type=2 -define png:bit-depth=8 png-rgb8-trns.png
python3 make-png.py "$C"

# PCX: 8 bits with the palette after the pixels, 8 bits x 3 planes; the
# others by hand
$C src.png -colors 200 pcx8.pcx
$C src.png -type truecolor pcx24.pcx
python3 make-pcx.py "$C"

# JPEG: colour, grey, progressive with 2x2 chroma, CMYK (Adobe, inverted)
$C src.png -quality 90 jpeg-colour.jpg
$C src.png -colorspace gray -quality 90 jpeg-grey.jpg
$C flat.png -quality 85 -interlace JPEG -sampling-factor 2x2 jpeg-progressive.jpg
$C src.png -colorspace CMYK -quality 95 jpeg-cmyk.jpg

# GIF: plain, interlaced, transparent, a picture smaller than its screen,
# two frames (the first is read)
$C src.png -colors 64 gif.gif
$C src.png -colors 32 -interlace GIF gif-interlaced.gif
$C flat.png -colors 8 -fuzz 2% -transparent white gif-transparent.gif
$C flat.png -crop 20x10+5+4 -colors 16 gif-offset.gif
$C src.png -colors 16 \( src.png -negate -colors 16 \) -loop 0 gif-animated.gif

# What ImageMagick reads, composed onto the file's background colour (bKGD)
# or white.
for f in *.bmp *.png *.pcx *.jpg *.gif; do
  case "$f" in src.png | flat.png | bmp16-565-v52.bmp) continue ;; esac
  case "$f" in
  # ImageMagick shows a 1-bit PCX all black and does not carry runs across
  # the ends of lines: Netpbm's reader gives what those files hold.
  pcx1.pcx | pcx4-across.pcx) pcxtoppm "$f" >"${f%.*}.ppm" ;;
  # ImageMagick misreads a palette picture's background index: it is given
  # the colour of entry 3 (olive) outright.
  png-pal4-trns-bkgd.png) $C "$f" -background 'rgb(128,128,0)' -flatten -depth 8 "ppm:${f%.*}.ppm" ;;
  # The first frame, its transparent colour and the screen around it white.
  *.gif) $C "${f}[0]" -background white -flatten -depth 8 "ppm:${f%.*}.ppm" ;;
  *) $C "$f" -flatten -depth 8 "ppm:${f%.*}.ppm" ;;
  esac
done

# A placeable metafile: a window of 1000 x 500 units and one rectangle (its
# records are played elsewhere; the readers only check its headers).
python3 - <<'PY'
import struct
def rec(func, *params):
    return struct.pack('<IH', 3 + len(params), func) + b''.join(struct.pack('<h', p) for p in params)
records = rec(0x020C, 500, 1000) + rec(0x041B, 400, 900, 100, 100) + rec(0x0000)
header = struct.pack('<HHHIHIH', 1, 9, 0x300, (18 + len(records)) // 2, 0, 7, 0)
place = struct.pack('<IHhhhhHI', 0x9AC6CDD7, 0, 0, 0, 1000, 500, 1440, 0)
check = 0
for i in range(10):
    check ^= struct.unpack('<H', place[2 * i:2 * i + 2])[0]
open('wmf-rect.wmf', 'wb').write(place + struct.pack('<H', check) + header + records)
PY
