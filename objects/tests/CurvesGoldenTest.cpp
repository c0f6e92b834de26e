#include "CommandIds.h"
#include "RenderTestSupport.h"
#include "TDataBezier.h"
#include "TDataPolyLine.h"
#include "TDataPolygone.h"
#include "TDataSin.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Polygons, polylines, curves and sinusoids drawn into a memory page and
// compared with reviewed reference images.

namespace {

using namespace palette;

void Style(TData& object, uint32_t colour, int32_t width)
{
  object.GetPen() = TPen(colour, width, TPen::kSolid);
}

int CountNotWhite(const QImage& image, const QRect& area)
{
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      n += image.pixel(x, y) != kWhitePixel;
  return n;
}

TEST(CurvesGoldenTest, StarPolygonIsFilledByTheEvenOddRule)
{
  const std::vector<TPoint> star = {{50, 5}, {21, 93}, {97, 38}, {3, 38}, {79, 93}};
  const QImage image = Render(100, 100, [&](TPage& page) {
    TDataPolygone polygon(star.data(), static_cast<uint16_t>(star.size()));
    Style(polygon, kBlack, 2);
    polygon.SetColor(1, kYellow);
    EXPECT_TRUE(polygon.Paint(&page, TData::kPaintScreen));
  });
  EXPECT_TRUE(MatchesGolden(image, Golden("polygon_star")));
  // The middle, crossed twice, stays empty.
  EXPECT_EQ(image.pixel(50, 55), kWhitePixel);
  EXPECT_NE(image.pixel(50, 20), kWhitePixel);
}

TEST(CurvesGoldenTest, PolylineIsOpenAndUnfilled)
{
  const std::vector<TPoint> zigzag = {{10, 80}, {30, 20}, {50, 70}, {70, 15}, {110, 60}};
  const QImage image = Render(120, 90, [&](TPage& page) {
    TDataPolyLine polyline(zigzag.data(), static_cast<uint16_t>(zigzag.size()));
    Style(polyline, kRed, 3);
    polyline.SetColor(1, kYellow); // a polyline is never filled
    EXPECT_TRUE(polyline.Paint(&page, TData::kPaintScreen));
  });
  EXPECT_TRUE(MatchesGolden(image, Golden("polyline")));
  // No closing edge between the two ends.
  EXPECT_EQ(image.pixel(60, 70), kWhitePixel);
}

TEST(CurvesGoldenTest, BezierBendsTowardsItsControlPoint)
{
  const QImage image = Render(120, 90, [](TPage& page) {
    TDataBezier curve(10, 80, 110, 70, 40, -30);
    Style(curve, kBlue, 2);
    EXPECT_TRUE(curve.Paint(&page, TData::kPaintScreen));
    TDataBezier flat(10, 85, 110, 85, 60, 85);
    Style(flat, kBlack, 0);
    EXPECT_TRUE(flat.Paint(&page, TData::kPaintScreen));
  });
  EXPECT_TRUE(MatchesGolden(image, Golden("bezier")));
}

TEST(CurvesGoldenTest, SinusoidWithSeveralCyclesFromAQuadrant)
{
  const QImage image = Render(140, 70, [](TPage& page) {
    TDataSin wave(10, 10, 120, 50);
    wave.SetQuarters(10);
    wave.SetStartQuarter(1);
    wave.Resample();
    Style(wave, kGreen, 2);
    EXPECT_TRUE(wave.Paint(&page, TData::kPaintScreen));
  });
  EXPECT_TRUE(MatchesGolden(image, Golden("sinusoid")));
}

TEST(CurvesGoldenTest, HighlightsMarkTheVertexBeingEntered)
{
  const std::vector<TPoint> points = {{10, 40}, {40, 10}, {70, 40}};
  const QRect aroundLast(62, 32, 17, 17); // the cross is 16 units across
  auto render = [&](uint16_t dragMode) {
    return Render(90, 60, [&](TPage& page) {
      page.SetDragMode(dragMode);
      TDataPolyLine polyline(points.data(), static_cast<uint16_t>(points.size()));
      EXPECT_TRUE(polyline.Paint(&page, TData::kPaintToggleOutline));
      EXPECT_TRUE(polyline.TestState(TData::kSelected));
    });
  };
  const QImage entering = render(CM_OBJ_ADD_DELETE_POINTS);
  const QImage moving = render(CM_OBJ_POSITION);
  EXPECT_GT(CountNotWhite(entering, aroundLast), CountNotWhite(moving, aroundLast) + 8);

  // A polygon of two vertices still shows its one edge.
  const QImage twoVertices = Render(90, 60, [](TPage& page) {
    const TPoint edge[] = {{10, 10}, {80, 50}};
    TDataPolygone polygon(edge, 2);
    polygon.Paint(&page, TData::kPaintToggleOutline);
  });
  EXPECT_GT(CountNotWhite(twoVertices, twoVertices.rect()), 40);
}

TEST(CurvesGoldenTest, ASinusoidCopyPaintsLikeItsOriginal)
{
  TDataSin wave(10, 10, 60, 30);
  std::unique_ptr<TData> later(wave.Clone(nullptr, 1));
  const QImage original =
      Render(90, 60, [&](TPage& page) { EXPECT_TRUE(wave.Paint(&page, TData::kPaintScreen)); });
  const QImage copy =
      Render(90, 60, [&](TPage& page) { EXPECT_TRUE(later->Paint(&page, TData::kPaintScreen)); });
  EXPECT_GT(CountNotWhite(copy, copy.rect()), 60);
  EXPECT_EQ(copy, original);
}

TEST(CurvesGoldenTest, AWaveDenserThanItsPenDrawsAsASolidBand)
{
  // 400 quarter cycles over 400 units at 25 %: a pixel holds four.
  TDataSin wave(40, 40, 400, 40);
  wave.SetQuarters(400);
  wave.Resample();
  const QImage image =
      Render(150, 40, 25, [&](TPage& page) { EXPECT_TRUE(wave.Paint(&page, TData::kPaintOutput)); });
  const QRect band(10, 10, 100, 10);
  EXPECT_EQ(CountNotWhite(image, band), 100 * 10);
}

} // namespace
