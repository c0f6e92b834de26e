#include "ShapeTestSupport.h"

#include "CommandIds.h"
#include "RenderTestSupport.h"
#include "TDataRectangle.h"
#include "TPolyRectangle.h"
#include "TestSupport.h"

namespace {

using namespace shape_test;

// ---- the rounded rectangle ----

TEST(RoundedRectangleTest, NewObjectsHaveRadiiOfTen)
{
  TDataRectangle r(10, 20, 30, 40);
  EXPECT_TRUE(SameRect(Bounds(r), TRect(10, 20, 40, 60)));
  EXPECT_EQ(r.GetCornerWidth(), 10);
  EXPECT_EQ(r.GetCornerHeight(), 10);
  EXPECT_TRUE(r.Contains(25, 40));
  EXPECT_FALSE(r.Contains(40, 40));
}

TEST(RoundedRectangleTest, BothRadiiZeroDrawAPlainRectangle)
{
  TDataRectangle r(10, 5, 40, 30);
  r.SetCorners(0, 0);
  r.GetPen() = TPen(0, 3, TPen::kSolid);
  r.SetColor(1, 0x00FFFF);
  const QImage object = Render(60, 40, [&](TPage& page) { r.Paint(&page, TData::kPaintScreen); });
  const QImage plain = Render(60, 40, [&](TPage& page) {
    page.SelectPen(r.GetPen());
    page.SelectBrush(r.GetBrush());
    page.Rectangle(TRect(10, 5, 50, 35));
  });
  EXPECT_TRUE(CompareImages(object, plain, 0).same);
  // With radii the corners stay empty.
  r.SetCorners(8, 8);
  const QImage rounded = Render(60, 40, [&](TPage& page) { r.Paint(&page, TData::kPaintScreen); });
  EXPECT_EQ(rounded.pixel(10, 5), 0xFFFFFFFFu);
  EXPECT_NE(plain.pixel(10, 5), 0xFFFFFFFFu);
}

TEST(RoundedRectangleTest, RecordRoundTripsAndReadsOlderVersions)
{
  TDataRectangle r(100, 100, 200, 100);
  r.SetCorners(20, 5);
  const std::string text = Written(r);
  EXPECT_EQ(FirstLine(text), "TDataRectangle 2 20 5");
  TDataRectangle back;
  EXPECT_EQ(LeftUnread(back, text), 0u);
  EXPECT_EQ(Written(back), text);

  // Version 1: radii, then the pen and the brush before the common part.
  const std::string v1 = "TDataRectangle 1 3 4\n\tTPen 0 2 5 5 16\n\tTBrush 0 2 32 4\n"
                         "\tTData 2 0 8 0 16 32\n\tTRect 0 1 2 30 40\n";
  TDataRectangle old;
  EXPECT_EQ(LeftUnread(old, v1), 0u);
  EXPECT_EQ(old.GetCornerWidth(), 3);
  EXPECT_EQ(old.GetPen().GetWidth(), 5);
  EXPECT_TRUE(SameRect(Bounds(old), TRect(1, 2, 30, 40)));
  // Version 0 has no radii: they stay at 10.
  const std::string v0 = "TDataRectangle 0\n\tTPen 0 0 1 1 0\n\tTBrush 0 1 0 0\n\tTData 2 0 8 0 0 0\n"
                         "\tTRect 0 1 2 30 40\n";
  TDataRectangle oldest;
  EXPECT_EQ(LeftUnread(oldest, v0), 0u);
  EXPECT_EQ(oldest.GetCornerWidth(), 10);
  // A newer version's extra fields are dropped.
  std::string newer = text;
  newer.replace(0, FirstLine(text).size(), "TDataRectangle 3 20 5 99");
  EXPECT_EQ(Written(*ReadBack<TDataRectangle>(newer)), text);
}

// ---- the turnable rectangle ----

TEST(TurnedRectangleTest, AngleIsKeptModuloThreeSixtyWithItsSign)
{
  TPolyRectangle r(100, 100, 50, 20, 370);
  EXPECT_EQ(r.GetAngle(), 10);
  EXPECT_EQ(r.Message(MSG_SET_ANGLE, 10, 0, nullptr), 0u);
  EXPECT_EQ(r.Message(MSG_SET_ANGLE, 730, 0, nullptr), 1u);
  EXPECT_EQ(r.GetAngle(), 10);
  EXPECT_EQ(r.Message(MSG_SET_ANGLE, -90, 0, nullptr), 1u);
  EXPECT_EQ(r.GetAngle(), -90);
  EXPECT_EQ(static_cast<int32_t>(r.Message(MSG_GET_ANGLE, 0, 0, nullptr)), -90);
  EXPECT_TRUE(r.IsA(kTDataRectangle));
  EXPECT_TRUE(r.IsA(kTPolyRectangle));
}

TEST(TurnedRectangleTest, CornersTurnAboutTheTopLeftCorner)
{
  TPolyRectangle r(100, 100, 40, 20, 90);
  TPoint p;
  ASSERT_EQ(r.GetCorners().Count(), 4);
  r.GetCorners().GetPoint(1, p);
  EXPECT_EQ(p, (TPoint{100, 60})); // the top side now points up
  r.GetCorners().GetPoint(3, p);
  EXPECT_EQ(p, (TPoint{120, 100}));
  EXPECT_TRUE(SameRect(Bounds(r), TRect(100, 60, 120, 100)));
  TRect frame;
  r.GetRect(frame, kRectFrame);
  EXPECT_TRUE(SameRect(frame, TRect(100, 100, 140, 120)));
}

TEST(TurnedRectangleTest, ResizeFollowsTheFramesOwnSides)
{
  // At 90 degrees a drag to the right is a drag down the frame.
  TPolyRectangle r(100, 100, 40, 20, 90);
  r.Resize(10, 0);
  EXPECT_TRUE(SameRect(r.GetFrame(), TRect(100, 100, 140, 130)));

  // -90 sizes as 270 does.
  TPolyRectangle minus(100, 100, 40, 20, -90);
  TPolyRectangle plus(100, 100, 40, 20, 270);
  minus.Resize(10, 7);
  plus.Resize(10, 7);
  EXPECT_TRUE(SameRect(minus.GetFrame(), plus.GetFrame()));
  EXPECT_TRUE(SameRect(minus.GetFrame(), TRect(100, 100, 147, 110)));

  TPolyRectangle half(100, 100, 40, 20, 180);
  half.Resize(-5, -5);
  EXPECT_TRUE(SameRect(half.GetFrame(), TRect(100, 100, 145, 125)));
  // Never past the opposite side.
  TPolyRectangle flat(100, 100, 40, 20, 0);
  EXPECT_TRUE(flat.Resize(-50, 0));
  EXPECT_EQ(flat.GetFrame().Width(), 0);
}

TEST(TurnedRectangleTest, HitInsideTheTurnedOutlineOnly)
{
  TPolyRectangle r(100, 100, 100, 20, 45);
  // Along the middle of the turned frame.
  EXPECT_TRUE(r.Contains(142, 72));
  EXPECT_TRUE(r.Contains(101, 99));
  // Empty corners of the bounding box.
  EXPECT_TRUE(r.TRect::Contains(r.left + 3, r.top + 3));
  EXPECT_FALSE(r.Contains(r.left + 3, r.top + 3));
  EXPECT_TRUE(r.TRect::Contains(r.right - 3, r.bottom - 3));
  EXPECT_FALSE(r.Contains(r.right - 3, r.bottom - 3));
  // A thick pen widens the hit area by half its width.
  TPolyRectangle flat(100, 100, 50, 20, 0);
  EXPECT_FALSE(flat.Contains(97, 110));
  flat.SetPenWidth(6);
  EXPECT_TRUE(flat.Contains(97, 110));
}

TEST(TurnedRectangleTest, MovingAndPlacing)
{
  TPolyRectangle r(100, 100, 40, 20, 90);
  EXPECT_FALSE(r.Offset(0, 0));
  EXPECT_TRUE(r.Offset(10, 10));
  EXPECT_TRUE(SameRect(r.GetFrame(), TRect(110, 110, 150, 130)));
  // Mode 3 places the bounding box's corner.
  r.SetRect(TRect(0, 0, 0, 0), kRectPosition);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_TRUE(SameRect(r.GetFrame(), TRect(0, 40, 40, 60)));
  // Other modes give the unturned frame.
  r.SetRect(TRect(10, 10, 20, 50), kRectFrame);
  EXPECT_TRUE(SameRect(r.GetFrame(), TRect(10, 10, 20, 50)));
  EXPECT_EQ(r.GetAngle(), 90);
}

TEST(TurnedRectangleTest, RecordRecomputesTheCorners)
{
  TPolyRectangle r(100, 100, 40, 20, 30);
  r.SetCorners(0, 0);
  const std::string text = Written(r);
  EXPECT_EQ(FirstLine(text), "TPolyRectangle 0 30");
  EXPECT_NE(text.find("\n\tTRect 0 100 100 140 120\n\tTPolygone 0 4 "), std::string::npos);
  EXPECT_NE(text.find("\n\tTDataRectangle 2 0 0\n\tTData 3 "), std::string::npos);
  TPolyRectangle back;
  EXPECT_EQ(LeftUnread(back, text), 0u);
  EXPECT_EQ(Written(back), text);

  // Damaged stored corners do not change the shape.
  std::string damaged = text;
  const size_t at = damaged.find("TPolygone 0 4 ");
  damaged.replace(at, damaged.find('\n', at) - at, "TPolygone 0 6 1 1 2 2 3 3 4 4 5 5 6 6 ");
  TPolyRectangle repaired;
  EXPECT_EQ(LeftUnread(repaired, damaged), 0u);
  EXPECT_EQ(Written(repaired), text);

  std::string newer = text;
  newer.replace(0, FirstLine(text).size(), "TPolyRectangle 1 30 extra");
  EXPECT_EQ(Written(*ReadBack<TPolyRectangle>(newer)), text);
}

// ---- creation and commands on the page view ----

class RectangleViewTest : public ShapeViewTest
{
};

TEST_F(RectangleViewTest, BothKindsArePlacedByACornerAndDragged)
{
  for (int32_t classId : {kTDataRectangle, kTPolyRectangle}) {
    SCOPED_TRACE(classId);
    input.Click(100, 100);
    input.Drag(60, 40, 4);
    input.LeftUp();
    auto made = CreateInteractively<TDataRectangle>(classId);
    ASSERT_TRUE(made);
    EXPECT_TRUE(made->IsA(classId));
    EXPECT_TRUE(SameRect(Bounds(*made), TRect(100, 100, 160, 140)));
    EXPECT_EQ(made->GetLayers(), client.GetLayers());
    ExpectViewRestored();
  }
}

TEST_F(RectangleViewTest, ClickWithoutDragOrCancelLeavesNothing)
{
  for (int32_t classId : {kTDataRectangle, kTPolyRectangle}) {
    SCOPED_TRACE(classId);
    input.Click(100, 100);
    input.LeftUp();
    EXPECT_FALSE(CreateInteractively<TData>(classId));
    ExpectViewRestored();

    // Only wide, not high.
    input.Click(100, 100);
    input.Drag(50, 0);
    input.LeftUp();
    EXPECT_FALSE(CreateInteractively<TData>(classId));

    input.Char(VK_ESCAPE_);
    EXPECT_FALSE(CreateInteractively<TData>(classId));

    input.Click(100, 100);
    input.Drag(50, 50);
    input.Char(VK_ESCAPE_);
    EXPECT_FALSE(CreateInteractively<TData>(classId));

    input.Click(100, 100);
    input.Drag(50, 50);
    input.RightUp();
    EXPECT_FALSE(CreateInteractively<TData>(classId));
    ExpectViewRestored();
    EXPECT_EQ(input.PendingMessages(), 0);
  }
}

TEST_F(RectangleViewTest, CornersSizeAsksInTheDisplayUnit)
{
  client.GetPage()->SetUnitFactor(0.5f);
  TDataRectangle r(100, 100, 50, 50);
  input.AnswerMenu(CM_OBJ_CORNERS_SIZE);
  input.AnswerValues(std::vector<double>{10, 2.5});
  EXPECT_EQ(r.ContextCommand(&client, 0), CM_OBJ_CORNERS_SIZE);
  ASSERT_EQ(input.dialogs.size(), 2u);
  EXPECT_EQ(input.dialogs[0], "PopupMenu:Rounded Rectangle");
  EXPECT_EQ(input.dialogs[1], "AskValues:Corners Size");
  EXPECT_EQ(input.valueFields[0][0].label, "X:");
  EXPECT_EQ(input.valueFields[0][0].value, 5.0);
  EXPECT_EQ(input.valueFields[0][1].label, "Y:");
  EXPECT_EQ(r.GetCornerWidth(), 20);
  EXPECT_EQ(r.GetCornerHeight(), 5);

  input.AnswerValues(std::nullopt);
  EXPECT_EQ(r.ContextCommand(&client, CM_OBJ_CORNERS_SIZE), 0);
  EXPECT_EQ(r.GetCornerWidth(), 20);
  EXPECT_TRUE(input.OverlayBlank());
}

TEST_F(RectangleViewTest, AngleIsTurnedOnATemporaryAndTakenOnAccept)
{
  TPolyRectangle r(100, 100, 60, 30, 0);
  r.SetLayers(2);
  input.Char(VK_SPACE_);
  input.AnswerValues(std::vector<double>{30});
  EXPECT_EQ(r.ContextCommand(&client, CM_OBJ_ANGLE), CM_OBJ_ANGLE);
  EXPECT_EQ(r.GetAngle(), 30);
  EXPECT_EQ(input.dialogs.back(), "AskValues:Angle");
  // The readout carries the angle.
  EXPECT_NE(input.statusTexts.front().find(" Angle = 0.0\u00b0"), std::string::npos);

  input.Drag(0, -300, 3);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(r.ContextCommand(&client, CM_OBJ_ANGLE), 0);
  EXPECT_EQ(r.GetAngle(), 30);

  input.Drag(-300, 0, 3);
  input.LeftUp();
  EXPECT_EQ(r.ContextCommand(&client, CM_OBJ_ANGLE), CM_OBJ_ANGLE);
  EXPECT_EQ(r.GetAngle(), 105);
  ExpectViewRestored();
}

TEST_F(RectangleViewTest, SizeOfATurnedRectangleWorksOnItsFrame)
{
  TPolyRectangle r(100, 100, 60, 30, 90);
  input.Drag(10, 0);
  input.LeftUp();
  EXPECT_EQ(r.ContextCommand(&client, CM_OBJ_SIZE), CM_OBJ_SIZE);
  EXPECT_TRUE(SameRect(r.GetFrame(), TRect(100, 100, 160, 140)));

  input.Drag(-20, 5);
  input.LeftUp();
  EXPECT_EQ(r.ContextCommand(&client, CM_OBJ_POSITION), CM_OBJ_POSITION);
  EXPECT_TRUE(SameRect(r.GetFrame(), TRect(80, 105, 140, 145)));
  ExpectViewRestored();
}

} // namespace
