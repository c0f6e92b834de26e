#include "PageBinding.h"
#include "TBrush.h"
#include "TPage.h"
#include "TRect.h"

#include <QBuffer>
#include <QSvgGenerator>

#include <gtest/gtest.h>

namespace {

// Draws a hatched square of 1 x 1 inch into an SVG made at dpi and answers
// how many separate line segments the SVG holds.
int HatchLinesAt(int dpi)
{
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setResolution(dpi);
  svg.setSize(QSize(dpi * 2, dpi * 2));
  TPage page;
  page.SetPaperSize(200, 200);
  page.SetPixelsPerInch(dpi, dpi);
  EXPECT_TRUE(BindPage(page, &svg, TPage::kCreated));
  TBrush brush;
  brush.SetStyle(TBrush::kHatched);
  brush.SetHatch(TBrush::kHorizontal);
  page.SelectBrush(brush);
  page.FillRect(0, 0, 99, 99);
  page.Release();
  buffer.close();
  const QByteArray text = buffer.data();
  return static_cast<int>(text.count("<polyline")) + static_cast<int>(text.count("<line"));
}

} // namespace

TEST(VectorHatch, HatchSpacingFollowsAScreenLikePixelOnFineDevices)
{
  // At 1200 dpi an 8-device-pixel pattern would be 150 lines per inch, a grey
  // tint; the lines are drawn 8 reference pixels apart instead: about 12 per
  // inch at 96 dpi, whatever the device's resolution.
  const int lines = HatchLinesAt(1200);
  EXPECT_GE(lines, 10);
  EXPECT_LE(lines, 16);
}
