#include "TPageMem.h"

#include "BandedPaint.h"
#include "PageBinding.h"

#include "Geometry.h"
#include "TGifExport.h"
#include "TJpegExport.h"
#include "TPageMemOctree.h"
#include "TPngExport.h"

#include <algorithm>
#include <cstring>

namespace {

// The fixed colour cube of 8-bit rows: 6 levels of red, 7 of green, 6 of
// blue (252 colours; the last four palette entries are black).
constexpr int kCubeRed = 6;
constexpr int kCubeGreen = 7;
constexpr int kCubeBlue = 6;

int CubeLevel(int channel, int levels)
{
  return (channel * (levels - 1) + 127) / 255;
}

int CubeValue(int level, int levels)
{
  return (level * 255 + (levels - 1) / 2) / (levels - 1);
}

uint8_t CubeIndex(uint32_t rgb)
{
  const int r = CubeLevel((rgb >> 16) & 0xFF, kCubeRed);
  const int g = CubeLevel((rgb >> 8) & 0xFF, kCubeGreen);
  const int b = CubeLevel(rgb & 0xFF, kCubeBlue);
  return static_cast<uint8_t>((r * kCubeGreen + g) * kCubeBlue + b);
}

uint32_t CubeColour(int index)
{
  if (index >= kCubeRed * kCubeGreen * kCubeBlue)
    return 0;
  const int b = index % kCubeBlue;
  const int g = (index / kCubeBlue) % kCubeGreen;
  const int r = index / (kCubeBlue * kCubeGreen);
  return static_cast<uint32_t>(CubeValue(r, kCubeRed) << 16 | CubeValue(g, kCubeGreen) << 8 |
                               CubeValue(b, kCubeBlue));
}

int32_t ImageSide(int32_t extent, int32_t zoom)
{
  return zoom == 100 ? extent : MulDivRound(extent, zoom, 100);
}

} // namespace

TPageMem::TPageMem(int32_t width, int32_t height, int32_t zoomPercent)
{
  SetPaperSize(width, height);
  SetViewSize(width, height);
  const int32_t zoom = std::clamp(zoomPercent, 1, 1000);
  SetZoom(zoom);
  const int32_t w = ImageSide(width, zoom);
  const int32_t h = ImageSide(height, zoom);
  if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide || int64_t{w} * h > kMaxPixels)
    return;
  // An opaque format on which the raster operations of exclusive-or
  // drawing work.
  m_image = QImage(w, h, QImage::Format_RGB32);
  if (m_image.isNull())
    return;
  m_image.fill(Qt::white);
  BindPage(*this, &m_image, kMemory);
}

TPageMem::~TPageMem()
{
  // The painter must let go of the image before the image goes.
  Release();
}

void TPageMem::GetSize(uint32_t& width, uint32_t& height) const
{
  width = static_cast<uint32_t>(m_image.width());
  height = static_cast<uint32_t>(m_image.height());
}

bool TPageMem::PaintOnCores(const std::function<void(TPage&)>& draw, int threads)
{
  return ::PaintOnCores(*this, kMemory, m_image, draw, threads);
}

uint32_t TPageMem::Pixel(int32_t x, int32_t y) const
{
  return reinterpret_cast<const QRgb*>(m_image.constScanLine(y))[x] & 0x00FFFFFF;
}

uint32_t TPageMem::GetPixel(int32_t x, int32_t y) const
{
  if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height())
    return 0;
  return Pixel(x, y);
}

bool TPageMem::GetRow24(uint8_t* row, int32_t y) const
{
  if (!row || y < 0 || y >= m_image.height())
    return false;
  const QRgb* line = reinterpret_cast<const QRgb*>(m_image.constScanLine(y));
  for (int32_t x = 0; x < m_image.width(); ++x) {
    row[3 * x] = static_cast<uint8_t>(qRed(line[x]));
    row[3 * x + 1] = static_cast<uint8_t>(qGreen(line[x]));
    row[3 * x + 2] = static_cast<uint8_t>(qBlue(line[x]));
  }
  return true;
}

