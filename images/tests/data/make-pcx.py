#!/usr/bin/env python3
# Writes the PCX variants ImageMagick does not write: 1 bit x 1 plane,
# 1 bit x 4 planes and 4 bits x 1 plane, each with its palette in the
# header, and a file whose runs carry over from one line to the next.
# Run by make-fixtures.sh.
import struct
import subprocess
import sys

CONVERT = sys.argv[1] if len(sys.argv) > 1 else "/usr/bin/convert-im6.q16"


def indexed(path, *options):
    rgb = subprocess.run([CONVERT, path, *options, "-depth", "8", "rgb:-"], check=True,
                         capture_output=True).stdout
    w, h = map(int, subprocess.run([CONVERT, path, "-format", "%w %h", "info:"], check=True,
                                   capture_output=True).stdout.split())
    pixels = [rgb[i:i + 3] for i in range(0, len(rgb), 3)]
    palette = sorted(set(pixels))
    index = {c: i for i, c in enumerate(palette)}
    return w, h, palette, [[index[pixels[y * w + x]] for x in range(w)] for y in range(h)]


def runs(line):
    out = bytearray()
    x = 0
    while x < len(line):
        n = 1
        while x + n < len(line) and n < 63 and line[x + n] == line[x]:
            n += 1
        if n > 1 or line[x] >= 0xC0:
            out += bytes([0xC0 | n, line[x]])
        else:
            out.append(line[x])
        x += n
    return out


def header(w, h, bits, planes, bpl, palette):
    pal16 = b"".join(palette)[:48].ljust(48, b"\0")
    head = struct.pack("<BBBBHHHHHH", 10, 5, 1, bits, 0, 0, w - 1, h - 1, 72, 72) + pal16
    head += struct.pack("<BBHH", 0, planes, bpl, 1)
    return head.ljust(128, b"\0")


def write(name, w, h, bits, planes, bpl, palette, lines, whole=False):
    body = runs(b"".join(lines)) if whole else b"".join(runs(l) for l in lines)
    open(name, "wb").write(header(w, h, bits, planes, bpl, palette) + body)


def bitplanes(row, w, planes, bpl):
    line = bytearray()
    for p in range(planes):
        plane = bytearray(bpl)
        for x, v in enumerate(row):
            if v >> p & 1:
                plane[x // 8] |= 0x80 >> (x % 8)
        line += plane
    return bytes(line)


w, h, palette, rows = indexed("src.png", "-monochrome")
bpl = ((w + 7) // 8 + 1) & ~1
write("pcx1.pcx", w, h, 1, 1, bpl, palette, [bitplanes(r, w, 1, bpl) for r in rows])

w, h, palette, rows = indexed("flat.png", "-colors", "16")
bpl = ((w + 7) // 8 + 1) & ~1
write("pcx4-planes.pcx", w, h, 1, 4, bpl, palette, [bitplanes(r, w, 4, bpl) for r in rows])
bpl = ((w + 1) // 2 + 1) & ~1
packed = []
for r in rows:
    line = bytearray(bpl)
    for x, v in enumerate(r):
        line[x // 2] |= v << (0 if x & 1 else 4)
    packed.append(bytes(line))
write("pcx4.pcx", w, h, 4, 1, bpl, palette, packed)
# Runs that run on across the ends of lines, as some writers make them.
write("pcx4-across.pcx", w, h, 4, 1, bpl, palette, packed, whole=True)
