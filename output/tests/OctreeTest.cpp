// Colour reduction by octree, and the GIF file written from a reduced page.

#include "TGifWriter.h"
#include "TOctree.h"
#include "TPageMem.h"
#include "TPen.h"

#include "RenderTestSupport.h"
#include "TestSupport.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <vector>

namespace {

// An image held in memory, row by row.
class VectorOctree : public TOctree
{
public:
  VectorOctree(int32_t width, std::vector<OctColour> pixels)
      : indices(pixels.size(), 0xFF), m_width(width), m_pixels(std::move(pixels))
  {
  }

  std::vector<OctColour> palette;
  std::vector<uint8_t> indices;
  std::vector<std::pair<int32_t, int32_t>> visits; // GetPixel's order in the first pass

protected:
  bool GetSize(int32_t& width, int32_t& height) override
  {
    width = m_width;
    height = static_cast<int32_t>(m_pixels.size()) / m_width;
    return true;
  }
  bool GetPixel(int32_t x, int32_t y, OctColour& colour) override
  {
    if (palette.empty())
      visits.emplace_back(x, y);
    colour = m_pixels[static_cast<size_t>(y * m_width + x)];
    return true;
  }
  bool SetPixelIndex(int32_t x, int32_t y, uint8_t index) override
  {
    indices[static_cast<size_t>(y * m_width + x)] = index;
    return true;
  }
  bool SetPalette(const OctColour* colours, int32_t count) override
  {
    palette.assign(colours, colours + count);
    return true;
  }

private:
  int32_t m_width;
  std::vector<OctColour> m_pixels;
};

std::vector<OctColour> Ramp(int count)
{
  std::vector<OctColour> pixels;
  for (int i = 0; i < count; ++i)
    pixels.push_back({static_cast<uint8_t>(i * 37), static_cast<uint8_t>(i * 11 + (i >> 8) * 50),
                      static_cast<uint8_t>(255 - i)});
  return pixels;
}

} // namespace

TEST(Octree, FewerColoursThanThePaletteComeOutExactlyInRowOrder)
{
  const std::vector<OctColour> colours = {
      {255, 0, 0}, {0, 0, 255}, {12, 34, 56}, {12, 34, 57}, {255, 255, 255}};
  std::vector<OctColour> pixels;
  for (int i = 0; i < 60; ++i)
    pixels.push_back(colours[static_cast<size_t>((i * 7) % 5)]);
  VectorOctree octree(12, pixels);
  ASSERT_TRUE(octree.Quantize(256, false));
  EXPECT_EQ(octree.ColorCount(), 5);
  ASSERT_EQ(octree.palette.size(), 5u);
  for (size_t i = 0; i < pixels.size(); ++i)
    EXPECT_EQ(octree.palette[octree.indices[i]], pixels[i]) << i;
  // Entries follow the tree's order: a depth-first walk, children by the
  // bits of red, green, blue.
  EXPECT_EQ(octree.palette.front(), (OctColour{12, 34, 56}));
  EXPECT_EQ(octree.palette[2], (OctColour{0, 0, 255}));
  EXPECT_EQ(octree.palette.back(), (OctColour{255, 255, 255}));
  // Row by row, left to right.
  ASSERT_GE(octree.visits.size(), 13u);
  EXPECT_EQ(octree.visits[11], std::make_pair(11, 0));
  EXPECT_EQ(octree.visits[12], std::make_pair(0, 1));
}

TEST(Octree, ThePaletteSizeAskedForIsClampedToTwoAndTwoHundredFiftySix)
{
  for (const auto& [asked, most] : {std::pair{0, 2}, {1, 2}, {2, 2}, {17, 17}, {300, 256}}) {
    VectorOctree octree(40, Ramp(400));
    ASSERT_TRUE(octree.Quantize(asked, false));
    EXPECT_LE(octree.ColorCount(), most) << asked;
    // Reduced that far, the root may take every colour alone.
    EXPECT_GE(octree.ColorCount(), 1) << asked;
    // Every pixel points at an entry that exists.
    for (const uint8_t index : octree.indices)
      EXPECT_LT(index, octree.ColorCount()) << asked;
  }
}

