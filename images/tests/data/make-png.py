#!/usr/bin/env python3
# Writes the PNG variants ImageMagick will not write: a 2-bit palette, a
# 4-bit palette with partial transparency (tRNS) and a background (bKGD),
# a 4-bit grey with a transparent grey (tRNS). Run by make-fixtures.sh.
import struct
import subprocess
import sys
import zlib

CONVERT = sys.argv[1] if len(sys.argv) > 1 else "/usr/bin/convert-im6.q16"


def raw_rgb(path, *options):
    out = subprocess.run([CONVERT, path, *options, "-depth", "8", "rgb:-"], check=True,
                         capture_output=True).stdout
    size = subprocess.run([CONVERT, path, "-format", "%w %h", "info:"], check=True,
                          capture_output=True).stdout.split()
    return int(size[0]), int(size[1]), out


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(name, w, h, depth, colour_type, rows, extra=b""):
    ihdr = struct.pack(">IIBBBBB", w, h, depth, colour_type, 0, 0, 0)
    raw = b"".join(b"\0" + r for r in rows)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra + chunk(b"IDAT", zlib.compress(raw, 9))
    open(name, "wb").write(data + chunk(b"IEND", b""))


def packed(values, w, depth):
    row = bytearray((w * depth + 7) // 8)
    for x, v in enumerate(values):
        bit = x * depth
        row[bit // 8] |= v << (8 - depth - bit % 8)
    return bytes(row)


def indexed(path, colours):
    w, h, rgb = raw_rgb(path, "-colors", str(colours))
    pixels = [rgb[i:i + 3] for i in range(0, len(rgb), 3)]
    palette = sorted(set(pixels))
    index = {c: i for i, c in enumerate(palette)}
    return w, h, palette, [[index[pixels[y * w + x]] for x in range(w)] for y in range(h)]


w, h, palette, rows = indexed("flat.png", 4)
png("png-pal2.png", w, h, 2, 3, [packed(r, w, 2) for r in rows], chunk(b"PLTE", b"".join(palette)))

w, h, palette, rows = indexed("flat.png", 8)
alphas = bytes([255, 0, 128, 64, 200][:len(palette)])
png("png-pal4-trns-bkgd.png", w, h, 4, 3, [packed(r, w, 4) for r in rows],
    chunk(b"PLTE", b"".join(palette)) + chunk(b"tRNS", alphas) + chunk(b"bKGD", b"\x03"))

w, h, grey = raw_rgb("src.png", "-colorspace", "gray")
levels = [[grey[(y * w + x) * 3] * 15 // 255 for x in range(w)] for y in range(h)]
png("png-grey4-trns.png", w, h, 4, 0, [packed(r, w, 4) for r in levels], chunk(b"tRNS", struct.pack(">H", 7)))