bool TPageMem::GetRow8(uint8_t* row, int32_t y) const
{
  if (!row || y < 0 || y >= m_image.height())
    return false;
  const size_t width = static_cast<size_t>(m_image.width());
  if (!m_indexBuffer.empty()) {
    std::memcpy(row, m_indexBuffer.data() + static_cast<size_t>(y) * width, width);
    return true;
  }
  for (int32_t x = 0; x < m_image.width(); ++x)
    row[x] = CubeIndex(Pixel(x, y));
  return true;
}

bool TPageMem::AllocIndexed()
{
  if (!m_palette)
    m_palette.emplace();
  m_palette->fill(0);
  m_indexBuffer.assign(static_cast<size_t>(m_image.width()) * static_cast<size_t>(m_image.height()), 0);
  return true;
}

bool TPageMem::FreeIndexed()
{
  m_palette.reset();
  m_indexBuffer.clear();
  m_indexBuffer.shrink_to_fit();
  return true;
}

bool TPageMem::SetPixelIndex(int32_t x, int32_t y, uint8_t index)
{
  if (m_indexBuffer.empty() || x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height())
    return false;
  m_indexBuffer[static_cast<size_t>(y) * static_cast<size_t>(m_image.width()) + static_cast<size_t>(x)] =
      index;
  return true;
}

bool TPageMem::SetPaletteEntry(int32_t i, uint32_t colour)
{
  if (!m_palette || i < 0 || i > 255)
    return false;
  (*m_palette)[static_cast<size_t>(i)] = colour & 0x00FFFFFF;
  return true;
}

void TPageMem::GetPalette(uint32_t* quads, uint8_t* rgb) const
{
  for (int i = 0; i < 256; ++i) {
    const uint32_t colour = m_palette ? (*m_palette)[static_cast<size_t>(i)] : CubeColour(i);
    if (quads)
      quads[i] = colour;
    if (rgb) {
      rgb[3 * i] = static_cast<uint8_t>(colour >> 16);
      rgb[3 * i + 1] = static_cast<uint8_t>(colour >> 8);
      rgb[3 * i + 2] = static_cast<uint8_t>(colour);
    }
  }
}

namespace {

// The writer's file error, when it has one, for the caller.
template <class Writer> bool Finish(Writer& writer, bool done, std::string* error)
{
  if (!done && error)
    *error = writer.FileError();
  return done;
}

} // namespace

bool TPageMem::ExportPng(const std::string& fileName, int32_t transparentColour, std::string* error)
{
  if (!HasBitmap())
    return false;
  TPngExport writer(this);
  if (!writer.SetSize(static_cast<uint32_t>(m_image.width()), static_cast<uint32_t>(m_image.height()), 24) ||
      !writer.Open(fileName))
    return Finish(writer, false, error);
  if (transparentColour != -1)
    writer.SetTransparent(static_cast<uint32_t>(transparentColour));
  writer.Write();
  return Finish(writer, writer.Close(), error);
}

bool TPageMem::ExportJpeg(const std::string& fileName, int32_t quality, std::string* error)
{
  if (!HasBitmap())
    return false;
  TJpegExport writer(this);
  if (!writer.SetSize(static_cast<uint32_t>(m_image.width()), static_cast<uint32_t>(m_image.height()), 24) ||
      !writer.Open(fileName))
    return Finish(writer, false, error);
  writer.Write(quality);
  return Finish(writer, writer.Close(), error);
}

bool TPageMem::ExportGif(const std::string& fileName, std::string* error)
{
  if (!HasBitmap() || !TGifWriter::IsAvailable())
    return false;
  TGifExport writer(this);
  if (!writer.SetSize(static_cast<uint32_t>(m_image.width()), static_cast<uint32_t>(m_image.height()), 8))
    return false;
  AllocIndexed();
  TPageMemOctree octree;
  // A failed reduction leaves the indices as far as they got; the file is
  // written all the same.
  octree.Attach(this, 256, false);
  bool done = false;
  if (writer.Open(fileName)) {
    writer.Write();
    done = writer.Close();
  }
  FreeIndexed();
  return Finish(writer, done, error);
}
