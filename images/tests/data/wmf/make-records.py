#!/usr/bin/env python3
"""Writes records.wmf: a placeable metafile made by hand with the records
that vector editors' files leave out (fonts and texts with spacing arrays,
arcs, pies and chords, round rectangles, hatched brushes, bitmaps of 8 and
24 bits, a clip inside a saved state, an escape). Run once; the file is
committed with the reference picture make-references.sh draws of it."""

import struct

WIDTH, HEIGHT = 400, 300
records = []


def rec(function, *words, raw=b""):
    params = b"".join(struct.pack("<h" if w < 0 else "<H", w) for w in words) + raw
    if len(params) % 2:
        params += b"\0"
    records.append(struct.pack("<IH", 3 + len(params) // 2, function) + params)


def colour(rgb):
    r, g, b = rgb
    value = r | g << 8 | b << 16
    return value & 0xFFFF, value >> 16


def pen(style, width, rgb):
    rec(0x02FA, style, width, 0, *colour(rgb))


def brush(style, rgb, hatch=0):
    rec(0x02FC, style, *colour(rgb), hatch)


def font(height, weight, italic, face, escapement=0):
    name = face.encode("cp1252") + b"\0"
    raw = bytes([italic, 0, 0, 0, 0, 0, 0, 0]) + name
    rec(0x02FB, height & 0xFFFF, 0, escapement, escapement, weight, raw=raw)


def select(i):
    rec(0x012D, i)


def delete(i):
    rec(0x01F0, i)


def dib(bits, width, height, palette, rows):
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 0, 0, len(palette), 0)
    return header + b"".join(bytes([b, g, r, 0]) for r, g, b in palette) + rows


rec(0x0103, 8)  # anisotropic
rec(0x020B, 0, 0)  # window origin
rec(0x020C, HEIGHT, WIDTH)  # window extent
rec(0x0626, 15, 4, 1, 2)  # an escape, to be passed over
# Slots 0 to 2: a null pen, a white brush for the page, then the table fills up.
pen(5, 0, (0, 0, 0))
select(0)
brush(0, (255, 255, 255))
select(1)
rec(0x041B, HEIGHT, WIDTH, 0, 0)  # the page: white, so its size is what readers see
pen(0, 3, (192, 0, 0))  # 2
select(2)
brush(0, (255, 208, 0))  # 3
select(3)
rec(0x041B, 70, 110, 10, 10)  # rectangle
brush(2, (0, 80, 192), 5)  # 4: diagonal cross hatch
select(4)
rec(0x061C, 20, 30, 70, 220, 10, 130)  # round rectangle
brush(0, (0, 160, 64))  # 5
select(5)
rec(0x0418, 70, 330, 10, 240)  # ellipse
# Pie over (10, 90)-(110, 170), from the right (110, 130) round to the bottom (60, 170).
rec(0x081A, 170, 60, 130, 110, 170, 110, 90, 10)
rec(0x0830, 170, 130, 90, 230, 170, 230, 90, 130)  # chord over (130, 90)-(230, 170)
pen(0, 4, (0, 0, 160))  # 6
select(6)
rec(0x0817, 170, 250, 90, 350, 170, 350, 90, 250)  # arc over (250, 90)-(350, 170)
pen(2, 1, (0, 0, 0))  # 7: dotted
select(7)
rec(0x0214, 180, 10)  # move to
rec(0x0213, 180, 390)  # line to
pen(0, 2, (0, 128, 0))  # 8
select(8)
rec(0x0325, 4, 300, 190, 330, 230, 360, 190, 390, 230)  # polyline
brush(0, (160, 0, 160))  # 9
select(9)
rec(0x0324, 3, 250, 230, 290, 190, 290, 230)  # polygon
# Text: a spaced-out word with its own positions, then a bold one.
rec(0x0209, *colour((0, 0, 0)))  # text colour
rec(0x0102, 1)  # transparent background
rec(0x012E, 24)  # baseline
font(-28, 400, 0, "DejaVu Sans")  # 10
select(10)
word = "Café".encode("cp1252")
rec(0x0A32, 220, 10, len(word), 0, raw=word + struct.pack("<4h", 30, 30, 30, 30))
font(-24, 700, 1, "DejaVu Serif")  # 11
select(11)
rec(0x0209, *colour((192, 0, 0)))
text = b"Page"
rec(0x0521, len(text), raw=text + struct.pack("<hh", 260, 10))
# Bitmaps: an 8-bit 4 x 4 one and a 24-bit 2 x 2 one, stretched.
palette = [(255, 0, 0), (0, 160, 0), (0, 0, 255), (255, 255, 0)]
rows8 = b"".join(bytes([(x + y) % 4 for x in range(4)]) for y in range(4))
rec(0x0F43, 0x0020, 0x00CC, 0, 4, 4, 0, 0, 60, 80, 230, 140, raw=dib(8, 4, 4, palette, rows8))
rows24 = bytes([0, 0, 255, 255, 0, 0, 0, 0, 0, 255, 255, 0, 160, 0, 0, 0])
rec(0x0B41, 0x0020, 0x00CC, 2, 2, 0, 0, 60, 60, 230, 330, raw=dib(24, 2, 2, [], rows24))
# A clip held inside a saved state.
rec(0x001E)  # save
rec(0x0416, 300, 250, 240, 230)  # intersect clip (230, 240)-(250, 300)
select(5)
rec(0x0418, 310, 270, 230, 210)
rec(0x0127, -1)  # restore
for i in range(1, 12):
    delete(i)
rec(0x0000)

body = b"".join(records)
objects = 12
largest = max(len(r) // 2 for r in records)
header = struct.pack("<HHHIHIH", 1, 9, 0x0300, (18 + len(body)) // 2, objects, largest, 0)
placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, WIDTH, HEIGHT, 100, 0)
checksum = 0
for i in range(10):
    checksum ^= struct.unpack_from("<H", placeable, 2 * i)[0]
with open("records.wmf", "wb") as f:
    f.write(placeable + struct.pack("<H", checksum) + header + body)
