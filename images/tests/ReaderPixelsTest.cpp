// Every fixture decodes to the pixels an independent decoder reads from the
// same file, at the depth the buffer is meant to keep.

#include "ReaderFixtures.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
  const char* name;
  int32_t bits; // the depth the buffer keeps
  // Per channel: ImageMagick narrows wide samples by truncating where the
  // readers round, and composes alpha in its own arithmetic.
  int tolerance = 0;
};

void PrintTo(const Case& c, std::ostream* out)
{
  *out << c.name;
}

class ReaderPixels : public ::testing::TestWithParam<Case>
{
};

TEST_P(ReaderPixels, MatchIndependentDecoder)
{
  const Case& c = GetParam();
  const std::vector<uint8_t> bytes = FixtureBytes(c.name);
  ASSERT_FALSE(bytes.empty()) << c.name;
  const ImageReadResult result = ReadAs(KindOfPath(c.name), bytes);
  ASSERT_TRUE(result.buffer) << c.name << " refused: " << result.error;
  EXPECT_EQ(result.error, 0u);
  EXPECT_EQ(result.buffer->BitsPerPixel(), c.bits) << c.name;
  const QImage expected = FixturePixels(c.name);
  ASSERT_FALSE(expected.isNull()) << c.name;
  const ImageDiff diff = CompareImages(result.buffer->Picture(false), expected, c.tolerance);
  EXPECT_TRUE(diff.same) << c.name << ": " << diff.message;
}

const Case kBmp[] = {
    {"bmp1.bmp", 1},           {"bmp4.bmp", 4},
    {"bmp4-core.bmp", 4},      {"bmp4-rle.bmp", 4},
    {"bmp8.bmp", 8},           {"bmp8-rle.bmp", 8},
    {"bmp16-555.bmp", 16},     {"bmp16-565.bmp", 24},
    {"bmp16-565-v52.bmp", 24}, {"bmp16-bgr555.bmp", 24},
    {"bmp24.bmp", 24},         {"bmp24-core.bmp", 24},
    {"bmp24-topdown.bmp", 24}, {"bmp32.bmp", 32},
    {"bmp32-bgr-v56.bmp", 24}, {"bmp32-10bit-v108.bmp", 24, 1},
};
INSTANTIATE_TEST_SUITE_P(Bmp, ReaderPixels, ::testing::ValuesIn(kBmp));

const Case kPng[] = {
    {"png-grey1.png", 1},
    {"png-grey2.png", 8},
    {"png-grey4.png", 4},
    {"png-grey8.png", 8},
    {"png-grey16.png", 8, 1},
    {"png-greyalpha8.png", 8, 1},
    {"png-greyalpha16.png", 8, 1},
    {"png-grey8-trns.png", 8},
    {"png-grey4-trns.png", 8},
    {"png-rgb8.png", 24},
    {"png-rgb16.png", 24, 1},
    {"png-rgb8-interlaced.png", 24},
    {"png-rgb8-trns.png", 24},
    {"png-rgba8.png", 24, 1},
    {"png-rgba8-bkgd.png", 24, 1},
    {"png-rgba16-interlaced.png", 24, 1},
    {"png-pal1.png", 1},
    {"png-pal2.png", 8},
    {"png-pal4.png", 4},
    {"png-pal8.png", 8},
    {"png-pal4-trns-bkgd.png", 4, 2},
};
INSTANTIATE_TEST_SUITE_P(Png, ReaderPixels, ::testing::ValuesIn(kPng));

const Case kPcx[] = {
    {"pcx1.pcx", 1},        {"pcx4.pcx", 4}, {"pcx4-planes.pcx", 4},
    {"pcx4-across.pcx", 4}, {"pcx8.pcx", 8}, {"pcx24.pcx", 24},
};
INSTANTIATE_TEST_SUITE_P(Pcx, ReaderPixels, ::testing::ValuesIn(kPcx));

// The same library decodes for both, but not necessarily with the same
// settings: a step of the inverse transform's rounding is allowed.
const Case kJpeg[] = {
    {"jpeg-colour.jpg", 24, 2},
    {"jpeg-grey.jpg", 8, 2},
    {"jpeg-progressive.jpg", 24, 2},
    {"jpeg-cmyk.jpg", 24, 2},
};
INSTANTIATE_TEST_SUITE_P(Jpeg, ReaderPixels, ::testing::ValuesIn(kJpeg));

const Case kGif[] = {
    {"gif.gif", 8},        {"gif-interlaced.gif", 8}, {"gif-transparent.gif", 8},
    {"gif-offset.gif", 8}, {"gif-animated.gif", 8},
};
INSTANTIATE_TEST_SUITE_P(Gif, ReaderPixels, ::testing::ValuesIn(kGif));

} // namespace
