#!/usr/bin/env python3
# Writes the BMP variants ImageMagick does not write itself (top-down rows,
# RLE4 with deltas, colour masks of odd widths and orders, the short info
# headers) from the raw pixels of src.png and a4.bmp. Run by make-fixtures.sh.
import struct
import subprocess
import sys

CONVERT = sys.argv[1] if len(sys.argv) > 1 else "/usr/bin/convert-im6.q16"


def raw_rgb(path):
    out = subprocess.run([CONVERT, path, "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    size = subprocess.run([CONVERT, path, "-format", "%w %h", "info:"], check=True,
                          capture_output=True).stdout.split()
    return int(size[0]), int(size[1]), out


def bmp(info, palette, pixels):
    off = 14 + len(info) + len(palette)
    return b"BM" + struct.pack("<IHHI", off + len(pixels), 0, 0, off) + info + palette + pixels


def info40(w, h, bits, compression, size, colours=0, size_field=40, masks=()):
    head = struct.pack("<IiiHHIIiiII", size_field, w, h, 1, bits, compression, size, 2835, 2835, colours, 0)
    extra = b"".join(struct.pack("<I", m) for m in masks)
    return head + extra + b"\0" * (size_field - 40 - len(extra)) if size_field > 40 else head + extra


def pack(pixels, w, h, bits, masks, rgb):
    stride = (w * bits + 31) // 32 * 4
    rows = []
    for y in range(h):
        row = bytearray()
        for x in range(w):
            r, g, b = rgb[(y * w + x) * 3:(y * w + x) * 3 + 3]
            v = 0
            for value, mask in zip((r, g, b), masks):
                shift = (mask & -mask).bit_length() - 1
                width = bin(mask).count("1")
                v |= ((value * ((1 << width) - 1) + 127) // 255) << shift
            row += struct.pack("<H" if bits == 16 else "<I", v)
        rows.append(bytes(row) + b"\0" * (stride - len(row)))
    return rows


w, h, rgb = raw_rgb("src.png")
stride24 = (w * 24 + 31) // 32 * 4
rows24 = [bytes(sum(([rgb[(y * w + x) * 3 + 2], rgb[(y * w + x) * 3 + 1], rgb[(y * w + x) * 3]]
                     for x in range(w)), [])) + b"\0" * (stride24 - w * 3) for y in range(h)]
# Top-down: negative height, first row on top.
open("bmp24-topdown.bmp", "wb").write(bmp(info40(w, -h, 24, 0, stride24 * h), b"", b"".join(rows24)))


def write_masked(name, bits, masks, size_field, compression=3):
    rows = pack(None, w, h, bits, masks, rgb)
    data = b"".join(reversed(rows))
    if size_field == 40:
        info = info40(w, h, bits, compression, len(data)) + b"".join(struct.pack("<I", m) for m in masks)
    else:
        info = info40(w, h, bits, compression, len(data), size_field=size_field, masks=masks)
    open(name, "wb").write(bmp(info, b"", data))


write_masked("bmp16-bgr555.bmp", 16, (0x1F, 0x3E0, 0x7C00), 40)
write_masked("bmp16-565-v52.bmp", 16, (0xF800, 0x7E0, 0x1F), 52)
# ImageMagick does not read the 52-byte header: the same pixels behind a
# 56-byte one give the expected pixels.
write_masked("v52-twin.tmp", 16, (0xF800, 0x7E0, 0x1F), 56)
write_masked("bmp32-bgr-v56.bmp", 32, (0xFF, 0xFF00, 0xFF0000), 56)
write_masked("bmp32-10bit-v108.bmp", 32, (0x3FF00000, 0xFFC00, 0x3FF), 108)

# RLE4 from the 4-bit picture: runs of equal pixels, absolute runs
# otherwise. Row 0 stops halfway (an end of line), row 1 starts with a
# delta over its left half, row 3 stops after 5 pixels with a delta one row
# down into row 4; the pixels skipped read as colour 0.
data = open("bmp4.bmp", "rb").read()
off = struct.unpack("<I", data[10:14])[0]
w4, h4 = struct.unpack("<ii", data[18:26])
palette = data[54:off]
stride4 = (w4 * 4 + 31) // 32 * 4
out = bytearray()


def encode(px):
    x = 0
    while x < len(px):
        n = 1
        while x + n < len(px) and n < 255 and px[x + n] == px[x]:
            n += 1
        if n >= 3 or len(px) - x < 3:
            out.extend(bytes([n, px[x] << 4 | px[x]]))
            x += n
            continue
        m = 3
        while x + m < len(px) and m < 40 and not (
                x + m + 2 < len(px) and px[x + m] == px[x + m + 1] == px[x + m + 2]):
            m += 1
        out.extend(bytes([0, m]))
        chunk = bytearray((m + 1) // 2)
        for i in range(m):
            chunk[i // 2] |= px[x + i] << (0 if i & 1 else 4)
        out.extend(chunk + (b"\0" if len(chunk) & 1 else b""))
        x += m


half = w4 // 2
rows = []
for y in range(h4):  # bottom row first, as stored
    row = data[off + y * stride4: off + (y + 1) * stride4]
    rows.append([(row[x // 2] >> (0 if x & 1 else 4)) & 15 for x in range(w4)])
for y in range(h4):
    px = rows[y]
    if y == 0:
        encode(px[:half])
    elif y == 1:
        out.extend(bytes([0, 2, half, 0]))
        encode(px[half:])
    elif y == 3:
        encode(px[:5])
        out.extend(bytes([0, 2, 0, 1]))
        continue
    elif y == 4:
        encode(px[5:])
    else:
        encode(px)
    out.extend(bytes([0, 0]))
out.extend(bytes([0, 1]))
info = info40(w4, h4, 4, 2, len(out), colours=len(palette) // 4)
open("bmp4-rle.bmp", "wb").write(bmp(info, palette, bytes(out)))

# An OS/2 core header with a 4-bit palette of colour triples.
core_palette = b"".join(palette[i:i + 3] for i in range(0, len(palette), 4))
pixels = data[off:off + stride4 * h4]
core = struct.pack("<IHHHH", 12, w4, h4, 1, 4)
open("bmp4-core.bmp", "wb").write(bmp(core, core_palette, pixels))
