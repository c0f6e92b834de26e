#include "ObjectStream.h"
#include "TPolygone.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Points(const TPolygone& poly)
{
  std::string s;
  for (uint16_t i = 0; i < poly.Count(); ++i) {
    TPoint p;
    poly.GetPoint(i, p);
    s += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
  }
  return s;
}

std::string Record(const TPolygone& poly)
{
  TOutStream os;
  WriteFrom(os, poly);
  return os.Data();
}

} // namespace

TEST(TPolygone, CapacityAndPointAccess)
{
  TPolygone poly(3);
  EXPECT_EQ(poly.Count(), 0);
  EXPECT_TRUE(poly.AppendCopyOfLast());
  EXPECT_TRUE(poly.Append({5, 6}));
  EXPECT_TRUE(poly.AppendCopyOfLast());
  EXPECT_FALSE(poly.Append({7, 8})) << "full";
  EXPECT_EQ(Points(poly), "(0,0)(5,6)(5,6)");

  TPoint p;
  EXPECT_FALSE(poly.GetPoint(3, p));
  EXPECT_FALSE(poly.SetPoint(3, {1, 1}));
  EXPECT_TRUE(poly.RemoveLast());
  EXPECT_TRUE(poly.RemoveLast());
  EXPECT_FALSE(poly.GetPoint(1, p)) << "beyond the count";
  EXPECT_TRUE(poly.SetPoint(2, {9, 9}));
  EXPECT_EQ(Points(poly), "(0,0)(5,6)(9,9)") << "setting raises the count";

  EXPECT_TRUE(poly.SetCapacity(2));
  EXPECT_EQ(poly.Count(), 2) << "shrinking cuts the points in use";
  poly.RemoveLast();
  EXPECT_TRUE(poly.SetCapacity(4));
  EXPECT_TRUE(poly.SetPoint(3, {1, 1}));
  EXPECT_EQ(Points(poly), "(0,0)(0,0)(0,0)(1,1)") << "grown points are zero, even stale ones";

  EXPECT_FALSE(poly.SetCapacity(0));
  EXPECT_EQ(poly.Capacity(), 0);
  EXPECT_EQ(poly.Count(), 0);
  EXPECT_EQ(poly.Points(), nullptr);
  EXPECT_FALSE(poly.RemoveLast());
}

TEST(TPolygone, BulkSettersReverseAndRotate)
{
  const TPoint pts[] = {{0, 0}, {10, 0}, {10, 5}};
  TPolygone poly(3, pts);
  EXPECT_EQ(Points(poly), "(0,0)(10,0)(10,5)");
  EXPECT_FALSE(poly.SetPoints(pts, 0));
  EXPECT_FALSE(poly.SetPoints(pts, 4));
  EXPECT_TRUE(poly.SetPoints(pts + 1, 2));
  EXPECT_EQ(Points(poly), "(10,0)(10,5)");

  poly.Reverse();
  EXPECT_EQ(Points(poly), "(10,5)(10,0)");
  poly.Rotate({0, 0}, 90);
  EXPECT_EQ(Points(poly), "(5,-10)(0,-10)");
  poly.Rotate({0, 0}, 0);
  EXPECT_EQ(Points(poly), "(5,-10)(0,-10)");

  const TPolygone corners(TRect(1, 2, 3, 4));
  EXPECT_EQ(Points(corners), "(1,2)(3,2)(3,4)(1,4)");
  TPolygone six(6);
  EXPECT_FALSE(six.SetRectPoints(3, TRect(0, 0, 1, 1)));
  EXPECT_TRUE(six.SetRectPoints(2, TRect(0, 0, 1, 1)));
  EXPECT_EQ(six.Count(), 6);
  const TPolygone copy(six);
  EXPECT_EQ(Points(copy), Points(six));
  EXPECT_EQ(copy.Capacity(), 6);
}

TEST(TPolygone, BoundsAreNeverEmpty)
{
  const TPoint vertical[] = {{4, 0}, {4, 10}, {4, -3}};
  TRect bounds;
  EXPECT_TRUE(TPolygone(3, vertical).GetBounds(bounds));
  EXPECT_EQ(bounds.left, 4);
  EXPECT_EQ(bounds.top, -3);
  EXPECT_EQ(bounds.Width(), 1);
  EXPECT_EQ(bounds.Height(), 13);

  const TPoint corner[] = {{INT32_MAX, INT32_MAX}};
  EXPECT_TRUE(TPolygone(1, corner).GetBounds(bounds));
  EXPECT_EQ(bounds.Width(), 1) << "widened without wrapping around";
  EXPECT_EQ(bounds.right, INT32_MAX);

  EXPECT_FALSE(TPolygone(4).GetBounds(bounds));
  EXPECT_EQ(bounds.right, 0);
}

TEST(TPolygone, RecordRoundTripAndGrowth)
{
  const TPoint pts[] = {{1, -2}, {30, 40}, {-5, 6}};
  const TPolygone poly(3, pts);
  EXPECT_EQ(Record(poly), "TPolygone 0 3 1 -2 30 40 -5 6 \n");
  EXPECT_EQ(Record(TPolygone(2)), "TPolygone 0 0 \n");

  TPolygone small(1);
  TInStream is(Record(poly));
  ReadInto(is, small);
  EXPECT_EQ(small.Capacity(), 3) << "the capacity grows to the stored count";
  EXPECT_EQ(Points(small), "(1,-2)(30,40)(-5,6)");

  TPolygone longer(5);
  longer.SetPoint(4, {9, 9});
  TInStream shorter("TPolygone 0 2 7 8 9 10 \nTRect 0 1 2 3 4\n");
  ReadInto(shorter, longer);
  EXPECT_EQ(Points(longer), "(7,8)(9,10)") << "the record replaces the earlier points";
  EXPECT_EQ(PeekClassId(shorter), kTRect);

  TInStream newer("TPolygone 2 1 3 4 extra\nTRect 0 1 2 3 4\n");
  ReadInto(newer, longer);
  EXPECT_EQ(Points(longer), "(3,4)");
  EXPECT_EQ(PeekClassId(newer), kTRect);
}

TEST(TPolygone, DamagedRecordsReadSafely)
{
  TPolygone poly;
  TInStream tooMany("TPolygone 0 70000 1 2\n");
  ReadInto(tooMany, poly);
  EXPECT_TRUE(tooMany.fail()) << "a count beyond 16 bits is malformed";
  EXPECT_EQ(poly.Count(), 0);

  TInStream truncated("TPolygone 0 65535 1 2 3 4 5");
  ReadInto(truncated, poly);
  EXPECT_TRUE(truncated.fail());
  EXPECT_EQ(Points(poly), "(1,2)(3,4)") << "the points before the end are kept";

  TInStream bad("TPolygone 0 2 1 2 x 4\n");
  ReadInto(bad, poly);
  EXPECT_EQ(Points(poly), "(1,2)");
}
