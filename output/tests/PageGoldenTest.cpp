#include "TPageMem.h"
#include "TPen.h"
#include "TextMetrics.h"

#include "RenderTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <functional>
#include <string>

// Every primitive drawn into a memory page and compared with a reviewed
// reference image; exact pixel rules are checked directly as well.

namespace {

using namespace palette;

// A scene with some of everything on a 20 x 15 grid of u units each, so
// that it fills the same share of the image at every zoom.
void DrawScene(TPage& page, int32_t u)
{
  page.SelectPen(TPen(kBlack, std::max(u / 4, 1), TPen::kSolid));
  page.SelectBrush(Solid(kYellow));
  page.Rectangle(TRect(u, u, 9 * u, 7 * u));
  page.SelectBrush(Hatch(TBrush::kCross, kBlue));
  page.Ellipse(TRect(10 * u, u, 19 * u, 8 * u));
  page.SelectPen(TPen(kRed, 0, TPen::kSolid));
  page.Line(u, 14 * u, 19 * u, 9 * u);
  page.SelectFont(TFont(3 * u, 0));
  page.SetTextColor(kGreen);
  page.TextOut(2 * u, 9 * u, "Zoom");
}

int CountColour(const QImage& image, QRgb colour)
{
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      n += image.pixel(x, y) == colour;
  return n;
}

// Leftmost and rightmost column holding a pixel that is not white.
std::pair<int, int> InkColumns(const QImage& image)
{
  int first = image.width(), last = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != kWhitePixel) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  return {first, last};
}

} // namespace

TEST(PageRender, RectangleKeepsThePlatformPixelRules)
{
  const QImage image = Render(40, 30, 100, [](TPage& page) {
    page.SelectPen(TPen(kBlack, 0, TPen::kSolid));
    page.SelectBrush(Solid(kRed));
    page.Rectangle(TRect(5, 5, 15, 12));
  });
  // The outline lies on pixels left and right - 1; right stays white.
  EXPECT_EQ(image.pixel(5, 8), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(14, 8), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(15, 8), kWhitePixel);
  EXPECT_EQ(image.pixel(8, 5), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(8, 11), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(8, 12), kWhitePixel);
  EXPECT_EQ(image.pixel(4, 8), kWhitePixel);
  EXPECT_EQ(image.pixel(8, 8), qRgb(255, 0, 0));

  // Without a pen the fill covers [left, right) x [top, bottom).
  const QImage filled = Render(40, 30, 100, [](TPage& page) {
    page.SelectPen(TPen(kBlack, 0, TPen::kNull));
    page.SelectBrush(Solid(kBlue));
    page.Rectangle(TRect(5, 5, 15, 12));
  });
  EXPECT_EQ(CountColour(filled, qRgb(0, 0, 255)), 10 * 7);
}

TEST(PageRender, FillRectIncludesBothCorners)
{
  TBrush green = Solid(kGreen);
  const QImage image = Render(40, 30, 100, [&](TPage& page) {
    page.FillRect(0, 0, 10, 10, &green);
    page.FillRectBrush(TRect(20, 5, 30, 15), Solid(kBlue));
  });
  EXPECT_EQ(CountColour(image, qRgb(0, 0xA0, 0)), 11 * 11);
  EXPECT_EQ(CountColour(image, qRgb(0, 0, 255)), 12 * 12);
  EXPECT_EQ(image.pixel(19, 4), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(18, 4), kWhitePixel);
}

TEST(PageRender, SetPixelHitsOnePixelAndReportsOutside)
{
  TPageMem page(20, 20, 100);
  EXPECT_TRUE(page.SetPixel(3, 4, kRed));
  EXPECT_FALSE(page.SetPixel(25, 4, kRed));
  EXPECT_EQ(page.GetPixel(3, 4), 0xFF0000u);
  EXPECT_EQ(page.GetPixel(4, 4), 0xFFFFFFu);
}

TEST(PageRender, EmptyPolygonDrawsNothing)
{
  const QImage image = Render(20, 20, 100, [](TPage& page) {
    page.SelectBrush(Solid(kRed));
    const TPoint one[1] = {{5, 5}};
    page.Polygon(one, 0);
    page.Polyline(one, 1);
  });
  EXPECT_EQ(CountColour(image, kWhitePixel), 400);
}

