#include "TJpegWriter.h"
#include "TPageMem.h"
#include "TPen.h"
#include "TPngWriter.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What ImageMagick's identify reports ("PNG 200x150"), or "" without it.
std::string Identify(const std::string& path)
{
  const QString tool = QStandardPaths::findExecutable("identify");
  if (tool.isEmpty())
    return {};
  QProcess process;
  process.start(tool, {"-format", "%m %wx%h", QString::fromStdString(path)});
  if (!process.waitForFinished(20000) || process.exitCode() != 0)
    return "identify failed";
  return process.readAllStandardOutput().trimmed().toStdString();
}

bool HaveIdentify()
{
  return !QStandardPaths::findExecutable("identify").isEmpty();
}

// Names left in a folder (a failed write must leave no temporary file).
std::vector<std::string> FilesIn(const std::string& dir)
{
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    names.push_back(entry.path().filename().string());
  return names;
}

void DrawSample(TPage& page)
{
  TBrush red;
  red.SetStyle(TBrush::kSolid);
  red.SetColor(0x0000FF);
  page.SelectBrush(red);
  page.SelectPen(TPen(0xFF0000, 3, TPen::kSolid));
  page.Ellipse(TRect(20, 20, 180, 130));
  page.SetPixel(0, 0, 0x00FF00);
}

// Rows from a pattern; fails at failRow when that is set.
class PatternPng : public TPngWriter
{
public:
  uint32_t failRow = UINT32_MAX;
  bool GetLine(uint8_t* row, uint32_t y, uint32_t width, uint32_t bits) override
  {
    if (y == failRow)
      return false;
    const uint32_t levels = bits == 24 ? 256 : 1u << bits;
    for (uint32_t x = 0; x < width; ++x) {
      if (bits == 24) {
        row[3 * x] = static_cast<uint8_t>(x);
        row[3 * x + 1] = static_cast<uint8_t>(y);
        row[3 * x + 2] = 7;
      } else {
        row[x] = static_cast<uint8_t>((x + y) % levels);
      }
    }
    return true;
  }
};

class PatternJpeg : public TJpegWriter
{
public:
  uint32_t failRow = UINT32_MAX;
  bool GetLine(uint8_t* row, uint32_t y, uint32_t width, uint32_t) override
  {
    if (y == failRow)
      return false;
    for (uint32_t x = 0; x < 3 * width; ++x)
      row[x] = static_cast<uint8_t>(x + y);
    return true;
  }
};

} // namespace

TEST(PageMem, SizeFollowsTheZoom)
{
  uint32_t w = 0, h = 0;
  TPageMem third(1000, 1000, 33);
  third.GetSize(w, h);
  EXPECT_EQ(w, 330u);
  EXPECT_EQ(h, 330u);
  EXPECT_EQ(third.GetZoom(), 33);

  TPageMem clamped(100, 50, 0);
  clamped.GetSize(w, h);
  EXPECT_EQ(w, 1u);
  EXPECT_EQ(h, 1u); // 0.5 rounds up

  TPageMem white(30, 20, 100);
  EXPECT_EQ(white.GetPixel(29, 19), 0xFFFFFFu);
  EXPECT_EQ(white.GetPixel(30, 0), 0u);
  EXPECT_EQ(white.GetPixel(-1, 0), 0u);
}

TEST(PageMem, AbsurdSizesGiveNoImageAndNoFile)
{
  TempDir dir;
  for (auto [w, h] : {std::pair{0, 10}, std::pair{70000, 10}, std::pair{60000, 60000}}) {
    TPageMem page(w, h, 100);
    EXPECT_FALSE(page.HasBitmap());
    page.Rectangle(TRect(0, 0, 5, 5)); // unbound: ignored
    EXPECT_FALSE(page.ExportPng(dir.File("a.png"), -1));
    EXPECT_FALSE(page.ExportJpeg(dir.File("a.jpg"), 75));
    uint8_t row[16];
    EXPECT_FALSE(page.GetRow24(row, 0));
  }
  EXPECT_TRUE(FilesIn(dir.Path()).empty());
}

