#include "TImageBuffer.h"

#include "WmfFormat.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

TImageBuffer::TImageBuffer(std::string name) : m_name(std::move(name)) {}

TImageBuffer::~TImageBuffer() = default;

uint32_t TImageBuffer::ColorsFor(int32_t bits)
{
  switch (bits) {
  case 1:
    return 2;
  case 4:
    return 16;
  case 8:
    return 256;
  default:
    return 0;
  }
}

uint32_t TImageBuffer::RowStrideFor(int32_t width, int32_t bits)
{
  if (width < 1 || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
    return 0;
  const uint64_t stride =
      (uint64_t{static_cast<uint32_t>(width)} * static_cast<uint32_t>(bits) + 31) / 32 * 4;
  return stride > kMaxBytes ? 0 : static_cast<uint32_t>(stride);
}

bool TImageBuffer::Fits(int32_t width, int32_t height, int32_t bits)
{
  const uint32_t stride = RowStrideFor(width, bits);
  if (stride == 0 || height < 1)
    return false;
  // The spare row counts too.
  return uint64_t{stride} * (uint64_t{static_cast<uint32_t>(height)} + 1) <= kMaxBytes;
}

bool TImageBuffer::Create(int32_t width, int32_t height, int32_t bits)
{
  Clear();
  if (!Fits(width, height, bits))
    return false;
  const uint32_t stride = RowStrideFor(width, bits);
  try {
    m_bits.assign(size_t{stride} * (static_cast<size_t>(height) + 1), 0);
    m_palette.assign(size_t{ColorsFor(bits)} * 4, 0);
  } catch (const std::bad_alloc&) {
    Clear();
    return false;
  }
  m_width = width;
  m_height = height;
  m_bitsPerPixel = bits;
  m_rowStride = stride;
  m_colorsUsed = ColorsFor(bits);
  return true;
}

int32_t TImageBuffer::SetPaletteColors(const uint8_t* rgb, int32_t count)
{
  if (!rgb || count <= 0)
    return 0;
  const int32_t n = std::min<int32_t>(count, static_cast<int32_t>(m_colorsUsed));
  for (int32_t i = 0; i < n; ++i) {
    m_palette[size_t(i) * 4 + 0] = rgb[i * 3 + 2];
    m_palette[size_t(i) * 4 + 1] = rgb[i * 3 + 1];
    m_palette[size_t(i) * 4 + 2] = rgb[i * 3 + 0];
    m_palette[size_t(i) * 4 + 3] = 0;
  }
  m_picture = QImage();
  m_transparentPicture = QImage();
  return n;
}

bool TImageBuffer::SetMetafile(const uint8_t* placeable, std::vector<uint8_t> records)
{
  Clear();
  if (!placeable || wmf::GetDword(placeable) != wmf::kPlaceableKey || records.empty())
    return false;
  std::memcpy(m_placeable, placeable, kPlaceableSize);
  m_records = std::move(records);
  const int32_t width = std::abs(MetaRight() - MetaLeft());
  const int32_t height = std::abs(MetaBottom() - MetaTop());
  // An empty frame in the header still gives the picture a size to show.
  m_width = width == 0 ? 100 : width;
  m_height = height == 0 ? 100 : height;
  m_bitsPerPixel = 24;
  return true;
}

void TImageBuffer::Clear()
{
  m_width = m_height = m_bitsPerPixel = 0;
  m_rowStride = m_colorsUsed = 0;
  std::vector<uint8_t>().swap(m_bits);
  std::vector<uint8_t>().swap(m_palette);
  std::vector<uint8_t>().swap(m_records);
  std::memset(m_placeable, 0, sizeof m_placeable);
  m_picture = QImage();
  m_transparentPicture = QImage();
}

bool TImageBuffer::AddRef()
{
  if (m_refCount >= kMaxReferences)
    return false;
  ++m_refCount;
  return true;
}

uint16_t TImageBuffer::Release()
{
  if (m_refCount == 0)
    return 0;
  return --m_refCount;
}

uint8_t* TImageBuffer::Row(int32_t y)
{
  if (m_bits.empty() || y < 0 || y >= m_height)
    return nullptr;
  return m_bits.data() + size_t{m_rowStride} * static_cast<size_t>(m_height - 1 - y);
}

const uint8_t* TImageBuffer::Row(int32_t y) const
{
  return const_cast<TImageBuffer*>(this)->Row(y);
}

int16_t TImageBuffer::MetaLeft() const
{
  return static_cast<int16_t>(wmf::GetWord(m_placeable + 6));
}

int16_t TImageBuffer::MetaTop() const
{
  return static_cast<int16_t>(wmf::GetWord(m_placeable + 8));
}

int16_t TImageBuffer::MetaRight() const
{
  return static_cast<int16_t>(wmf::GetWord(m_placeable + 10));
}

int16_t TImageBuffer::MetaBottom() const
{
  return static_cast<int16_t>(wmf::GetWord(m_placeable + 12));
}

uint64_t TImageBuffer::MemorySize() const
{
  if (IsMetafile())
    return m_records.size();
  return uint64_t{m_rowStride} * static_cast<uint32_t>(m_height);
}

namespace {

// 16-bit pixels without masks are 5 bits each of red, green and blue.
QRgb From555(uint16_t v)
{
  const int r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
  return qRgb((r << 3) | (r >> 2), (g << 3) | (g >> 2), (b << 3) | (b >> 2));
}

} // namespace

const QImage& TImageBuffer::Picture(bool transparentWhite) const
{
  QImage& kept = transparentWhite ? m_transparentPicture : m_picture;
  if (!kept.isNull() || m_bits.empty())
    return kept;
  QImage image(m_width, m_height, transparentWhite ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (image.isNull())
    return kept; // out of memory: nothing is drawn
  QRgb colours[256] = {};
  for (uint32_t i = 0; i < m_colorsUsed; ++i)
    colours[i] = qRgb(m_palette[i * 4 + 2], m_palette[i * 4 + 1], m_palette[i * 4 + 0]);
  for (int32_t y = 0; y < m_height; ++y) {
    const uint8_t* row = Row(y);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int32_t x = 0; x < m_width; ++x) {
      QRgb c;
      switch (m_bitsPerPixel) {
      case 1:
        c = colours[(row[x >> 3] >> (7 - (x & 7))) & 1];
        break;
      case 4:
        c = colours[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
        break;
      case 8:
        c = colours[row[x]];
        break;
      case 16:
        c = From555(static_cast<uint16_t>(row[x * 2] | (row[x * 2 + 1] << 8)));
        break;
      case 24:
        c = qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
        break;
      default:
        c = qRgb(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
        break;
      }
      if (transparentWhite && (c & 0xFFFFFF) == 0xFFFFFF)
        c = 0;
      out[x] = c;
    }
  }
  kept = std::move(image);
  return kept;
}