TEST(PageRender, ShapesMatchReferences)
{
  EXPECT_TRUE(MatchesGolden(Render(200, 150, 100,
                                   [](TPage& page) {
                                     page.SelectPen(TPen(kBlack, 0, TPen::kSolid));
                                     page.SelectBrush(Solid(kYellow));
                                     page.Rectangle(TRect(10, 10, 60, 50));
                                     page.RoundRect(TRect(70, 10, 130, 50), 10, 8);
                                     page.Ellipse(TRect(140, 10, 190, 60));
                                     page.SelectPen(TPen(kBlue, 3, TPen::kSolid));
                                     page.SelectBrush(Solid(kGreen));
                                     page.Rectangle(TRect(10, 70, 60, 110));
                                     page.RoundRect(TRect(70, 70, 130, 110), 15, 15);
                                     page.Ellipse(TRect(140, 70, 190, 140));
                                     page.SelectPen(TPen(kRed, 0, TPen::kNull));
                                     page.Ellipse(TRect(10, 120, 60, 145));
                                   }),
                            Golden("shapes")));
}

TEST(PageRender, LinesAndPolylinesMatchReferences)
{
  EXPECT_TRUE(
      MatchesGolden(Render(200, 150, 100,
                           [](TPage& page) {
                             page.SelectPen(TPen(kBlack, 0, TPen::kSolid));
                             page.Line(10, 10, 90, 10);
                             page.Line(10, 20, 10, 70);
                             page.Line(20, 20, 90, 70);
                             page.Line(90, 20, 20, 70);
                             page.SelectPen(TPen(kRed, 5, TPen::kSolid));
                             page.Line(110, 15, 190, 60);
                             const TPoint zigzag[5] = {{10, 90}, {50, 130}, {90, 90}, {130, 130}, {170, 90}};
                             page.SelectPen(TPen(kBlue, 0, TPen::kSolid));
                             page.Polyline(zigzag, 5);
                             const TPoint hook[3] = {{20, 140}, {180, 140}, {180, 100}};
                             page.SelectPen(TPen(kGreen, 3, TPen::kSolid));
                             page.Polyline(hook, 3);
                           }),
                    Golden("lines")));

  // A one-pixel line covers its first point and not its last.
  const QImage image = Render(20, 10, 100, [](TPage& page) {
    page.SelectPen(TPen(kBlack, 0, TPen::kSolid));
    page.Line(2, 5, 12, 5);
  });
  EXPECT_EQ(image.pixel(2, 5), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(11, 5), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(12, 5), kWhitePixel);
  EXPECT_EQ(image.pixel(6, 4), kWhitePixel);
}

TEST(PageRender, PolygonsFillEvenOdd)
{
  const TPoint star[5] = {{100, 10}, {155, 140}, {20, 55}, {180, 55}, {45, 140}};
  const QImage image = Render(200, 150, 100, [&](TPage& page) {
    page.SelectPen(TPen(kBlack, 0, TPen::kSolid));
    page.SelectBrush(Solid(kRed));
    page.Polygon(star, 5);
  });
  EXPECT_EQ(image.pixel(100, 80), kWhitePixel); // the centre is crossed twice
  EXPECT_EQ(image.pixel(100, 30), qRgb(255, 0, 0));
  EXPECT_TRUE(MatchesGolden(image, Golden("polygon_star")));
}

TEST(PageRender, PieChordAndArcRunCounterClockwise)
{
  const QImage image = Render(200, 150, 100, [](TPage& page) {
    page.SelectPen(TPen(kBlack, 0, TPen::kSolid));
    page.SelectBrush(Solid(kYellow));
    page.Pie(TRect(10, 10, 90, 90), 0, 90);
    page.Chord(TRect(110, 10, 190, 90), 30, 210);
    page.SelectPen(TPen(kRed, 3, TPen::kSolid));
    page.Arc(TRect(10, 100, 190, 145), 180, 0);
  });
  // Quarter from 3 o'clock to 12 o'clock: the upper right of the box.
  EXPECT_EQ(image.pixel(65, 35), qRgb(255, 255, 0));
  EXPECT_EQ(image.pixel(35, 35), kWhitePixel);
  EXPECT_EQ(image.pixel(65, 65), kWhitePixel);
  // Arc from 9 o'clock over the bottom to 3 o'clock.
  EXPECT_EQ(image.pixel(100, 144), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(100, 101), kWhitePixel);
  EXPECT_TRUE(MatchesGolden(image, Golden("pie_chord_arc")));
}

