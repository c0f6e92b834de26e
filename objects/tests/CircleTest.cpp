#include "ShapeTestSupport.h"

#include "CommandIds.h"
#include "TDataCercle.h"

namespace {

using namespace shape_test;

TDataCercle Part(uint16_t shape, int32_t start, int32_t end)
{
  TDataCercle c(200, 200, 50);
  c.SetShape(shape);
  c.SetAngles(start, end);
  c.SetPenWidth(1);
  return c;
}

TEST(CircleTest, MakingIsoTakesTheMeanSideOnTheSameCentre)
{
  TDataCercle c;
  c.Assign(TRect(100, 100, 140, 160));
  c.SetIso(1);
  EXPECT_TRUE(c.IsNotIso());
  EXPECT_TRUE(SameRect(Bounds(c), TRect(100, 100, 140, 160)));
  c.SetIso(0);
  EXPECT_FALSE(c.IsNotIso());
  EXPECT_TRUE(SameRect(Bounds(c), TRect(95, 105, 145, 155)));
}

TEST(CircleTest, SizingACircleKeepsItRoundAboutItsCentre)
{
  TDataCercle c(200, 200, 20);
  EXPECT_TRUE(c.Resize(3, 4));
  EXPECT_EQ(c.Width(), 45);
  EXPECT_EQ(c.Height(), 45);
  EXPECT_EQ(c.left, 178);
  EXPECT_TRUE(c.Resize(-3, -4));
  EXPECT_TRUE(SameRect(Bounds(c), TRect(180, 180, 220, 220)));
  // A diagonal drag whose parts cancel shrinks when their sum is negative.
  EXPECT_TRUE(c.Resize(6, -8));
  EXPECT_EQ(c.Width(), 30);
  EXPECT_TRUE(c.Resize(-300, -400));
  EXPECT_EQ(c.Width(), 1);
  EXPECT_FALSE(c.Resize(-3, -4));
  EXPECT_FALSE(c.Resize(0, 0));
}

TEST(CircleTest, SizingAnEllipseMovesBothSidesAboutTheCentre)
{
  TDataCercle c(200, 200, 20);
  c.SetIso(1);
  EXPECT_TRUE(c.Resize(10, -50));
  EXPECT_TRUE(SameRect(Bounds(c), TRect(175, 200, 225, 201)));
}

TEST(CircleTest, PieIsHitInsideItsAnglesOnly)
{
  const TDataCercle pie = Part(TDataCercle::kPie, 0, 90);
  EXPECT_TRUE(pie.Contains(220, 180));  // upper right
  EXPECT_FALSE(pie.Contains(180, 220)); // lower left
  EXPECT_FALSE(pie.Contains(180, 180));
  EXPECT_FALSE(pie.Contains(240, 160)); // beyond the curve

  // Equal angles: the whole disc.
  const TDataCercle whole = Part(TDataCercle::kPie, 45, 405);
  EXPECT_TRUE(whole.Contains(180, 220));
  EXPECT_TRUE(whole.Contains(200, 200));

  // A range across 0 degrees.
  const TDataCercle wrapped = Part(TDataCercle::kPie, -45, 45);
  EXPECT_TRUE(wrapped.Contains(230, 210));
  EXPECT_FALSE(wrapped.Contains(170, 200));
}

TEST(CircleTest, ArcAndChordAreHitNearTheirCurve)
{
  for (uint16_t shape : {TDataCercle::kChord, TDataCercle::kArc}) {
    const TDataCercle arc = Part(shape, 0, 180);
    EXPECT_FALSE(arc.Contains(200, 200));
    EXPECT_FALSE(arc.Contains(200, 160));
    EXPECT_TRUE(arc.Contains(200, 151));
    EXPECT_TRUE(arc.Contains(151, 199));
    EXPECT_FALSE(arc.Contains(200, 249)); // on the circle, outside the angles
  }
  // Equal angles draw the whole curve, which is hit all round.
  const TDataCercle ring = Part(TDataCercle::kArc, 30, 30);
  EXPECT_TRUE(ring.Contains(200, 249));
  EXPECT_TRUE(ring.Contains(151, 200));
  EXPECT_FALSE(ring.Contains(200, 200));
}

TEST(CircleTest, EllipseIsHitInsideItsOutline)
{
  TDataCercle wide;
  wide.Assign(TRect(100, 100, 200, 150));
  EXPECT_TRUE(wide.Contains(195, 125));
  EXPECT_TRUE(wide.Contains(150, 101));
  EXPECT_FALSE(wide.Contains(104, 104));
  TDataCercle tall;
  tall.Assign(TRect(100, 100, 150, 200));
  EXPECT_TRUE(tall.Contains(125, 195));
  EXPECT_FALSE(tall.Contains(104, 104));
  TDataCercle flat;
  flat.Assign(TRect(100, 100, 200, 100));
  EXPECT_FALSE(flat.Contains(150, 100));
}

TEST(CircleTest, AnglesThroughMessages)
{
  TDataCercle c;
  EXPECT_EQ(c.Message(MSG_SET_ANGLE, 450, 0, nullptr), 1u);
  EXPECT_EQ(c.GetStartAngle(), 90);
  EXPECT_EQ(c.Message(MSG_SET_ANGLE, -30, CM_OBJ_END_ANGLE, nullptr), 1u);
  EXPECT_EQ(c.GetEndAngle(), -30);
  EXPECT_EQ(c.GetStartAngle(), 90);
  EXPECT_EQ(static_cast<int32_t>(c.Message(MSG_GET_ANGLE, 0, CM_OBJ_END_ANGLE, nullptr)), -30);
  EXPECT_EQ(c.Message(MSG_GET_ANGLE, 0, CM_OBJ_START_ANGLE, nullptr), 90u);
}

TEST(CircleTest, MenuMasksFollowShapeAndIso)
{
  TDataCercle c;
  EXPECT_EQ(c.Message(MSG_TYPE_NAME, 0, 0, nullptr), 29289u);
  EXPECT_EQ(c.Message(MSG_MASK_A, 0, 0, nullptr), 0x40802407u);
  EXPECT_EQ(c.Message(MSG_MASK_B, 0, 0, nullptr), 0x10010u);
  c.SetShape(TDataCercle::kArc);
  c.SetIso(1);
  EXPECT_EQ(c.Message(MSG_MASK_A, 0, 0, nullptr), 0x40002407u);
  EXPECT_EQ(c.Message(MSG_MASK_B, 0, 0, nullptr), 0x3008010u);
  c.SetShape(TDataCercle::kPie);
  EXPECT_EQ(c.Message(MSG_MASK_A, 0, 0, nullptr), 0x40802407u);
}

TEST(CircleTest, PositionIsTheCentre)
{
  TDataCercle c(100, 100, 30);
  c.SetPenWidth(9);
  TRect r;
  c.GetRect(r, kRectPosition);
  EXPECT_TRUE(SameRect(r, TRect(100, 100, 60, 60)));
  c.GetRect(r, kRectDrawing);
  EXPECT_TRUE(SameRect(r, TRect(68, 68, 132, 132)));
  c.SetRect(TRect(300, 400, 0, 0), kRectPosition);
  EXPECT_TRUE(SameRect(Bounds(c), TRect(270, 370, 330, 430)));
}

TEST(CircleTest, RecordRoundTripsAndReadsOlderVersions)
{
  TDataCercle c = Part(TDataCercle::kChord, 30, -60);
  c.SetIso(1);
  const std::string text = Written(c);
  EXPECT_EQ(FirstLine(text), "TDataCercle 3 1 2 30 -60");
  TDataCercle back;
  EXPECT_EQ(LeftUnread(back, text), 0u);
  EXPECT_EQ(Written(back), text);

  const std::string common = text.substr(text.find('\n'));
  // Version 2 knew only circles and ellipses.
  TDataCercle v2;
  EXPECT_EQ(LeftUnread(v2, "TDataCercle 2 1" + common), 0u);
  EXPECT_EQ(v2.GetShape(), TDataCercle::kEllipse);
  EXPECT_EQ(v2.GetStartAngle(), 0);
  EXPECT_EQ(v2.GetEndAngle(), 0);
  EXPECT_TRUE(v2.IsNotIso());
  EXPECT_TRUE(SameRect(Bounds(v2), Bounds(c)));
  // Version 1 carried three fields that are dropped now.
  TDataCercle v1;
  EXPECT_EQ(LeftUnread(v1, "TDataCercle 1 7 8 9" + common), 0u);
  EXPECT_FALSE(v1.IsNotIso());
  // Version 0 kept the pen and the brush apart.
  TDataCercle v0;
  EXPECT_EQ(LeftUnread(v0,
                       "TDataCercle 0 7 8 9\n\tTPen 0 0 4 4 0\n\tTBrush 0 0 255 0\n\tTData 2 0 8 0 0 255\n"
                       "\tTRect 0 0 0 20 20\n"),
            0u);
  EXPECT_EQ(v0.GetPen().GetWidth(), 4);
  EXPECT_EQ(v0.GetColor(1), 255u);

  TDataCercle newer;
  EXPECT_EQ(LeftUnread(newer, "TDataCercle 5 1 2 30 -60 more fields" + common), 0u);
  EXPECT_EQ(Written(newer), text);
}

// ---- creation and commands on the page view ----

class CircleViewTest : public ShapeViewTest
{
};

TEST_F(CircleViewTest, CircleIsPlacedByItsCentreAndSized)
{
  input.Click(300, 300);
  input.Drag(30, 40, 2);
  input.LeftUp();
  auto c = CreateInteractively<TDataCercle>(kTDataCercle);
  ASSERT_TRUE(c);
  EXPECT_TRUE(SameRect(Bounds(*c), TRect(275, 275, 325, 325)));
  EXPECT_EQ(c->GetShape(), TDataCercle::kEllipse);
  EXPECT_EQ(LastReadout(), "X= 300 (+0)  Y= 300 (+0)  L= 50 (+50)  H= 50 (+50)");
  ExpectViewRestored();
}

TEST_F(CircleViewTest, CancelOrAClickWithoutDragLeavesNothing)
{
  input.Char(VK_ESCAPE_);
  EXPECT_FALSE(CreateInteractively<TData>(kTDataCercle));
  input.Click(300, 300);
  input.Drag(30, 40);
  input.Char(VK_ESCAPE_);
  EXPECT_FALSE(CreateInteractively<TData>(kTDataCercle));
  input.Click(300, 300);
  input.Drag(30, 40);
  input.RightUp();
  EXPECT_FALSE(CreateInteractively<TData>(kTDataCercle));
  input.Click(300, 300);
  input.LeftUp();
  EXPECT_FALSE(CreateInteractively<TData>(kTDataCercle));
  EXPECT_EQ(input.PendingMessages(), 0);
  ExpectViewRestored();
}

TEST_F(CircleViewTest, FormatChoosesTheShape)
{
  TDataCercle c(300, 300, 40);
  input.AnswerOption(1);
  EXPECT_EQ(c.ContextCommand(&client, CM_OBJ_FORMAT), CM_OBJ_FORMAT);
  EXPECT_EQ(c.GetShape(), TDataCercle::kPie);
  EXPECT_EQ(input.dialogs.back(), "ChooseOption:Circle Type");

  input.AnswerOption(std::nullopt);
  EXPECT_EQ(c.ContextCommand(&client, CM_OBJ_FORMAT), 0);
  input.AnswerOption(7);
  EXPECT_EQ(c.ContextCommand(&client, CM_OBJ_FORMAT), 0);
  EXPECT_EQ(c.GetShape(), TDataCercle::kPie);
}

TEST_F(CircleViewTest, IsoAndNotIsoFromTheMenu)
{
  TDataCercle c;
  c.Assign(TRect(100, 100, 140, 160));
  c.SetIso(1);
  input.AnswerMenu(CM_OBJ_ISO);
  EXPECT_EQ(c.ContextCommand(&client, 0), CM_OBJ_ISO);
  EXPECT_TRUE(SameRect(Bounds(c), TRect(95, 105, 145, 155)));
  EXPECT_EQ(input.menus.back().title, "Circle");

  input.AnswerMenu(CM_OBJ_NOT_ISO);
  EXPECT_EQ(c.ContextCommand(&client, 0), CM_OBJ_NOT_ISO);
  EXPECT_TRUE(c.IsNotIso());

  // "Iso" is not offered to a circle that is one already.
  c.SetIso(0);
  input.AnswerMenu(CM_OBJ_ISO);
  EXPECT_EQ(c.ContextCommand(&client, 0), 0);
  EXPECT_FALSE(c.IsNotIso());
  EXPECT_TRUE(input.OverlayBlank());
}

TEST_F(CircleViewTest, StartAndEndAnglesAreTurnedOnACopy)
{
  TDataCercle c = Part(TDataCercle::kArc, 10, 100);
  input.Char(VK_SPACE_);
  input.AnswerValues(std::vector<double>{45});
  EXPECT_EQ(c.ContextCommand(&client, CM_OBJ_START_ANGLE), CM_OBJ_START_ANGLE);
  EXPECT_EQ(c.GetStartAngle(), 45);
  EXPECT_EQ(input.valueFields.back()[0].value, 10);

  input.Char(VK_SPACE_);
  input.AnswerValues(std::vector<double>{120});
  EXPECT_EQ(c.ContextCommand(&client, CM_OBJ_END_ANGLE), CM_OBJ_END_ANGLE);
  EXPECT_EQ(c.GetEndAngle(), 120);
  EXPECT_EQ(c.GetStartAngle(), 45);
  EXPECT_EQ(input.valueFields.back()[0].value, 100);

  input.Drag(0, -200);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(c.ContextCommand(&client, CM_OBJ_END_ANGLE), 0);
  EXPECT_EQ(c.GetEndAngle(), 120);
  input.Char(VK_SPACE_);
  input.AnswerValues(std::nullopt);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(c.ContextCommand(&client, CM_OBJ_START_ANGLE), 0);
  EXPECT_EQ(c.GetStartAngle(), 45);
  ExpectViewRestored();
}

} // namespace
