#pragma once

// Pictures drawn into a memory page for the tests that look at pixels or
// compare them with the reviewed reference images of their data folder.
// Header only: it serves the test programs that link the output library.

#include "TBrush.h"
#include "TPageMem.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <string>

inline constexpr QRgb kWhitePixel = 0xFFFFFFFF;

// The colours the pictures are drawn in.
namespace palette {
inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kRed = 0x0000FF;
inline constexpr uint32_t kGreen = 0x00A000;
inline constexpr uint32_t kBlue = 0xFF0000;
inline constexpr uint32_t kYellow = 0x00FFFF;
} // namespace palette

// The reference image called name.
inline std::string Golden(const std::string& name)
{
  return std::string(VEKTA_TEST_DATA) + "/golden/" + name + ".png";
}

// What draw paints on a white page of width x height units shown at zoom
// percent.
inline QImage Render(int32_t width, int32_t height, int32_t zoom, const std::function<void(TPage&)>& draw)
{
  TPageMem page(width, height, zoom);
  draw(page);
  page.Release();
  return page.Image().copy();
}

inline QImage Render(int32_t width, int32_t height, const std::function<void(TPage&)>& draw)
{
  return Render(width, height, 100, draw);
}

inline TBrush Solid(uint32_t colour)
{
  TBrush brush;
  brush.SetStyle(TBrush::kSolid);
  brush.SetColor(colour);
  return brush;
}

inline TBrush Hatch(int32_t hatch, uint32_t colour)
{
  TBrush brush;
  brush.SetStyle(TBrush::kHatched);
  brush.SetHatch(hatch);
  brush.SetColor(colour);
  return brush;
}
