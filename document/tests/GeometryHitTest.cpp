#include "Geometry.h"

#include <gtest/gtest.h>

TEST(HitSegment, ToleranceFollowsStrokeWidth)
{
  const TPoint a{0, 0}, b{100, 0};
  EXPECT_TRUE(HitSegment(50, 0, a, b, 1));
  EXPECT_TRUE(HitSegment(50, -1, a, b, 1)) << "tolerance 1/2 + 1 = 1";
  EXPECT_FALSE(HitSegment(50, 1, a, b, 1)) << "the grown box excludes its bottom edge";
  EXPECT_FALSE(HitSegment(50, -2, a, b, 1));
  EXPECT_TRUE(HitSegment(50, -3, a, b, 4)) << "tolerance 4/2 + 1 = 3";
  EXPECT_TRUE(HitSegment(50, 2, a, b, 4));
  EXPECT_FALSE(HitSegment(50, -4, a, b, 4));
  EXPECT_TRUE(HitSegment(50, -1, a, b, 0)) << "width 0 counts as 1";
  EXPECT_FALSE(HitSegment(102, 0, a, b, 1)) << "beyond the end, outside the grown box";
}

TEST(HitSegment, DiagonalAndDegenerateSegments)
{
  const TPoint a{0, 0}, b{100, 100};
  EXPECT_TRUE(HitSegment(50, 51, a, b, 1));
  EXPECT_FALSE(HitSegment(50, 60, a, b, 1)) << "inside the box but far from the line";
  const TPoint p{10, 10};
  EXPECT_TRUE(HitSegment(10, 10, p, p, 1));
  EXPECT_TRUE(HitSegment(9, 9, p, p, 1)) << "a point-like segment is hit near its point";
  EXPECT_FALSE(HitSegment(12, 10, p, p, 1));
}

TEST(DirectionDegrees, CounterClockwiseOnThePage)
{
  EXPECT_EQ(DirectionDegrees({0, 0}, {10, 0}), 0);
  EXPECT_EQ(DirectionDegrees({0, 0}, {0, -10}), 90) << "up the page is 90";
  EXPECT_EQ(DirectionDegrees({0, 0}, {-10, 0}), 180);
  EXPECT_EQ(DirectionDegrees({0, 0}, {0, 10}), 270);
  EXPECT_EQ(DirectionDegrees({0, 0}, {10, 10}), 315);
  EXPECT_EQ(DirectionDegrees({5, 5}, {5, 5}), 0);
}

TEST(MayTurnInto, NeverRulesOutAPointThatTurnsIntoTheBox)
{
  // A box beside its pivot and one around it, turned by many angles: every
  // point of a grid that lands in the box after the turn must pass.
  struct Box
  {
    TPoint pivot;
    int32_t l, t, r, b;
  };
  int32_t ruledOut = 0;
  for (const Box& box : {Box{{50, 50}, 50, 50, 90, 65}, Box{{0, 0}, -20, -5, 30, 12}}) {
    for (int32_t angle = 0; angle < 360; angle += 15) {
      for (int32_t y = -120; y <= 180; y += 3) {
        for (int32_t x = -120; x <= 180; x += 3) {
          const TPoint p{x, y};
          if (MayTurnInto(p, box.pivot, box.l, box.t, box.r, box.b))
            continue;
          ++ruledOut;
          const TPoint turned = RotatePoint(p, box.pivot, -angle);
          EXPECT_FALSE(turned.x >= box.l && turned.x < box.r && turned.y >= box.t && turned.y < box.b)
              << x << "," << y << " at " << angle;
        }
      }
    }
  }
  EXPECT_GT(ruledOut, 0) << "far points are ruled out";
  EXPECT_FALSE(MayTurnInto({2000000000, 0}, {-2000000000, 0}, -2000000000, 0, -1999999990, 10));
}
