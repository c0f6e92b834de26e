#include "Geometry.h"
#include "TRect.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

std::string Str(const TRect& r)
{
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

} // namespace

TEST(Geometry, RoundHalfAwayFromZeroAndSaturates)
{
  EXPECT_EQ(RoundHalfAway(2.5), 3);
  EXPECT_EQ(RoundHalfAway(-2.5), -3);
  EXPECT_EQ(RoundHalfAway(2.4999), 2);
  EXPECT_EQ(RoundHalfAway(-0.4), 0);
  EXPECT_EQ(RoundHalfAway(1e12), kMax);
  EXPECT_EQ(RoundHalfAway(-1e12), kMin);
  EXPECT_EQ(RoundHalfAway(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(RoundHalfAway(std::numeric_limits<double>::infinity()), kMax);
}

TEST(Geometry, RotatePointTurnsCounterClockwiseOnThePage)
{
  const TPoint c{10, 10};
  EXPECT_EQ(RotatePoint({20, 10}, c, 90), (TPoint{10, 0})) << "right of centre goes up";
  EXPECT_EQ(RotatePoint({20, 10}, c, 180), (TPoint{0, 10}));
  EXPECT_EQ(RotatePoint({20, 10}, c, -90), (TPoint{10, 20}));
  // 45 degrees: 10 * cos 45 = 7.07 -> 7
  EXPECT_EQ(RotatePoint({20, 10}, c, 45), (TPoint{17, 3}));
  // Far-away points must not wrap around.
  EXPECT_EQ(RotatePoint({kMax, 0}, {kMin, 0}, 0), (TPoint{kMax, 0}));
  EXPECT_EQ(RotatePoint({kMax, 0}, {kMin, 0}, 180).x, kMin);
}

TEST(TRect, ConstructionNormalizingAndMeasures)
{
  const TRect raw(10, 20, 0, 5);
  EXPECT_EQ(Str(raw), "10,20,0,5") << "four coordinates are not reordered";
  EXPECT_EQ(raw.Width(), -10);
  EXPECT_EQ(Str(TRect(TPoint{10, 20}, TPoint{0, 5})), "0,5,10,20") << "corners are normalised";

  TRect r(0, 0, 7, -5);
  r.Normalize();
  EXPECT_EQ(Str(r), "0,-5,7,0");
  EXPECT_EQ(r.Center(), (TPoint{3, -3})) << "halves truncate toward zero";
  EXPECT_EQ(TRect(kMin, kMin, kMax, kMax).Width(), kMax) << "saturates instead of wrapping";
}

TEST(TRect, VirtualHitMoveAndResize)
{
  TRect r(0, 0, 10, 10);
  EXPECT_TRUE(r.Contains(0, 0));
  EXPECT_TRUE(r.Contains(9, 9));
  EXPECT_FALSE(r.Contains(10, 5)) << "right edge excluded";
  EXPECT_FALSE(r.Contains(5, 10)) << "bottom edge excluded";

  EXPECT_FALSE(r.Offset(0, 0));
  EXPECT_TRUE(r.Offset(5, -5));
  EXPECT_EQ(Str(r), "5,-5,15,5");

  EXPECT_TRUE(r.Resize(-20, 3));
  EXPECT_EQ(Str(r), "5,-5,5,8") << "right stops at left";
  EXPECT_TRUE(r.Resize(-1, -13)) << "the bottom moved";
  EXPECT_EQ(Str(r), "5,-5,5,-5");
  EXPECT_FALSE(r.Resize(-1, -1)) << "already collapsed on both axes";

  TRect edge(0, 0, kMax - 1, 10);
  edge.Offset(10, 0);
  EXPECT_EQ(edge.right, kMax) << "saturates instead of wrapping";
}

TEST(TRect, SetOperations)
{
  const TRect a(0, 0, 10, 10);
  EXPECT_TRUE(a.Intersects(TRect(9, 9, 20, 20)));
  EXPECT_FALSE(a.Intersects(TRect(10, 0, 20, 10))) << "touching edges do not overlap";
  EXPECT_FALSE(a.Intersects(TRect(5, 5, 5, 8))) << "an empty rectangle meets nothing";

  EXPECT_TRUE(TRect(2, 2, 10, 10).IsInside(a));
  EXPECT_FALSE(TRect(2, 2, 11, 10).IsInside(a));

  TRect u = a;
  u.Union(TRect(-5, 3, 2, 20));
  EXPECT_EQ(Str(u), "-5,0,10,20");
  u.Union(TRect(100, 100, 100, 200));
  EXPECT_EQ(Str(u), "-5,0,10,20") << "an empty rectangle adds nothing";
  TRect empty(3, 3, 3, 3);
  empty.Union(TRect(4, 4, 2, 2));
  EXPECT_EQ(Str(empty), "0,0,0,0");
  empty.Union(a);
  EXPECT_EQ(Str(empty), "0,0,10,10");

  // 100000 x 100000 overflows 32-bit products.
  const TRect big(0, 0, 100000, 100000);
  const TRect bigger(0, 0, 100000, 100001);
  EXPECT_TRUE(big.IsSmallerThan(bigger));
  EXPECT_FALSE(bigger.IsSmallerThan(big));
  EXPECT_TRUE(a.IsSmallerThan(big));
}

TEST(TRect, InflateOverhangAndClamp)
{
  TRect r(0, 0, 10, 10);
  r.Inflate();
  EXPECT_EQ(Str(r), "-1,-1,11,11");
  r.Deflate(3);
  EXPECT_EQ(Str(r), "2,2,8,8");

  int32_t l, rt, t, b;
  EXPECT_EQ(TRect(-3, 2, 12, 15).Overhang(TRect(0, 0, 10, 10), l, rt, t, b),
            TRect::kOverLeft | TRect::kOverRight | TRect::kOverBottom);
  EXPECT_EQ(l, 3);
  EXPECT_EQ(rt, 2);
  EXPECT_EQ(t, 0);
  EXPECT_EQ(b, 5);
  EXPECT_EQ(TRect(1, 1, 9, 9).Overhang(TRect(0, 0, 10, 10), l, rt, t, b), 0);

  int32_t x = -5, y = 20;
  TRect(0, 0, 10, 10).ClampPoint(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 10) << "edges are inclusive";
}

TEST(TRect, RecordRoundTripAndVersions)
{
  TOutStream os;
  WriteFrom(os, TRect(-1, 2, kMax, kMin));
  EXPECT_EQ(os.Data(), "TRect 0 -1 2 2147483647 -2147483648\n");
  TRect back;
  TInStream is(os.Data());
  ReadInto(is, back);
  EXPECT_EQ(Str(back), "-1,2,2147483647,-2147483648");

  TInStream newer("TRect 4 1 2 3 4 5 6\nTRect 0 7 8 9 10\n");
  TRect a, b;
  ReadInto(newer, a);
  ReadInto(newer, b);
  EXPECT_EQ(Str(a), "1,2,3,4");
  EXPECT_EQ(Str(b), "7,8,9,10") << "the newer record's extra fields were skipped";

  TRect kept(1, 1, 1, 1);
  TInStream other("TPen 0 0 1 1 0\n");
  ReadInto(other, kept);
  EXPECT_EQ(other.tellg(), 0) << "another class's record is not consumed";

  TInStream bad("TRect 0 5 6 x 8\n");
  ReadInto(bad, kept);
  EXPECT_EQ(Str(kept), "5,6,1,1") << "values after the fault keep what they had";
  EXPECT_TRUE(bad.fail());
}