TEST(PageRender, PenStylesAndInsideFrame)
{
  const QImage image = Render(200, 150, 100, [](TPage& page) {
    for (uint32_t style = TPen::kSolid; style <= TPen::kInsideFrame; ++style) {
      page.SelectPen(TPen(kBlack, 1, style));
      page.Line(10, 10 + 12 * static_cast<int32_t>(style), 190, 10 + 12 * static_cast<int32_t>(style));
    }
    page.SelectBrush(Solid(kYellow));
    page.SelectPen(TPen(kBlue, 8, TPen::kInsideFrame));
    page.Rectangle(TRect(20, 95, 80, 140));
    page.Ellipse(TRect(85, 95, 125, 140));
    page.SelectPen(TPen(kBlue, 8, TPen::kSolid));
    page.Rectangle(TRect(140, 95, 190, 140));
  });
  // Inside-frame: the 8-pixel stroke fills [20, 28) and stops at 80.
  EXPECT_EQ(image.pixel(20, 110), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(27, 110), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(28, 110), qRgb(255, 255, 0));
  EXPECT_EQ(image.pixel(79, 110), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(80, 110), kWhitePixel);
  EXPECT_EQ(image.pixel(19, 110), kWhitePixel);
  // A centred pen sticks out of its rectangle.
  EXPECT_EQ(image.pixel(137, 110), qRgb(0, 0, 255));
  EXPECT_TRUE(MatchesGolden(image, Golden("pen_styles")));
}

TEST(PageRender, HatchesAreEightDevicePixelsAtEveryZoom)
{
  auto hatches = [](TPage& page) {
    for (int32_t hatch = TBrush::kHorizontal; hatch <= TBrush::kDiagonalCross; ++hatch) {
      page.SelectBrush(Hatch(hatch, kBlue));
      const int32_t x = 5 + 32 * hatch;
      page.FillRect(x, 5, x + 27, 40);
    }
  };
  const QImage normal = Render(200, 50, 100, hatches);
  EXPECT_TRUE(MatchesGolden(normal, Golden("hatches")));
  const QImage zoomed = Render(200, 50, 300, hatches);
  EXPECT_TRUE(MatchesGolden(zoomed, Golden("hatches_300")));

  // Horizontal hatch lines repeat every 8 pixels whatever the zoom.
  for (const QImage* image : {&normal, &zoomed}) {
    int previous = -1;
    for (int y = 20; y < 100 && y < image->height() - 20; ++y) {
      if (image->pixel(20, y) != qRgb(0, 0, 255))
        continue;
      if (previous >= 0) {
        EXPECT_EQ(y - previous, 8);
      }
      previous = y;
    }
    EXPECT_GE(previous, 0);
  }

  // In opaque mode the gaps take the background colour.
  const QImage opaque = Render(40, 40, 100, [](TPage& page) {
    page.SetBkMode(OPAQUE_);
    page.SetBkColor(kYellow);
    page.SelectBrush(Hatch(TBrush::kCross, kBlue));
    page.FillRect(0, 0, 39, 39);
  });
  EXPECT_EQ(CountColour(opaque, qRgb(0, 0, 255)) + CountColour(opaque, qRgb(255, 255, 0)), 1600);
}

TEST(PageRender, TextIsAnchoredAtItsTopAndTurns)
{
  const QImage image = Render(200, 150, 100, [](TPage& page) {
    TFont font(18, 0);
    page.SelectFont(font);
    page.SelectPen(TPen(kRed, 0, TPen::kSolid));
    page.Line(100, 0, 100, 150);
    page.Line(0, 20, 200, 20);
    page.Line(0, 60, 200, 60);
    page.SetTextColor(kBlack);
    page.TextOut(100, 20, "Left");
    page.SetTextAlign(TA_RIGHT_);
    page.TextOut(100, 20, "Right");
    page.SetTextAlign(TA_CENTER_ | TA_BASELINE_);
    page.TextOut(100, 60, "Base");
    page.SetTextAlign(TA_LEFT_ | TA_BOTTOM_);
    page.SetBkMode(OPAQUE_);
    page.SetBkColor(kYellow);
    page.TextOut(10, 60, "Bot");
    page.SetBkMode(TRANSPARENT_);
    page.SetTextAlign(TA_LEFT_);
    TLogFont turned = font.Record();
    turned.escapement = 300;
    page.SelectFont(TFont(turned));
    page.SetTextColor(kBlue);
    page.TextOut(110, 120, "Turned");
  });
  // Anchored at the top: nothing of "Left" above its line, ink just below.
  bool inkAbove = false, inkBelow = false;
  for (int x = 102; x < 140; ++x) {
    inkAbove |= image.pixel(x, 18) != kWhitePixel;
    for (int y = 21; y < 30; ++y)
      inkBelow |= qRed(image.pixel(x, y)) < 128;
  }
  EXPECT_FALSE(inkAbove);
  EXPECT_TRUE(inkBelow);
  EXPECT_TRUE(MatchesGolden(image, Golden("text"), 48, 150));
}

