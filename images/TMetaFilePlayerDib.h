#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>

// The device-independent bitmaps that metafile records carry: a bitmap
// header (the 12-byte core form or the 40-byte information form and its
// larger successors), a colour table, then the pixel rows. Every size is
// checked against the bytes the record holds before anything is allocated.
struct MetafileDib
{
  enum Status {
    kOk,
    kUnsupported, // well formed but of a kind not drawn (compressed rows)
    kMalformed,   // sizes that do not fit the record, or an impossible header
  };
  Status status = kMalformed;
  QImage image;         // top row first, opaque
  bool bottomUp = true; // rows were stored bottom row first
};

// Decodes the bitmap in data (size bytes, up to the end of its record).
// usage 1 means the colour table holds 16-bit palette indices instead of
// colours; those are shown as shades of grey. Bitmaps of more than
// maxPixels pixels count as malformed: no picture a page shows needs them.
MetafileDib DecodeMetafileDib(const uint8_t* data, size_t size, uint16_t usage, int64_t maxPixels);

// Decodes the device-dependent bitmap of the oldest blitting records: a
// 10-byte header (type, width, height, bytes per row, planes, bits per
// pixel), then the rows top down. One plane of 1 bit (0 shows as
// foreground, 1 as background, both 0x00BBGGRR), 24 or 32 bits are drawn;
// other layouts are unsupported.
MetafileDib DecodeMetafileBitmap16(const uint8_t* data, size_t size, uint32_t foreground, uint32_t background,
                                   int64_t maxPixels);
