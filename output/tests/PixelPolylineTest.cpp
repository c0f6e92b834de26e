#include "PixelPolyline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

namespace {

// The highest and lowest y the polyline's points reach in each pixel
// column.
std::map<int, std::pair<double, double>> ColumnSpans(const QPolygonF& points)
{
  std::map<int, std::pair<double, double>> spans;
  for (const QPointF& p : points) {
    const int column = static_cast<int>(std::floor(p.x()));
    auto [at, added] = spans.emplace(column, std::make_pair(p.y(), p.y()));
    if (!added) {
      at->second.first = std::min(at->second.first, p.y());
      at->second.second = std::max(at->second.second, p.y());
    }
  }
  return spans;
}

} // namespace

TEST(PixelPolyline, AnOrdinaryLineKeepsEveryPoint)
{
  const QPolygonF line({{0, 0}, {10.5, 3}, {10.7, 20}, {40, 20}, {40, 60}});
  EXPECT_EQ(ThinForPixels(line), line);
}

TEST(PixelPolyline, AZigzagOfManyPointsPerColumnKeepsFourAColumnAndTheSameReach)
{
  // 20 000 points between the top and the bottom of 100 columns.
  QPolygonF zigzag;
  for (int i = 0; i < 20000; ++i)
    zigzag << QPointF(i * 100.0 / 20000, (i % 2) ? 300.0 + (i % 7) : 0.0 + (i % 5));
  const QPolygonF kept = ThinForPixels(zigzag);
  EXPECT_LE(kept.size(), 4 * 100);
  EXPECT_EQ(kept.first(), zigzag.first());
  EXPECT_EQ(kept.last(), zigzag.last());
  EXPECT_EQ(ColumnSpans(kept), ColumnSpans(zigzag));
  // Still in the order the polyline passes: x never goes back.
  for (qsizetype i = 1; i < kept.size(); ++i)
    EXPECT_GE(kept[i].x(), kept[i - 1].x());
}

TEST(PixelPolyline, ATangleIsCoveredColumnByColumnAndACurveIsNot)
{
  QPolygonF zigzag;
  for (int i = 0; i < 4000; ++i)
    zigzag << QPointF(i * 100.0 / 4000, (i % 2) ? 200.0 : 0.0);
  const QPolygonF thin = ThinForPixels(zigzag);
  ASSERT_TRUE(IsTangle(zigzag, 1));
  const QVector<QRectF> columns = TangleColumns(thin, 1);
  EXPECT_EQ(columns.size(), 100);
  for (const QRectF& column : columns) {
    EXPECT_LE(column.top(), 0.0);
    EXPECT_GE(column.bottom(), 200.0);
  }
  // A finely sampled gentle curve lays down little ink: it stays a line.
  QPolygonF curve;
  for (int i = 0; i < 4000; ++i)
    curve << QPointF(i * 100.0 / 4000, 50 + 40 * std::sin(i / 600.0));
  EXPECT_FALSE(IsTangle(curve, 1));
}

TEST(PixelPolyline, ClippingToTheViewKeepsThePiecesInsideWithTheLengthBeforeThem)
{
  const QRectF view(0, 0, 100, 100);
  // In, out over the right edge, back in, and a last segment wholly inside.
  const QPolygonF line({{-50, 10}, {50, 10}, {150, 10}, {150, 60}, {50, 60}, {40, 60}});
  const std::vector<ViewRun> runs = ClipToView(line, view);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].points, QPolygonF({{0, 10}, {50, 10}, {100, 10}}));
  EXPECT_DOUBLE_EQ(runs[0].before, 50);
  EXPECT_EQ(runs[1].points, QPolygonF({{100, 60}, {50, 60}, {40, 60}}));
  EXPECT_DOUBLE_EQ(runs[1].before, 200 + 50 + 50);
  // Wholly outside, and a segment that passes a corner without entering.
  EXPECT_TRUE(ClipToView(QPolygonF({{-10, -10}, {-10, 200}, {300, 200}}), view).empty());
  EXPECT_TRUE(ClipToView(QPolygonF{QPointF(90, -20), QPointF(130, 20)}, view).empty());
  // A line far longer than the view gives only what crosses it.
  const std::vector<ViewRun> far = ClipToView(QPolygonF{QPointF(-2e9, 50), QPointF(2e9, 50)}, view);
  ASSERT_EQ(far.size(), 1u);
  ASSERT_EQ(far[0].points.size(), 2);
  EXPECT_NEAR(far[0].points[0].x(), 0, 1e-3);
  EXPECT_NEAR(far[0].points[1].x(), 100, 1e-3);
  EXPECT_DOUBLE_EQ(far[0].before, 2e9);
}
