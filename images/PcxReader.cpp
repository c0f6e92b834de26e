// The PCX reader: a 128-byte header, then each line run-length coded as
// planes x bytesPerLine bytes; 8-bit files keep their palette in the last
// 769 bytes (the marker 12, then 256 colours).

#include "ImageReaders.h"

#include "ReaderSupport.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace readers;

namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kTrailingPalette = 769;
constexpr uint8_t kPaletteMarker = 12;
// A run byte and its value give at most 63 bytes.
constexpr uint64_t kMaxRunExpansion = 63;

// What 1- and 4-bit files without a palette of their own are shown with.
constexpr uint8_t kDefaultPalette[16 * 3] = {
    0,   0,   0,   0, 0, 128, 0, 128, 0, 0, 128, 128, 128, 0, 0, 128, 0, 128, 128, 128, 0, 192, 192, 192,
    128, 128, 128, 0, 0, 255, 0, 255, 0, 0, 255, 255, 255, 0, 0, 255, 0, 255, 255, 255, 0, 255, 255, 255,
};

// Expands the run-length code into whole lines. A run never writes past
// its line; what is left of it carries over into the next, as some
// writers run on across the ends of lines.
class RunDecoder
{
public:
  RunDecoder(const uint8_t* data, const uint8_t* end) : m_p(data), m_end(end) {}
  // Fills line (count bytes); false when the data ended first, the rest of
  // the line left zero.
  bool Line(uint8_t* line, size_t count)
  {
    std::memset(line, 0, count);
    size_t n = 0;
    while (n < count) {
      if (m_pending > 0) {
        const size_t take = std::min<size_t>(m_pending, count - n);
        std::memset(line + n, m_value, take);
        n += take;
        m_pending -= static_cast<uint8_t>(take);
        continue;
      }
      if (m_p >= m_end)
        return false;
      const uint8_t b = *m_p++;
      if ((b & 0xC0) != 0xC0) {
        line[n++] = b;
        continue;
      }
      if (m_p >= m_end)
        return false;
      m_pending = b & 0x3F;
      m_value = *m_p++;
    }
    return true;
  }

private:
  const uint8_t* m_p;
  const uint8_t* m_end;
  uint8_t m_pending = 0;
  uint8_t m_value = 0;
};

void SetSmallPalette(TImageBuffer& buffer, const uint8_t* header)
{
  const uint8_t version = header[1];
  const uint16_t paletteInfo = Word(header, 68);
  const uint8_t* own = header + 16;
  // A two-colour file whose header gives both colours alike (a zeroed
  // palette, as many writers leave it) is black and white as well.
  const bool useless = buffer.ColorsUsed() == 2 && std::memcmp(own, own + 3, 3) == 0;
  if (paletteInfo != 0 && version >= 4 && !useless) {
    buffer.SetPaletteColors(own, 16);
    return;
  }
  uint8_t rgb[16 * 3];
  const uint32_t fromDefault = (buffer.ColorsUsed() - 1) & 15;
  std::memcpy(rgb, kDefaultPalette, sizeof rgb);
  rgb[fromDefault * 3] = rgb[fromDefault * 3 + 1] = rgb[fromDefault * 3 + 2] = 255;
  buffer.SetPaletteColors(rgb, static_cast<int32_t>(fromDefault + 1));
}

} // namespace

ImageReadResult ReadPcx(const uint8_t* data, size_t size)
{
  if (!data || size < 1 || data[0] != 10)
    return Refuse(IDS_IMAGE_NOT_THIS_KIND);
  if (size < kHeaderSize)
    return Refuse(IDS_IMAGE_TRUNCATED);
  const uint8_t bits = data[3], planes = data[65];
  const uint16_t xMin = Word(data, 4), yMin = Word(data, 6), xMax = Word(data, 8), yMax = Word(data, 10);
  const uint16_t bytesPerLine = Word(data, 66);
  if (xMax < xMin || yMax < yMin)
    return Refuse(IDS_IMAGE_BAD_DIMENSIONS);
  const int32_t width = xMax - xMin + 1, height = yMax - yMin + 1;
  int32_t outBits;
  if (planes == 1 && (bits == 1 || bits == 4 || bits == 8))
    outBits = bits;
  else if (planes == 4 && bits == 1)
    outBits = 4;
  else if (planes == 3 && bits == 8)
    outBits = 24;
  else
    return Refuse(IDS_IMAGE_UNSUPPORTED);
  // Each plane's line must hold the width's pixels.
  if (uint32_t{bytesPerLine} * 8 < uint32_t(width) * bits)
    return Refuse(IDS_IMAGE_DAMAGED);
  if (!TImageBuffer::Fits(width, height, outBits))
    return Refuse(IDS_IMAGE_TOO_LARGE);

  size_t end = size;
  const bool trailingPalette = outBits == 8 && size >= kHeaderSize + kTrailingPalette &&
                               data[size - kTrailingPalette] == kPaletteMarker;
  if (trailingPalette)
    end = size - kTrailingPalette;
  const size_t lineBytes = size_t{planes} * bytesPerLine;
  if (uint64_t{lineBytes} * uint32_t(height) > kMaxRunExpansion * (end - kHeaderSize))
    return Refuse(IDS_IMAGE_TRUNCATED);

  auto buffer = NewBuffer(width, height, outBits);
  if (!buffer)
    return Refuse(IDS_IMAGE_TOO_LARGE);
  if (outBits <= 4)
    SetSmallPalette(*buffer, data);
  else if (trailingPalette)
    buffer->SetPaletteColors(data + size - kTrailingPalette + 1, 256);
  else
    SetGreyRamp(*buffer); // no palette: the values are shades of grey

  std::vector<uint8_t> line(lineBytes);
  RunDecoder runs(data + kHeaderSize, data + end);
  for (int32_t y = 0; y < height; ++y) {
    // A line the data does not finish is shown as far as it goes; the rows
    // after it stay blank.
    const bool whole = runs.Line(line.data(), lineBytes);
    uint8_t* row = buffer->Row(y);
    if (planes == 1) {
      std::memcpy(row, line.data(), std::min<size_t>(bytesPerLine, buffer->RowStride()));
    } else if (planes == 4) {
      for (int32_t x = 0; x < width; ++x) {
        uint8_t v = 0;
        for (int p = 0; p < 4; ++p)
          v |= ((line[size_t(p) * bytesPerLine + x / 8] >> (7 - x % 8)) & 1) << p;
        row[x / 2] |= (x & 1) ? v : v << 4;
      }
    } else {
      for (int32_t x = 0; x < width; ++x) {
        row[x * 3 + 0] = line[size_t{bytesPerLine} * 2 + x];
        row[x * 3 + 1] = line[size_t{bytesPerLine} + x];
        row[x * 3 + 2] = line[x];
      }
    }
    if (!whole)
      break;
  }
  return Accept(std::move(buffer));
}