TEST(Octree, OnATieTheNodeThatBecameReducibleLastIsMerged)
{
  // Blue 0 and 1 share one node of the deepest level, 2 and 3 another; both
  // hold two pixels when the fourth leaf asks for a reduction to three.
  VectorOctree octree(4, {{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}});
  ASSERT_TRUE(octree.Quantize(3, false));
  EXPECT_EQ(octree.palette, (std::vector<OctColour>{{0, 0, 0}, {0, 0, 1}, {0, 0, 2}}));
  EXPECT_EQ(octree.indices, (std::vector<uint8_t>{0, 1, 2, 2}));
  // The pair that became reducible first is merged when it holds fewer
  // pixels.
  VectorOctree fewer(5, {{0, 0, 2}, {0, 0, 3}, {0, 0, 0}, {0, 0, 0}, {0, 0, 1}});
  ASSERT_TRUE(fewer.Quantize(3, false));
  EXPECT_EQ(fewer.palette, (std::vector<OctColour>{{0, 0, 0}, {0, 0, 1}, {0, 0, 2}}));
  EXPECT_EQ(fewer.indices, (std::vector<uint8_t>{2, 2, 0, 0, 1}));
}

TEST(Octree, ALargeImageReducesToAPaletteThatStaysClose)
{
  // A smooth gradient of 65 536 colours: the reduction keeps every pixel
  // within a few levels of its colour.
  std::vector<OctColour> pixels;
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x)
      pixels.push_back({static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>((x + y) / 2)});
  VectorOctree octree(256, pixels);
  ASSERT_TRUE(octree.Quantize(256, true));
  EXPECT_EQ(octree.ColorCount(), 256);
  double squared = 0;
  for (size_t i = 0; i < pixels.size(); ++i) {
    const OctColour& got = octree.palette[octree.indices[i]];
    squared += std::pow(got.red - pixels[i].red, 2) + std::pow(got.green - pixels[i].green, 2) +
               std::pow(got.blue - pixels[i].blue, 2);
  }
  const double psnr = 10 * std::log10(255.0 * 255.0 / (squared / (3.0 * pixels.size())));
  EXPECT_GT(psnr, 30) << psnr;
}

namespace {

// Every pixel of a GIF file as 0x00RRGGBB, read with the library.
std::vector<uint32_t> ReadGif(const std::string& path, int& width, int& height)
{
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  std::vector<uint32_t> pixels;
  if (!gif)
    return pixels;
  if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
    const SavedImage& image = gif->SavedImages[0];
    const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    width = image.ImageDesc.Width;
    height = image.ImageDesc.Height;
    for (int i = 0; i < width * height; ++i) {
      const GifColorType& c = map->Colors[image.RasterBits[i]];
      pixels.push_back(uint32_t{c.Red} << 16 | uint32_t{c.Green} << 8 | c.Blue);
    }
  }
  DGifCloseFile(gif, &error);
  return pixels;
}

} // namespace

TEST(GifExport, APageOfFewColoursIsWrittenExactlyAndAFailedWriteLeavesNothing)
{
  using namespace palette;
  TempDir dir;
  TPageMem page(120, 80, 100);
  page.SelectPen(TPen(kRed, 3, TPen::kSolid));
  page.SelectBrush(Solid(kYellow));
  page.Rectangle(TRect(10, 10, 60, 50));
  page.SelectPen(TPen(kBlue, 0, TPen::kSolid));
  page.Line(0, 70, 119, 70);
  const std::string path = dir.File("page.gif");
  std::string error;
  ASSERT_TRUE(page.ExportGif(path, &error)) << error;
  int width = 0, height = 0;
  const std::vector<uint32_t> pixels = ReadGif(path, width, height);
  ASSERT_EQ(width, 120);
  ASSERT_EQ(height, 80);
  // Antialiased corners make a few dozen colours: still fewer than 256, so
  // every pixel is exact.
  std::set<uint32_t> distinct;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      distinct.insert(page.GetPixel(x, y));
      ASSERT_EQ(pixels[static_cast<size_t>(y * width + x)], page.GetPixel(x, y)) << x << "," << y;
    }
  ASSERT_LT(distinct.size(), 256u);
  // The indexed view is gone again.
  uint8_t row[120];
  ASSERT_TRUE(page.GetRow8(row, 20));

  const std::string missing = dir.File("no such folder/page.gif");
  EXPECT_FALSE(page.ExportGif(missing, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(std::filesystem::exists(missing));
  EXPECT_TRUE(TGifWriter::IsAvailable());
}
