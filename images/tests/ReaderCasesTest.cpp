// What each reader does with the files that are not plain: damaged,
// hostile, cut short, or using the less common parts of their formats.

#include "ReaderFixtures.h"
#include "StringIds.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>

namespace {

void PutWord(std::vector<uint8_t>& b, size_t at, uint16_t v)
{
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void PutDword(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
  PutWord(b, at, static_cast<uint16_t>(v));
  PutWord(b, at + 2, static_cast<uint16_t>(v >> 16));
}

uint32_t Refusal(const ImageReadResult& r)
{
  return r.buffer ? 0 : r.error;
}

QRgb PixelAt(const TImageBuffer& buffer, int x, int y)
{
  return buffer.Picture(false).pixel(x, y) & 0xFFFFFF;
}

// A BMP of w x h pixels, 8 bits, RLE8, a grey palette, the codes given.
std::vector<uint8_t> Rle8Bmp(int32_t w, int32_t h, const std::vector<uint8_t>& codes)
{
  std::vector<uint8_t> b(14 + 40 + 256 * 4);
  b[0] = 'B';
  b[1] = 'M';
  PutDword(b, 10, static_cast<uint32_t>(b.size()));
  PutDword(b, 14, 40);
  PutDword(b, 18, static_cast<uint32_t>(w));
  PutDword(b, 22, static_cast<uint32_t>(h));
  PutWord(b, 26, 1);
  PutWord(b, 28, 8);
  PutDword(b, 30, 1);
  for (int i = 0; i < 256; ++i)
    b[54 + i * 4] = b[54 + i * 4 + 1] = b[54 + i * 4 + 2] = static_cast<uint8_t>(i);
  b.insert(b.end(), codes.begin(), codes.end());
  return b;
}

TEST(BmpReader, RefusesBadMasksDimensionsAndOffsetsWithTheirReason)
{
  const std::vector<uint8_t> good = FixtureBytes("bmp16-bgr555.bmp");
  ASSERT_TRUE(ReadBmp(good.data(), good.size()).buffer);
  auto masks = [&](uint32_t r, uint32_t g, uint32_t b) {
    std::vector<uint8_t> f = good;
    PutDword(f, 54, r);
    PutDword(f, 58, g);
    PutDword(f, 62, b);
    return Refusal(ReadBmp(f.data(), f.size()));
  };
  EXPECT_EQ(masks(0x7C00, 0x7C00, 0x1F), IDS_IMAGE_BAD_MASKS); // overlapping
  EXPECT_EQ(masks(0x5400, 0x3E0, 0x1F), IDS_IMAGE_BAD_MASKS);  // not contiguous
  EXPECT_EQ(masks(0, 0x3E0, 0x1F), IDS_IMAGE_BAD_MASKS);       // empty
  EXPECT_EQ(masks(0x70000, 0x3E0, 0x1F), IDS_IMAGE_BAD_MASKS); // outside 16 bits
  EXPECT_EQ(masks(0xFC00, 0x3E0, 0x1F), 0u);                   // six bits of red are fine

  std::vector<uint8_t> f = FixtureBytes("bmp24.bmp");
  auto with = [&](size_t at, uint32_t v) {
    std::vector<uint8_t> g = f;
    PutDword(g, at, v);
    return Refusal(ReadBmp(g.data(), g.size()));
  };
  EXPECT_EQ(with(18, 0), IDS_IMAGE_BAD_DIMENSIONS);
  EXPECT_EQ(with(22, 0x80000000), IDS_IMAGE_BAD_DIMENSIONS);
  EXPECT_EQ(with(10, 100000), IDS_IMAGE_BAD_OFFSET);
  EXPECT_EQ(with(14, 64), IDS_IMAGE_UNSUPPORTED); // an info header of no known size
  EXPECT_EQ(with(30, 4), IDS_IMAGE_UNSUPPORTED);  // embedded JPEG
  EXPECT_EQ(with(30, 1), IDS_IMAGE_DAMAGED);      // RLE8 at 24 bits
  std::vector<uint8_t> huge = f;                  // 100000 x 100000 pixels
  PutDword(huge, 18, 100000);
  PutDword(huge, 22, 100000);
  EXPECT_EQ(Refusal(ReadBmp(huge.data(), huge.size())), IDS_IMAGE_TOO_LARGE);
  // Thousands of rows declared, a few hundred bytes present: refused
  // before anything is allocated.
  EXPECT_EQ(with(22, 3000), IDS_IMAGE_TRUNCATED);
  f[0] = 'X';
  EXPECT_EQ(Refusal(ReadBmp(f.data(), f.size())), IDS_IMAGE_NOT_THIS_KIND);
}

TEST(BmpReader, AlphaBitFieldsAfterAShortHeaderGiveTheSamePixels)
{
  // Four masks after the 40-byte header instead of three: the alpha mask
  // takes four more bytes before the pixels.
  const std::vector<uint8_t> plain = FixtureBytes("bmp16-bgr555.bmp");
  std::vector<uint8_t> alpha = plain;
  const uint8_t noAlpha[4] = {0, 0, 0, 0};
  alpha.insert(alpha.begin() + 66, noAlpha, noAlpha + 4);
  PutDword(alpha, 30, 6);
  PutDword(alpha, 10, 70);
  const ImageReadResult a = ReadBmp(plain.data(), plain.size());
  const ImageReadResult b = ReadBmp(alpha.data(), alpha.size());
  ASSERT_TRUE(a.buffer);
  ASSERT_TRUE(b.buffer);
  EXPECT_TRUE(CompareImages(b.buffer->Picture(false), a.buffer->Picture(false), 0).same);
}

TEST(BmpReader, ShowsTheRowsOfAFileCutInItsLastPart)
{
  std::vector<uint8_t> f = FixtureBytes("bmp24.bmp");
  const ImageReadResult whole = ReadBmp(f.data(), f.size());
  ASSERT_TRUE(whole.buffer);
  const uint32_t stride = whole.buffer->RowStride();
  // Bottom-up: the top three rows are the last ones in the file.
  f.resize(f.size() - 3 * stride);
  const ImageReadResult cut = ReadBmp(f.data(), f.size());
  ASSERT_TRUE(cut.buffer);
  for (int y = 0; y < 13; ++y)
    EXPECT_EQ(std::memcmp(cut.buffer->Row(y),
                          y < 3 ? std::vector<uint8_t>(stride).data() : whole.buffer->Row(y), stride),
              0)
        << "row " << y;
}

TEST(BmpReader, RunsAndDeltasStayInsideThePicture)
{
  // A run far longer than the row, a delta far outside, an absolute run
  // past the end of the row, an end of line past the last row.
  const std::vector<uint8_t> codes = {255, 7, 0,   0,   0, 5, 1, 2, 3, 4, 5, 0,
                                      0,   2, 200, 200, 0, 0, 0, 0, 0, 0, 9, 9};
  const std::vector<uint8_t> f = Rle8Bmp(3, 2, codes);
  const ImageReadResult r = ReadBmp(f.data(), f.size());
  ASSERT_TRUE(r.buffer);
  const TImageBuffer& b = *r.buffer;
  // Row 1 from the top is the first stored.
  EXPECT_EQ(b.Row(1)[0], 7);
  EXPECT_EQ(b.Row(1)[2], 7);
  EXPECT_EQ(b.Row(0)[0], 1);
  EXPECT_EQ(b.Row(0)[2], 3);
  EXPECT_EQ(b.Row(0)[3], 0); // padding untouched
}

TEST(BmpReader, RunLengthPicturesFarLargerThanTheirCodesAreRefused)
{
  // 20000 x 20000 pixels from 400 bytes of ends of lines: refused before
  // 400 MB are allocated.
  const std::vector<uint8_t> f = Rle8Bmp(20000, 20000, std::vector<uint8_t>(400, 0));
  EXPECT_EQ(Refusal(ReadBmp(f.data(), f.size())), IDS_IMAGE_TRUNCATED);
  // Blank rows of a few thousand pixels, two bytes each, are fine.
  std::vector<uint8_t> codes(2 * 300, 0);
  codes.push_back(0);
  codes.push_back(1);
  const std::vector<uint8_t> g = Rle8Bmp(4000, 300, codes);
  EXPECT_TRUE(ReadBmp(g.data(), g.size()).buffer);
}

TEST(BmpReader, PaletteSizeFromTheFileNeverAboveTheDepths)
{
  std::vector<uint8_t> f = FixtureBytes("bmp1.bmp");
  PutDword(f, 46, 1000); // colours used, above the two of one bit
  const ImageReadResult r = ReadBmp(f.data(), f.size());
  ASSERT_TRUE(r.buffer);
  EXPECT_EQ(r.buffer->ColorsUsed(), 2u);
}

TEST(PcxReader, PalettesOfFilesWithoutTheirOwn)
{
  // A version 3 file has no palette of its own: the 16 standard colours,
  // the last one white.
  std::vector<uint8_t> f = FixtureBytes("pcx4.pcx");
  f[1] = 3;
  ImageReadResult r = ReadPcx(f.data(), f.size());
  ASSERT_TRUE(r.buffer);
  const uint8_t* p = r.buffer->Palette();
  EXPECT_EQ(p[1 * 4 + 2], 0); // entry 1: dark blue (0, 0, 128)
  EXPECT_EQ(p[1 * 4 + 0], 128);
  EXPECT_EQ(p[7 * 4 + 1], 192); // entry 7: light grey
  EXPECT_EQ(p[15 * 4 + 0], 255);
  EXPECT_EQ(p[15 * 4 + 2], 255);

  // A 1-bit file whose header palette is zeroed is black and white.
  f = FixtureBytes("pcx1.pcx");
  std::memset(f.data() + 16, 0, 48);
  r = ReadPcx(f.data(), f.size());
  ASSERT_TRUE(r.buffer);
  EXPECT_EQ(r.buffer->Palette()[0], 0);
  EXPECT_EQ(r.buffer->Palette()[4], 255);

  // An 8-bit file without the palette after its pixels shows greys.
  f = FixtureBytes("pcx8.pcx");
  f.resize(f.size() - 769);
  r = ReadPcx(f.data(), f.size());
  ASSERT_TRUE(r.buffer);
  EXPECT_EQ(r.buffer->Palette()[200 * 4], 200);
}

TEST(PcxReader, RefusesWhatItCannotShowWithTheReason)
{
  const std::vector<uint8_t> good = FixtureBytes("pcx4.pcx");
  auto with = [&](size_t at, uint16_t v, bool word) {
    std::vector<uint8_t> f = good;
    if (word)
      PutWord(f, at, v);
    else
      f[at] = static_cast<uint8_t>(v);
    return Refusal(ReadPcx(f.data(), f.size()));
  };
  EXPECT_EQ(with(65, 2, false), IDS_IMAGE_UNSUPPORTED);   // 4 bits x 2 planes
  EXPECT_EQ(with(3, 2, false), IDS_IMAGE_UNSUPPORTED);    // 2 bits x 1 plane
  EXPECT_EQ(with(66, 4, true), IDS_IMAGE_DAMAGED);        // lines too short for the width
  EXPECT_EQ(with(8, 0, true), 0u);                        // one pixel wide
  EXPECT_EQ(with(4, 40, true), IDS_IMAGE_BAD_DIMENSIONS); // xMin above xMax
  // 4000 lines of 2000 bytes could not come from 200 bytes of runs.
  std::vector<uint8_t> f = good;
  PutWord(f, 8, 3999);
  PutWord(f, 10, 3999);
  PutWord(f, 66, 2000);
  f.resize(328);
  EXPECT_EQ(Refusal(ReadPcx(f.data(), f.size())), IDS_IMAGE_TRUNCATED);
  EXPECT_EQ(Refusal(ReadPcx(good.data(), 100)), IDS_IMAGE_TRUNCATED);
}

TEST(PngReader, RefusesCutDamagedAndImpossibleFiles)
{
  std::vector<uint8_t> f = FixtureBytes("png-rgb8.png");
  EXPECT_EQ(Refusal(ReadPng(f.data(), f.size() / 2)), IDS_IMAGE_TRUNCATED);
  std::vector<uint8_t> g = f;
  g[20] ^= 1; // the header's check sum no longer matches
  EXPECT_EQ(Refusal(ReadPng(g.data(), g.size())), IDS_IMAGE_DAMAGED);
  // 60000 x 60000 pixels in a file of a few hundred bytes: deflate cannot
  // expand that far, so nothing is allocated.
  g = f;
  PutDword(g, 16, 0x60EA0000); // big-endian 60000
  PutDword(g, 20, 0x60EA0000);
  const uint32_t crc = static_cast<uint32_t>(crc32(0, g.data() + 12, 17));
  g[29] = static_cast<uint8_t>(crc >> 24);
  g[30] = static_cast<uint8_t>(crc >> 16);
  g[31] = static_cast<uint8_t>(crc >> 8);
  g[32] = static_cast<uint8_t>(crc);
  EXPECT_NE(Refusal(ReadPng(g.data(), g.size())), 0u);
  EXPECT_EQ(Refusal(ReadPng(f.data(), 7)), IDS_IMAGE_NOT_THIS_KIND);
}

TEST(JpegReader, RefusesCutAndForeignFiles)
{
  const std::vector<uint8_t> f = FixtureBytes("jpeg-colour.jpg");
  EXPECT_EQ(Refusal(ReadJpeg(f.data(), f.size() * 2 / 3)), IDS_IMAGE_TRUNCATED);
  const std::vector<uint8_t> png = FixtureBytes("png-rgb8.png");
  EXPECT_EQ(Refusal(ReadJpeg(png.data(), png.size())), IDS_IMAGE_NOT_THIS_KIND);
}

TEST(GifReader, RefusesCutFilesAndFilesWithoutAPicture)
{
  const std::vector<uint8_t> f = FixtureBytes("gif.gif");
  EXPECT_EQ(Refusal(ReadGif(f.data(), f.size() / 2)), IDS_IMAGE_TRUNCATED);
  // The header and colour table, then the trailer at once.
  std::vector<uint8_t> g(f.begin(), f.begin() + 13 + 3 * 64);
  g.push_back(0x3B);
  EXPECT_EQ(Refusal(ReadGif(g.data(), g.size())), IDS_IMAGE_DAMAGED);
}

TEST(WmfReader, KeepsThePlaceableHeaderAndTheRecords)
{
  const std::vector<uint8_t> f = FixtureBytes("wmf-rect.wmf");
  ImageReadResult r = ReadWmf(f.data(), f.size());
  ASSERT_TRUE(r.buffer);
  EXPECT_TRUE(r.buffer->IsMetafile());
  EXPECT_EQ(r.buffer->Width(), 1000);
  EXPECT_EQ(r.buffer->Height(), 500);
  EXPECT_EQ(r.buffer->Records().size(), f.size() - 22);

  // Without the placeable header, with a damaged or cut metafile header.
  const std::vector<uint8_t> bare(f.begin() + 22, f.end());
  EXPECT_EQ(Refusal(ReadWmf(bare.data(), bare.size())), IDS_IMAGE_NO_PLACEABLE_HEADER);
  std::vector<uint8_t> g = f;
  PutWord(g, 24, 10);
  EXPECT_EQ(Refusal(ReadWmf(g.data(), g.size())), IDS_IMAGE_DAMAGED);
  EXPECT_EQ(Refusal(ReadWmf(f.data(), f.size() - 6)), IDS_IMAGE_TRUNCATED);
  EXPECT_EQ(Refusal(ReadWmf(f.data(), 30)), IDS_IMAGE_TRUNCATED);

  // An empty frame still gives the picture a size.
  g = f;
  PutWord(g, 10, 0);
  PutWord(g, 12, 0);
  r = ReadWmf(g.data(), g.size());
  ASSERT_TRUE(r.buffer);
  EXPECT_EQ(r.buffer->Width(), 100);
  EXPECT_EQ(r.buffer->Height(), 100);
}

TEST(PictureFile, KindByExtensionAndTheBufferNamedAfterThePath)
{
  EXPECT_EQ(KindOfPath("/a/b.BMP"), PictureKind::kBmp);
  EXPECT_EQ(KindOfPath("c.Jpe"), PictureKind::kJpeg);
  EXPECT_EQ(KindOfPath("c.jpg"), PictureKind::kJpeg);
  EXPECT_EQ(KindOfPath("x.pcx"), PictureKind::kPcx);
  EXPECT_EQ(KindOfPath("x.png"), PictureKind::kPng);
  EXPECT_EQ(KindOfPath("x.gif"), PictureKind::kGif);
  EXPECT_EQ(KindOfPath("x.wmf"), PictureKind::kWmf);
  EXPECT_EQ(KindOfPath("x.jpeg.txt"), PictureKind::kUnknown);
  EXPECT_EQ(KindOfPath("folder.png/file"), PictureKind::kUnknown);

  const std::string path = std::string(VEKTA_TEST_DATA) + "/gif-transparent.gif";
  const ImageReadResult r = ReadPictureFile(path, KindOfPath(path));
  ASSERT_TRUE(r.buffer);
  EXPECT_TRUE(r.buffer->HasName(path));
  // The transparent colour shows white.
  EXPECT_EQ(PixelAt(*r.buffer, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(ReadPictureFile(path + ".missing", PictureKind::kGif).error, IDS_IMAGE_CANNOT_READ);
  EXPECT_EQ(ReadPictureFile(VEKTA_TEST_DATA, PictureKind::kGif).error, IDS_IMAGE_CANNOT_READ);
  // The wrong reader for the file says so.
  EXPECT_EQ(ReadPictureFile(path, PictureKind::kBmp).error, IDS_IMAGE_NOT_THIS_KIND);
}

} // namespace
