// The BMP reader: a 14-byte file header, an info header of one of the
// known sizes, the palette, then the pixel data at the file header's
// offset, uncompressed, run-length coded (8 and 4 bits) or packed by colour
// masks (16 and 32 bits).

#include "ImageReaders.h"

#include "ReaderSupport.h"

#include <algorithm>
#include <bit>
#include <cstring>

using namespace readers;

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint64_t kMaxRlePixelsPerByte = 16384;

enum Compression : uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,
  kAlphaBitFields = 6,
};

// One colour channel packed into a pixel by a mask of contiguous bits,
// widened or narrowed to 8 bits.
class Channel
{
public:
  // False for an empty mask or one whose bits are not contiguous.
  bool Set(uint32_t mask)
  {
    if (mask == 0)
      return false;
    m_shift = std::countr_zero(mask);
    m_bits = std::popcount(mask);
    if (m_bits < 32 && (mask >> m_shift) != (uint32_t{1} << m_bits) - 1)
      return false;
    m_mask = mask;
    // Fewer than 8 bits repeat their pattern downwards, so that the
    // largest value is 255 and 0 stays 0.
    if (m_bits < 8) {
      for (uint32_t v = 0; v < (uint32_t{1} << m_bits); ++v) {
        uint32_t wide = 0;
        int filled = 0;
        while (filled < 8) {
          wide = (wide << m_bits) | v;
          filled += m_bits;
        }
        m_widen[v] = static_cast<uint8_t>(wide >> (filled - 8));
      }
    }
    return true;
  }
  uint8_t Of(uint32_t pixel) const
  {
    const uint32_t v = (pixel & m_mask) >> m_shift;
    return m_bits < 8 ? m_widen[v] : static_cast<uint8_t>(v >> (m_bits - 8));
  }
  uint32_t Mask() const { return m_mask; }

private:
  uint32_t m_mask = 0;
  int m_shift = 0;
  int m_bits = 0;
  uint8_t m_widen[128] = {};
};

struct Header
{
  int32_t width = 0;
  int32_t height = 0; // rows, always positive
  bool topDown = false;
  int32_t bits = 0;
  uint32_t compression = kRgb;
  uint32_t colorsUsed = 0;
  uint32_t masks[3] = {}; // red, green, blue, when the file gives them
  size_t paletteStart = 0;
  size_t paletteEntrySize = 4;
};

// Sets each pixel of a run-length picture, clipped to the picture.
class RlePainter
{
public:
  RlePainter(TImageBuffer& buffer, bool fourBits) : m_buffer(buffer), m_fourBits(fourBits) {}
  void Put(uint8_t value)
  {
    if (m_x < uint64_t(m_buffer.Width()) && m_row < uint64_t(m_buffer.Height())) {
      // Rows count up from the bottom of the picture.
      uint8_t* row = m_buffer.Row(static_cast<int32_t>(m_buffer.Height() - 1 - m_row));
      if (!m_fourBits)
        row[m_x] = value;
      else if (m_x & 1)
        row[m_x / 2] = static_cast<uint8_t>((row[m_x / 2] & 0xF0) | (value & 15));
      else
        row[m_x / 2] = static_cast<uint8_t>((row[m_x / 2] & 0x0F) | (value << 4));
    }
    ++m_x;
  }
  bool RowFull() const { return m_x >= uint64_t(m_buffer.Width()); }
  void NextRow()
  {
    m_x = 0;
    ++m_row;
  }
  void Move(uint8_t dx, uint8_t dy)
  {
    m_x += dx;
    m_row += dy;
  }
  bool Done() const { return m_row >= uint64_t(m_buffer.Height()); }

private:
  TImageBuffer& m_buffer;
  bool m_fourBits;
  uint64_t m_x = 0;
  uint64_t m_row = 0;
};

// Runs, absolute runs, ends of line and deltas until the end of the
// bitmap or of the data; what the data does not reach stays colour 0.
void DecodeRle(const uint8_t* p, const uint8_t* end, TImageBuffer& buffer, bool fourBits)
{
  RlePainter painter(buffer, fourBits);
  while (end - p >= 2 && !painter.Done()) {
    const uint8_t count = p[0], value = p[1];
    p += 2;
    if (count > 0) {
      for (int i = 0; i < count && !painter.RowFull(); ++i)
        painter.Put(fourBits && (i & 1) ? value & 15 : fourBits ? value >> 4 : value);
      continue;
    }
    if (value == 0) {
      painter.NextRow();
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      if (end - p < 2)
        return;
      painter.Move(p[0], p[1]);
      p += 2;
    } else {
      const size_t bytes = fourBits ? (value + 1u) / 2 : value;
      const size_t present = std::min<size_t>(bytes, size_t(end - p));
      for (size_t i = 0; i < value && !painter.RowFull(); ++i) {
        const size_t at = fourBits ? i / 2 : i;
        if (at >= present)
          break;
        painter.Put(fourBits ? ((i & 1) ? p[at] & 15 : p[at] >> 4) : p[at]);
      }
      if (present < bytes)
        return;
      p += bytes + (bytes & 1); // absolute runs are padded to a word
    }
  }
}

