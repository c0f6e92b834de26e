#!/usr/bin/env bash
# Makes the metafiles of this folder and the reference pictures the
# player's tests compare with; run once by hand, the results are committed
# so that the tests need none of these tools. The SVG drawings start with a
# white rectangle over the whole page, so that the reference renderer,
# which sizes its picture to the drawing, sees the whole page.
set -euo pipefail
cd "$(dirname "$0")"
for name in shapes text image; do
  inkscape "$name.svg" --export-filename="$name.wmf"
done
python3 make-records.py
for name in shapes text image records; do
  wmf2gd --maxwidth=400 --maxheight=400 --maxpect -o "$name.png" "$name.wmf"
done