TEST(PageMem, RowsAndIndexedView)
{
  TPageMem page(200, 150, 100);
  DrawSample(page);
  std::vector<uint8_t> row(600);
  ASSERT_TRUE(page.GetRow24(row.data(), 75));
  EXPECT_EQ(row[3 * 100], 255); // red in the middle of the ellipse
  EXPECT_EQ(row[3 * 100 + 1], 0);
  EXPECT_EQ(row[3 * 100 + 2], 0);
  EXPECT_FALSE(page.GetRow24(row.data(), 150));
  EXPECT_FALSE(page.GetRow24(nullptr, 0));

  // Without an index the row maps onto the fixed cube the palette describes.
  uint32_t quads[256];
  page.GetPalette(quads, nullptr);
  ASSERT_TRUE(page.GetRow8(row.data(), 75));
  EXPECT_EQ(quads[row[100]], 0xFF0000u);
  EXPECT_EQ(quads[row[0]], 0xFFFFFFu);

  EXPECT_FALSE(page.SetPixelIndex(1, 1, 5));
  EXPECT_FALSE(page.SetPaletteEntry(0, 0x123456));
  ASSERT_TRUE(page.AllocIndexed());
  EXPECT_TRUE(page.SetPixelIndex(100, 75, 9));
  EXPECT_FALSE(page.SetPixelIndex(200, 75, 9));
  EXPECT_TRUE(page.SetPaletteEntry(9, 0x123456));
  EXPECT_FALSE(page.SetPaletteEntry(256, 0));
  ASSERT_TRUE(page.GetRow8(row.data(), 75));
  EXPECT_EQ(row[100], 9);
  EXPECT_EQ(row[99], 0);
  uint8_t rgb[768];
  page.GetPalette(nullptr, rgb);
  EXPECT_EQ(rgb[27], 0x12);
  EXPECT_EQ(rgb[28], 0x34);
  EXPECT_EQ(rgb[29], 0x56);
  EXPECT_TRUE(page.FreeIndexed());
  EXPECT_FALSE(page.SetPixelIndex(100, 75, 9));
}

TEST(PngExport, WritesExactPixelsAnIndependentReaderAccepts)
{
  TempDir dir;
  const std::string path = dir.File("page.png");
  TPageMem page(200, 150, 100);
  DrawSample(page);
  ASSERT_TRUE(page.ExportPng(path, -1));

  QImage back(QString::fromStdString(path));
  ASSERT_FALSE(back.isNull());
  EXPECT_FALSE(back.hasAlphaChannel());
  const ImageDiff diff = CompareImages(back, page.Image(), 0, 0);
  EXPECT_TRUE(diff.same) << diff.message;
  if (!HaveIdentify())
    GTEST_SKIP() << "ImageMagick's identify is not installed";
  EXPECT_EQ(Identify(path), "PNG 200x150");
}

TEST(PngExport, TransparentColourWritesATransparencyChunk)
{
  TempDir dir;
  TPageMem page(40, 30, 100);
  page.SetPixel(5, 5, 0x000000);
  const std::string black = dir.File("black.png");
  ASSERT_TRUE(page.ExportPng(black, 0));
  QImage back(QString::fromStdString(black));
  ASSERT_TRUE(back.hasAlphaChannel());
  EXPECT_EQ(qAlpha(back.pixel(5, 5)), 0);
  EXPECT_EQ(qAlpha(back.pixel(6, 5)), 255);
  EXPECT_NE(ReadWholeFile(black).find("tRNS"), std::string::npos);

  const std::string none = dir.File("none.png");
  ASSERT_TRUE(page.ExportPng(none, -1));
  EXPECT_EQ(ReadWholeFile(none).find("tRNS"), std::string::npos);
}

TEST(PngWriter, PaletteDepths)
{
  TempDir dir;
  for (uint32_t bits : {1u, 2u, 4u, 8u}) {
    const std::string path = dir.File("p" + std::to_string(bits) + ".png");
    PatternPng writer;
    ASSERT_TRUE(writer.SetSize(37, 5, bits));
    ASSERT_TRUE(writer.Open(path));
    ASSERT_TRUE(writer.Write());
    ASSERT_TRUE(writer.Close());
    QImage back(QString::fromStdString(path));
    ASSERT_FALSE(back.isNull()) << bits;
    const uint32_t levels = 1u << bits;
    for (int x : {0, 1, 17, 36}) {
      const uint32_t index = (static_cast<uint32_t>(x) + 3) % levels;
      const int grey = levels > 1 ? static_cast<int>(index * 255 / (levels - 1)) : 0;
      EXPECT_EQ(back.pixel(x, 3), qRgb(grey, grey, grey)) << "bits " << bits << " x " << x;
    }
    if (HaveIdentify()) {
      EXPECT_EQ(Identify(path), "PNG 37x5");
    }
  }
}

TEST(PngWriter, RefusesBadSizesAndDepths)
{
  PatternPng writer;
  EXPECT_FALSE(writer.SetSize(0, 10, 24));
  EXPECT_FALSE(writer.SetSize(10, 65536, 24));
  EXPECT_FALSE(writer.SetSize(10, 10, 3));
  EXPECT_FALSE(writer.SetSize(10, 10, 32));
  EXPECT_TRUE(writer.SetSize(65535, 1, 24));
  EXPECT_FALSE(writer.Write()); // no file open
}