uint32_t ReadHeader(const uint8_t* data, size_t size, Header& h)
{
  if (size < 2 || data[0] != 'B' || data[1] != 'M')
    return IDS_IMAGE_NOT_THIS_KIND;
  if (size < kFileHeaderSize + 4)
    return IDS_IMAGE_TRUNCATED;
  const uint32_t infoSize = Dword(data, 14);
  if (infoSize != 12 && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 &&
      infoSize != 124)
    return IDS_IMAGE_UNSUPPORTED;
  if (!Inside(size, kFileHeaderSize, infoSize))
    return IDS_IMAGE_TRUNCATED;
  const uint8_t* info = data + kFileHeaderSize;
  h.paletteStart = kFileHeaderSize + infoSize;
  int64_t height;
  if (infoSize == 12) {
    h.width = Word(info, 4);
    height = Word(info, 6);
    h.bits = Word(info, 10);
    h.paletteEntrySize = 3;
  } else {
    h.width = static_cast<int32_t>(Dword(info, 4));
    height = static_cast<int32_t>(Dword(info, 8));
    h.bits = Word(info, 14);
    h.compression = Dword(info, 16);
    h.colorsUsed = Dword(info, 32);
    const uint8_t* masks = info + 40;
    if (infoSize == 40 && (h.compression == kBitFields || h.compression == kAlphaBitFields)) {
      // The masks follow a short header.
      const size_t maskBytes = h.compression == kBitFields ? 12 : 16;
      if (!Inside(size, h.paletteStart, maskBytes))
        return IDS_IMAGE_TRUNCATED;
      masks = data + h.paletteStart;
      h.paletteStart += maskBytes;
    }
    if (infoSize > 40 || h.compression == kBitFields || h.compression == kAlphaBitFields)
      for (int i = 0; i < 3; ++i)
        h.masks[i] = Dword(masks, size_t(i) * 4);
  }
  if (h.width <= 0 || height == 0 || height == INT32_MIN)
    return IDS_IMAGE_BAD_DIMENSIONS;
  h.topDown = height < 0;
  h.height = static_cast<int32_t>(height < 0 ? -height : height);
  if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 && h.bits != 32)
    return IDS_IMAGE_UNSUPPORTED;
  switch (h.compression) {
  case kRgb:
    break;
  case kRle8:
  case kRle4:
    // Run-length pictures are always stored bottom-up.
    if (h.bits != (h.compression == kRle8 ? 8 : 4) || h.topDown)
      return IDS_IMAGE_DAMAGED;
    break;
  case kBitFields:
  case kAlphaBitFields:
    if (h.bits != 16 && h.bits != 32)
      return IDS_IMAGE_DAMAGED;
    break;
  default:
    return IDS_IMAGE_UNSUPPORTED;
  }
  return 0;
}

// The masks a plain 16- or 32-bit file implies, or the file's own, each
// checked: contiguous, inside the pixel, no two overlapping.
bool SetChannels(const Header& h, Channel channels[3])
{
  uint32_t masks[3] = {h.masks[0], h.masks[1], h.masks[2]};
  if (h.compression == kRgb) {
    if (h.bits == 16) {
      masks[0] = 0x7C00;
      masks[1] = 0x03E0;
      masks[2] = 0x001F;
    } else {
      masks[0] = 0xFF0000;
      masks[1] = 0x00FF00;
      masks[2] = 0x0000FF;
    }
  }
  const uint64_t all = h.bits == 16 ? 0xFFFF : 0xFFFFFFFF;
  for (int i = 0; i < 3; ++i)
    if (!channels[i].Set(masks[i]) || masks[i] > all)
      return false;
  return (masks[0] & masks[1]) == 0 && (masks[0] & masks[2]) == 0 && (masks[1] & masks[2]) == 0;
}

// Turns masked pixels into blue, green, red bytes; count pixels.
void MaskedToBgr(const uint8_t* in, uint8_t* out, size_t count, int bits, const Channel channels[3])
{
  for (size_t x = 0; x < count; ++x) {
    const uint32_t pixel = bits == 16 ? uint32_t{Word(in, x * 2)} : Dword(in, x * 4);
    out[x * 3 + 0] = channels[2].Of(pixel);
    out[x * 3 + 1] = channels[1].Of(pixel);
    out[x * 3 + 2] = channels[0].Of(pixel);
  }
}

} // namespace