TEST(PageRender, TextScalesExactlyWithTheZoom)
{
  auto word = [](TPage& page) {
    TFont font(10, 0);
    page.SelectFont(font);
    page.TextOut(2, 2, "Measure me");
  };
  const auto [first1, last1] = InkColumns(Render(80, 20, 100, word));
  const auto [first10, last10] = InkColumns(Render(80, 20, 1000, word));
  const double width1 = last1 - first1 + 1;
  const double width10 = last10 - first10 + 1;
  EXPECT_NEAR(width10 / width1, 10.0, 0.35);
}

TEST(PageRender, EdgesAndMarkersMatchReferences)
{
  EXPECT_TRUE(MatchesGolden(Render(120, 60, 100,
                                   [](TPage& page) {
                                     TBrush grey = Solid(0xD0D0D0);
                                     page.FillRect(0, 0, 119, 59, &grey);
                                     page.DrawEdge(TRect(5, 5, 115, 55));
                                     page.SelectPen(TPen(kBlack, 0, TPen::kSolid));
                                     page.SelectBrush(Solid(0xFFFFFF));
                                     page.SetTextColor(kBlack);
                                     page.DrawMarker(TRect(15, 20, 28, 33), 0, false);
                                     page.DrawMarker(TRect(35, 20, 48, 33), 0, true);
                                     page.DrawMarker(TRect(60, 20, 73, 33), 3840, false);
                                     page.DrawMarker(TRect(80, 20, 93, 33), 3840, true);
                                   }),
                            Golden("edge_markers")));
}

TEST(PageRender, ZoomLevelsMatchReferences)
{
  // At 10 % the 3200-unit extent needs the halving rule (32000 > 30000).
  EXPECT_TRUE(MatchesGolden(Render(3200, 2400, 10,
                                   [](TPage& page) {
                                     EXPECT_EQ(page.GetExtentDivisor(), 2);
                                     DrawScene(page, 160);
                                   }),
                            Golden("zoom_10"), 48, 40));
  EXPECT_TRUE(MatchesGolden(Render(200, 150, 100, [](TPage& page) { DrawScene(page, 10); }),
                            Golden("zoom_100"), 48, 40));
  // 20 x 20 units, so that both window extents (20 * 100 / 1000) are exact.
  EXPECT_TRUE(MatchesGolden(Render(20, 20, 1000, [](TPage& page) { DrawScene(page, 1); }),
                            Golden("zoom_1000"), 48, 40));
}

TEST(PageRender, OriginOffsetShiftsTheDrawing)
{
  auto draw = [](TPage& page, int32_t dx, int32_t dy) {
    page.SelectPen(TPen(kBlack, 2, TPen::kSolid));
    page.SelectBrush(Solid(kGreen));
    page.Rectangle(TRect(10 + dx, 10 + dy, 60 + dx, 40 + dy));
    const TPoint triangle[3] = {{80 + dx, 40 + dy}, {120 + dx, 10 + dy}, {140 + dx, 40 + dy}};
    page.Polygon(triangle, 3);
    page.Pie(TRect(10 + dx, 50 + dy, 60 + dx, 100 + dy), 45, 270);
  };
  const QImage moved = Render(200, 150, 100, [&](TPage& page) {
    page.SetOrigin(30, 40);
    draw(page, 0, 0);
  });
  const QImage direct = Render(200, 150, 100, [&](TPage& page) { draw(page, 30, 40); });
  const ImageDiff diff = CompareImages(moved, direct, 0, 0);
  EXPECT_TRUE(diff.same) << diff.message;
  EXPECT_TRUE(MatchesGolden(moved, Golden("origin")));
}

