#include "TMetaFilePlayerDib.h"

#include "TImageBuffer.h"
#include "WmfFormat.h"

#include <array>
#include <bit>

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kRgb = 0;
constexpr uint32_t kBitFields = 3;

// One colour channel of a bit-field pixel, scaled to 0..255.
struct Channel
{
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;

  explicit Channel(uint32_t m) : mask(m)
  {
    if (mask == 0)
      return;
    shift = std::countr_zero(mask);
    max = mask >> shift;
  }
  uint32_t Value(uint32_t pixel) const
  {
    return max == 0 ? 0 : static_cast<uint32_t>(uint64_t{(pixel & mask) >> shift} * 255 / max);
  }
};

} // namespace

MetafileDib DecodeMetafileDib(const uint8_t* data, size_t size, uint16_t usage, int64_t maxPixels)
{
  MetafileDib dib;
  if (!data || size < 4)
    return dib;
  const uint32_t headerSize = wmf::GetDword(data);
  int64_t width = 0, height = 0;
  uint32_t bits = 0, compression = kRgb, colours = 0;
  bool core = false;
  if (headerSize == kCoreHeaderSize && size >= kCoreHeaderSize) {
    core = true;
    width = wmf::GetWord(data + 4);
    height = wmf::GetWord(data + 6);
    bits = wmf::GetWord(data + 10);
  } else if (headerSize >= kInfoHeaderSize && headerSize <= size) {
    width = static_cast<int32_t>(wmf::GetDword(data + 4));
    height = static_cast<int32_t>(wmf::GetDword(data + 8));
    bits = wmf::GetWord(data + 14);
    compression = wmf::GetDword(data + 16);
    colours = wmf::GetDword(data + 32);
  } else {
    return dib;
  }
  dib.bottomUp = height > 0;
  height = height < 0 ? -height : height;
  if (width < 1 || height < 1 || width > INT32_MAX || height > INT32_MAX || width * height > maxPixels)
    return dib;
  const auto w = static_cast<int32_t>(width);
  const auto h = static_cast<int32_t>(height);
  if (!TImageBuffer::Fits(w, h, static_cast<int32_t>(bits)))
    return dib;

  size_t at = headerSize;
  // Bit fields follow the 40-byte header as three masks; larger headers
  // hold them inside.
  std::array<uint32_t, 3> masks = {0x7C00, 0x03E0, 0x001F};
  if (bits == 32)
    masks = {0xFF0000, 0x00FF00, 0x0000FF};
  if (compression == kBitFields && (bits == 16 || bits == 32)) {
    const size_t maskAt = headerSize == kInfoHeaderSize ? at : kInfoHeaderSize;
    if (maskAt + 12 > size)
      return dib;
    for (int i = 0; i < 3; ++i)
      masks[static_cast<size_t>(i)] = wmf::GetDword(data + maskAt + 4 * static_cast<size_t>(i));
    if (headerSize == kInfoHeaderSize)
      at += 12;
  } else if (compression != kRgb) {
    dib.status = MetafileDib::kUnsupported;
    return dib;
  }

  // The colour table: the number the header names, else all a depth has.
  const uint32_t depthColours = TImageBuffer::ColorsFor(static_cast<int32_t>(bits));
  if (colours == 0)
    colours = depthColours;
  if (colours > 256 && depthColours != 0)
    return dib;
  if (colours > 0x10000)
    return dib;
  const size_t entry = usage == 1 ? 2 : core ? 3 : 4;
  if (size - at < size_t{colours} * entry)
    return dib;
  std::array<QRgb, 256> table{};
  for (uint32_t i = 0; i < std::min<uint32_t>(colours, 256); ++i) {
    const uint8_t* e = data + at + i * entry;
    if (usage == 1) {
      const int grey = wmf::GetWord(e) & 0xFF;
      table[i] = qRgb(grey, grey, grey);
    } else {
      table[i] = qRgb(e[2], e[1], e[0]);
    }
  }
  at += size_t{colours} * entry;

  const uint32_t stride = TImageBuffer::RowStrideFor(w, static_cast<int32_t>(bits));
  if ((size - at) / stride < static_cast<size_t>(h))
    return dib;
  QImage image(w, h, QImage::Format_RGB32);
  if (image.isNull()) {
    dib.status = MetafileDib::kUnsupported;
    return dib;
  }
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* row = data + at + size_t{stride} * static_cast<size_t>(dib.bottomUp ? h - 1 - y : y);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int32_t x = 0; x < w; ++x) {
      const auto ux = static_cast<uint32_t>(x);
      switch (bits) {
      case 1:
        out[x] = table[(row[ux / 8] >> (7 - ux % 8)) & 1];
        break;
      case 4:
        out[x] = table[(row[ux / 2] >> (ux % 2 == 0 ? 4 : 0)) & 0xF];
        break;
      case 8:
        out[x] = table[row[ux]];
        break;
      case 16: {
        const uint32_t p = wmf::GetWord(row + 2 * ux);
        out[x] = qRgb(static_cast<int>(red.Value(p)), static_cast<int>(green.Value(p)),
                      static_cast<int>(blue.Value(p)));
        break;
      }
      case 24:
        out[x] = qRgb(row[3 * ux + 2], row[3 * ux + 1], row[3 * ux]);
        break;
      default: {
        const uint32_t p = wmf::GetDword(row + 4 * ux);
        out[x] = qRgb(static_cast<int>(red.Value(p)), static_cast<int>(green.Value(p)),
                      static_cast<int>(blue.Value(p)));
        break;
      }
      }
    }
  }
  dib.image = std::move(image);
  dib.status = MetafileDib::kOk;
  return dib;
}

MetafileDib DecodeMetafileBitmap16(const uint8_t* data, size_t size, uint32_t foreground, uint32_t background,
                                   int64_t maxPixels)
{
  constexpr size_t kHeader = 10;
  MetafileDib bitmap;
  bitmap.bottomUp = false;
  if (!data || size < kHeader)
    return bitmap;
  const int32_t width = static_cast<int16_t>(wmf::GetWord(data + 2));
  const int32_t height = static_cast<int16_t>(wmf::GetWord(data + 4));
  const uint32_t stride = wmf::GetWord(data + 6);
  const uint8_t planes = data[8];
  const uint8_t bits = data[9];
  if (width < 1 || height < 1 || int64_t{width} * height > maxPixels)
    return bitmap;
  if (planes != 1 || (bits != 1 && bits != 24 && bits != 32)) {
    bitmap.status = MetafileDib::kUnsupported;
    return bitmap;
  }
  if (stride < (uint64_t{static_cast<uint32_t>(width)} * bits + 7) / 8 ||
      (size - kHeader) / stride < static_cast<size_t>(height))
    return bitmap;
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) {
    bitmap.status = MetafileDib::kUnsupported;
    return bitmap;
  }
  auto rgb = [](uint32_t colour) {
    return qRgb(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                static_cast<int>(colour >> 16 & 0xFF));
  };
  const QRgb zero = rgb(foreground), one = rgb(background);
  const size_t step = bits / 8;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = data + kHeader + size_t{stride} * static_cast<size_t>(y);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int32_t x = 0; x < width; ++x) {
      const auto ux = static_cast<size_t>(x);
      if (bits == 1)
        out[x] = (row[ux / 8] >> (7 - ux % 8) & 1) != 0 ? one : zero;
      else
        out[x] = qRgb(row[step * ux + 2], row[step * ux + 1], row[step * ux]);
    }
  }
  bitmap.image = std::move(image);
  bitmap.status = MetafileDib::kOk;
  return bitmap;
}