TEST(JpegExport, WritesABaselineFileAtAnyQuality)
{
  TempDir dir;
  TPageMem page(200, 150, 100);
  DrawSample(page);
  for (int quality : {0, 75, 100}) {
    const std::string path = dir.File("q" + std::to_string(quality) + ".jpg");
    ASSERT_TRUE(page.ExportJpeg(path, quality)) << quality;
    QImage back(QString::fromStdString(path));
    ASSERT_EQ(back.size(), QSize(200, 150));
    // Middle of the red ellipse, roughly red even at the lowest quality.
    EXPECT_GT(qRed(back.pixel(100, 75)), 180);
    EXPECT_LT(qGreen(back.pixel(100, 75)), 80);
    if (HaveIdentify()) {
      EXPECT_EQ(Identify(path), "JPEG 200x150");
    }
  }
  EXPECT_LT(ReadWholeFile(dir.File("q0.jpg")).size(), ReadWholeFile(dir.File("q100.jpg")).size());
}

TEST(JpegWriter, LibraryErrorsEndTheWriteNotTheProcess)
{
  TempDir dir;
  PatternJpeg writer;
  // libjpeg refuses sides above 65500; its error comes back as a failure.
  ASSERT_TRUE(writer.SetSize(65501, 1, 24));
  ASSERT_TRUE(writer.Open(dir.File("wide.jpg")));
  EXPECT_FALSE(writer.Write(75));
  EXPECT_FALSE(writer.Close());
  EXPECT_TRUE(FilesIn(dir.Path()).empty());

  EXPECT_FALSE(writer.SetSize(10, 10, 8));
  ASSERT_TRUE(writer.SetSize(10, 10, 24));
  ASSERT_TRUE(writer.Open(dir.File("ok.jpg")));
  EXPECT_TRUE(writer.Write(50));
  EXPECT_TRUE(writer.Close());
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"ok.jpg"});
}

TEST(Writers, FailedWritesLeaveNoFileAndKeepTheOldOne)
{
  TempDir dir;
  const std::string target = dir.File("keep.png");
  WriteWholeFile(target, "old content");

  PatternPng png;
  png.failRow = 3;
  ASSERT_TRUE(png.SetSize(20, 10, 24));
  ASSERT_TRUE(png.Open(target));
  EXPECT_FALSE(png.Write());
  EXPECT_FALSE(png.Close());
  EXPECT_EQ(ReadWholeFile(target), "old content");

  PatternJpeg jpeg;
  jpeg.failRow = 0;
  ASSERT_TRUE(jpeg.SetSize(20, 10, 24));
  ASSERT_TRUE(jpeg.Open(target));
  EXPECT_FALSE(jpeg.Write(75));
  EXPECT_FALSE(jpeg.Close());
  EXPECT_EQ(ReadWholeFile(target), "old content");

  // A writer dropped without Close leaves nothing either.
  {
    PatternPng dropped;
    ASSERT_TRUE(dropped.SetSize(20, 10, 24));
    ASSERT_TRUE(dropped.Open(dir.File("dropped.png")));
    ASSERT_TRUE(dropped.Write());
  }
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"keep.png"});

  // A successful write replaces the old file.
  png.failRow = UINT32_MAX;
  ASSERT_TRUE(png.Open(target));
  ASSERT_TRUE(png.Write());
  ASSERT_TRUE(png.Close());
  EXPECT_EQ(QImage(QString::fromStdString(target)).size(), QSize(20, 10));
}

TEST(Writers, MissingFolderFails)
{
  TempDir dir;
  TPageMem page(20, 20, 100);
  EXPECT_FALSE(page.ExportPng(dir.File("no/such/folder/a.png"), -1));
  EXPECT_FALSE(page.ExportJpeg(dir.File("no/such/folder/a.jpg"), 75));
  EXPECT_TRUE(FilesIn(dir.Path()).empty());

  // A folder no one may create files in, whoever runs the test.
  if (std::filesystem::exists("/proc/self")) {
    EXPECT_FALSE(page.ExportPng("/proc/a.png", -1));
  }
}

TEST(Writers, ReadOnlyFolderFails)
{
  if (::geteuid() == 0)
    GTEST_SKIP() << "file permissions do not bind the superuser";
  TempDir dir;
  TPageMem page(20, 20, 100);
  const std::string locked = dir.File("locked");
  ASSERT_EQ(::mkdir(locked.c_str(), 0555), 0);
  EXPECT_FALSE(page.ExportPng(locked + "/a.png", -1));
  EXPECT_FALSE(page.ExportJpeg(locked + "/a.jpg", 75));
  EXPECT_TRUE(FilesIn(locked).empty());
  ::chmod(locked.c_str(), 0755);
}