ImageReadResult ReadBmp(const uint8_t* data, size_t size)
{
  if (!data)
    return Refuse(IDS_IMAGE_NOT_THIS_KIND);
  Header h;
  if (const uint32_t error = ReadHeader(data, size, h))
    return Refuse(error);

  Channel channels[3];
  int32_t outBits = h.bits;
  if (h.bits == 16 || h.bits == 32) {
    if (!SetChannels(h, channels))
      return Refuse(IDS_IMAGE_BAD_MASKS);
    // The buffer keeps 5-5-5 and 8-8-8 as they are; other masks become
    // plain blue, green, red.
    const bool plain = h.bits == 16 ? channels[0].Mask() == 0x7C00 && channels[1].Mask() == 0x03E0 &&
                                          channels[2].Mask() == 0x001F
                                    : channels[0].Mask() == 0xFF0000 && channels[1].Mask() == 0x00FF00 &&
                                          channels[2].Mask() == 0x0000FF;
    if (!plain)
      outBits = 24;
  }
  if (!TImageBuffer::Fits(h.width, h.height, outBits))
    return Refuse(IDS_IMAGE_TOO_LARGE);

  // The palette: as many entries as the file says, at most the depth's.
  const uint32_t offBits = Dword(data, 10);
  uint32_t colours = 0;
  if (h.bits <= 8) {
    const uint32_t most = uint32_t{1} << h.bits;
    colours = h.colorsUsed != 0 && h.colorsUsed <= most ? h.colorsUsed : most;
    // A palette never runs into the pixels.
    if (offBits > h.paletteStart)
      colours = std::min<uint64_t>(colours, (offBits - h.paletteStart) / h.paletteEntrySize);
    if (!Inside(size, h.paletteStart, uint64_t{colours} * h.paletteEntrySize))
      return Refuse(IDS_IMAGE_TRUNCATED);
  }
  const uint64_t pixelStart =
      offBits != 0 ? offBits : h.paletteStart + uint64_t{colours} * h.paletteEntrySize;
  if (pixelStart < kFileHeaderSize + 12 || pixelStart > size)
    return Refuse(IDS_IMAGE_BAD_OFFSET);
  const uint8_t* pixels = data + pixelStart;
  const size_t available = size - pixelStart;

  const uint64_t fileStride = (uint64_t{static_cast<uint32_t>(h.width)} * uint32_t(h.bits) + 31) / 32 * 4;
  if (h.compression == kRle8 || h.compression == kRle4) {
    // Each row needs an end of line (2 bytes) or a share of a delta (up to
    // 255 rows for 4 bytes); a row's pixels need runs (255 for 2 bytes) or
    // deltas. Even a picture whose every row is blank spends two bytes on a
    // row, so rows of up to 32 000 pixels stay under kMaxRlePixelsPerByte.
    // A file far too short for its size is refused before allocating.
    const uint64_t area = uint64_t(h.width) * uint64_t(h.height);
    if (uint64_t(h.height) > 64 * uint64_t{available} + 1 ||
        uint64_t(h.width) > 128 * uint64_t{available} + 1 ||
        area > kMaxRlePixelsPerByte * (uint64_t{available} + 1))
      return Refuse(IDS_IMAGE_TRUNCATED);
  } else if (2 * uint64_t{available} < fileStride * uint64_t(h.height)) {
    // A short last part is shown with its missing rows blank; a file
    // holding less than half its rows is refused.
    return Refuse(IDS_IMAGE_TRUNCATED);
  }

  auto buffer = NewBuffer(h.width, h.height, outBits);
  if (!buffer)
    return Refuse(IDS_IMAGE_TOO_LARGE);
  if (colours > 0) {
    uint8_t rgb[256 * 3];
    for (uint32_t i = 0; i < colours; ++i) {
      const uint8_t* entry = data + h.paletteStart + size_t{i} * h.paletteEntrySize;
      rgb[i * 3 + 0] = entry[2];
      rgb[i * 3 + 1] = entry[1];
      rgb[i * 3 + 2] = entry[0];
    }
    buffer->SetPaletteColors(rgb, static_cast<int32_t>(colours));
  }

  if (h.compression == kRle8 || h.compression == kRle4) {
    DecodeRle(pixels, pixels + available, *buffer, h.compression == kRle4);
    return Accept(std::move(buffer));
  }
  const size_t bytesPerPixel = size_t(h.bits) / 8;
  for (int32_t r = 0; r < h.height; ++r) {
    const uint64_t at = uint64_t(r) * fileStride;
    if (at >= available)
      break; // the rows the file does not hold stay blank
    const size_t present = static_cast<size_t>(std::min<uint64_t>(fileStride, available - at));
    uint8_t* row = buffer->Row(h.topDown ? r : h.height - 1 - r);
    if (outBits == h.bits)
      std::memcpy(row, pixels + at, present);
    else
      MaskedToBgr(pixels + at, row, std::min<size_t>(present / bytesPerPixel, size_t(h.width)), h.bits,
                  channels);
  }
  return Accept(std::move(buffer));
}
