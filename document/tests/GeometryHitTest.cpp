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