TEST(PageRender, ExclusiveOrDrawnTwiceRestoresTheImage)
{
  TPageMem page(200, 150, 100);
  DrawScene(page, 10);
  const QImage before = page.Image().copy();
  auto outline = [](TPage& p) {
    p.SetROP2(R2_XORPEN_);
    p.SelectPen(TPen(0xFFFFFF, 0, TPen::kSolid));
    p.SelectBrush(TBrush());
    p.Rectangle(TRect(20, 20, 150, 120));
    p.Ellipse(TRect(30, 30, 170, 110));
    const TPoint v[3] = {{5, 140}, {100, 5}, {195, 140}};
    p.Polyline(v, 3);
    p.SetROP2(R2_NOT_);
    p.Line(0, 75, 200, 75);
    p.SetROP2(R2_COPYPEN_);
  };
  outline(page);
  const QImage once = page.Image().copy();
  EXPECT_FALSE(CompareImages(once, before, 0, 0).same);
  EXPECT_TRUE(MatchesGolden(once, Golden("xor_outline"), 48, 40));
  outline(page);
  const ImageDiff diff = CompareImages(page.Image(), before, 0, 0);
  EXPECT_TRUE(diff.same) << diff.message;
}

TEST(PageRender, LargeTextLooksAsQtDrawsIt)
{
  // Glyphs beyond Qt's glyph cache are filled one by one from kept
  // outlines (the turned line reuses those of the straight one): the
  // picture must be the one Qt gives for the whole line. The kept outlines
  // come from a large copy of the font, whose rounding differs from the
  // font's own by a fraction of a 64th of a pixel: a shade at the edges.
  TFont font(120, 0);
  TLogFont turned = font.Record();
  turned.escapement = 300;
  const std::string text = "Waffle fjord \xC3\x85\xC3\xA9";
  for (const TFont& shown : {font, TFont(turned)}) {
    const QImage drawn = Render(900, 500, 100, [&](TPage& page) {
      page.SelectFont(shown);
      page.TextOut(20, 250, text);
    });
    QImage expected(drawn.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
      QPainter painter(&expected);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setRenderHint(QPainter::TextAntialiasing);
      const QFont& qfont = TextFont(shown);
      painter.translate(20, 250);
      painter.rotate(-shown.EscapementDegrees());
      painter.setFont(qfont);
      painter.drawText(QPointF(0, QFontMetricsF(qfont).ascent()), QString::fromStdString(text));
    }
    const ImageDiff diff = CompareImages(drawn, expected, 8, 0);
    EXPECT_TRUE(diff.same) << diff.message;
    EXPECT_LT(CountColour(drawn, kWhitePixel), 900 * 500 - 5000) << "the text was drawn";
  }
}

TEST(PageRender, FontsOfOneDescriptionShareTheirQtFont)
{
  const QFont& a = TextFont(TFont(18, 0));
  EXPECT_TRUE(TextFont(TFont(18, 0)).isCopyOf(a));
  EXPECT_FALSE(TextFont(TFont(19, 0)).isCopyOf(a));
  EXPECT_EQ(a.hintingPreference(), QFont::PreferNoHinting);
  EXPECT_EQ(a.pixelSize(), TFont(18, 0).GetHandle().pixelSize());
}

TEST(PageRender, DashesOfAnOutlineFarBeyondTheImageKeepTheirPhaseAndCostOnlyTheView)
{
  // Dashing a stroke two billion pixels long would take gigabytes; what the
  // image shows must not change for being cut to it.
  for (const uint32_t style : {TPen::kDash, TPen::kDot, TPen::kDashDotDot}) {
    for (const int32_t width : {1, 3}) {
      auto draw = [style, width](int32_t farX, int32_t farY) {
        return Render(200, 100, 100, [=](TPage& page) {
          page.SelectPen(TPen(kBlack, width, style));
          const TPoint bend[3] = {{-37, 20}, {150, 20}, {farX, farY}};
          page.Polyline(bend, 3);
          page.Ellipse(TRect(-2000000000, 60, 2000000000, 2000000000));
        });
      };
      // The same bend, once ending near the image and once far away along
      // the same direction.
      const QImage nearEnd = draw(150 + 300, 20 + 300);
      const QImage farEnd = draw(150 + 700000000, 20 + 700000000);
      EXPECT_GT(CountColour(farEnd, qRgb(0, 0, 0)), 40) << style << " " << width;
      EXPECT_EQ(CountColour(nearEnd, qRgb(0, 0, 0)), CountColour(farEnd, qRgb(0, 0, 0)))
          << style << " " << width;
      int differing = 0;
      for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
          differing += nearEnd.pixel(x, y) != farEnd.pixel(x, y);
      EXPECT_EQ(differing, 0) << style << " " << width;
    }
  }
}
