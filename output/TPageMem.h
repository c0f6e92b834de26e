#pragma once

#include "TPage.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A page drawn into an image in memory, for raster export and the
// clipboard. The image is the extent (width x height logical units) at the
// given zoom, white to begin with; writers pull it out row by row.
//
// Colours handed out follow the stored-colour conventions of the export
// code: a pixel or palette entry is 0x00RRGGBB (blue in the low byte); the
// 24-bit rows writers receive are red, green, blue bytes, top row first.
class TPageMem : public TPage
{
public:
  // Largest width or height of the image, and its largest pixel count
  // (256 Mi pixels, 1 GiB of memory): beyond them there is no image and
  // every export fails.
  static constexpr int32_t kMaxSide = 65535;
  static constexpr int64_t kMaxPixels = int64_t{1} << 28;

  // The zoom is clamped to 1..1000; the image is round(width x zoom / 100)
  // by round(height x zoom / 100) pixels.
  TPageMem(int32_t width, int32_t height, int32_t zoomPercent);
  ~TPageMem() override;
  TPageMem(const TPageMem&) = delete;
  TPageMem& operator=(const TPageMem&) = delete;

  bool HasBitmap() const { return !m_image.isNull(); }
  // The image itself (its painter is active while the page is bound).
  const QImage& Image() const { return m_image; }
  // Image size in pixels.
  void GetSize(uint32_t& width, uint32_t& height) const;

  // Draws into the image what draw paints on a copy of this page, recorded
  // here and drawn in bands on every core (see PaintOnCores in
  // BandedPaint.h; threads as there). False when the work was given up
  // before the picture was whole.
  bool PaintOnCores(const std::function<void(TPage&)>& draw, int threads = 0);

  // One pixel as 0x00RRGGBB; 0 (black) outside the image.
  uint32_t GetPixel(int32_t x, int32_t y) const;
  // Row y as red, green, blue bytes; false without an image, for a null
  // buffer or a row outside the image.
  bool GetRow24(uint8_t* row, int32_t y) const;
  // Row y as palette indices: copied from the index buffer when there is
  // one, otherwise each pixel's nearest colour of the fixed 6 x 7 x 6 cube
  // that GetPalette then describes.
  bool GetRow8(uint8_t* row, int32_t y) const;

  // The indexed view used by colour reduction: a palette of 256 zeroed
  // entries (kept if present) and a fresh zeroed index per pixel.
  bool AllocIndexed();
  bool FreeIndexed();
  bool SetPixelIndex(int32_t x, int32_t y, uint8_t index);
  bool SetPaletteEntry(int32_t i, uint32_t colour);
  // 256 entries as 0x00RRGGBB (quads) and as red, green, blue triples (rgb);
  // either may be null. Without a palette, the fixed cube of GetRow8.
  void GetPalette(uint32_t* quads, uint8_t* rgb) const;

  // transparentColour: -1 for none, otherwise 0x00BBGGRR. True when the
  // file was written completely; a failed write leaves no file behind.
  // error (may be null) receives why the file could not be written, when
  // the file is to blame.
  bool ExportPng(const std::string& fileName, int32_t transparentColour, std::string* error = nullptr);
  bool ExportJpeg(const std::string& fileName, int32_t quality, std::string* error = nullptr);
  // Reduces the image to 256 colours and writes it as GIF.
  bool ExportGif(const std::string& fileName, std::string* error = nullptr);

private:
  uint32_t Pixel(int32_t x, int32_t y) const;

  QImage m_image;
  std::optional<std::array<uint32_t, 256>> m_palette;
  std::vector<uint8_t> m_indexBuffer;
};
