#include <gtest/gtest.h>

#include "TestSupport.h"

#include <filesystem>

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

TempDir::TempDir()
{
  QTemporaryDir dir(QDir::tempPath() + "/vekta-test-XXXXXX");
  dir.setAutoRemove(false);
  m_path = dir.path().toStdString();
}

TempDir::~TempDir()
{
  QDir(QString::fromStdString(m_path)).removeRecursively();
}

std::string ReadWholeFile(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteWholeFile(const std::string& path, const std::string& data)
{
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

ImageDiff CompareImages(const QImage& actualIn, const QImage& expectedIn, int tol, int maxBad)
{
  ImageDiff d;
  if (actualIn.size() != expectedIn.size()) {
    d.message = "size " + std::to_string(actualIn.width()) + "x" + std::to_string(actualIn.height()) +
                " differs from expected " + std::to_string(expectedIn.width()) + "x" +
                std::to_string(expectedIn.height());
    return d;
  }
  const QImage a = actualIn.convertToFormat(QImage::Format_ARGB32);
  const QImage e = expectedIn.convertToFormat(QImage::Format_ARGB32);
  int bad = 0;
  int firstX = -1, firstY = -1;
  QRgb firstA = 0, firstE = 0;
  for (int y = 0; y < a.height(); ++y) {
    const QRgb* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const QRgb* re = reinterpret_cast<const QRgb*>(e.constScanLine(y));
    for (int x = 0; x < a.width(); ++x) {
      const QRgb pa = ra[x], pe = re[x];
      if (std::abs(qRed(pa) - qRed(pe)) > tol || std::abs(qGreen(pa) - qGreen(pe)) > tol ||
          std::abs(qBlue(pa) - qBlue(pe)) > tol || std::abs(qAlpha(pa) - qAlpha(pe)) > tol) {
        if (bad++ == 0) {
          firstX = x;
          firstY = y;
          firstA = pa;
          firstE = pe;
        }
      }
    }
  }
  d.same = bad <= maxBad;
  if (!d.same) {
    char buf[200];
    std::snprintf(buf, sizeof buf, "%d pixels differ (allowed %d); first at (%d, %d): #%08x, expected #%08x",
                  bad, maxBad, firstX, firstY, firstA, firstE);
    d.message = buf;
  }
  return d;
}

::testing::AssertionResult MatchesGolden(const QImage& actual, const std::string& path, int tol, int maxBad)
{
  const char* update = std::getenv("VEKTA_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    if (!actual.save(QString::fromStdString(path), "PNG"))
      return ::testing::AssertionFailure() << "cannot write reference " << path;
    return ::testing::AssertionSuccess();
  }
  QImage expected;
  if (!expected.load(QString::fromStdString(path)))
    return ::testing::AssertionFailure() << "missing reference image " << path
                                         << " (run with VEKTA_UPDATE_GOLDEN=1 to create it, then review it)";
  const ImageDiff d = CompareImages(actual, expected, tol, maxBad);
  if (d.same)
    return ::testing::AssertionSuccess();
  // The actual picture goes to the build tree under the reference's name,
  // so a failed run never leaves files among the reviewed references.
  std::filesystem::create_directories(VEKTA_TEST_OUTPUT_DIR);
  const std::string failed =
      std::string(VEKTA_TEST_OUTPUT_DIR) + "/" + std::filesystem::path(path).stem().string() + ".actual.png";
  actual.save(QString::fromStdString(failed), "PNG");
  return ::testing::AssertionFailure()
         << path << ": " << d.message << " (actual written to " << failed << ")";
}
