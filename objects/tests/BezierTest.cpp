#include "CurvesTestSupport.h"

#include "CommandIds.h"
#include "Messages.h"
#include "StringTable.h"
#include "TDataBezier.h"

#include <memory>
#include <string>

namespace {

using namespace curves_test;

TEST(BezierTest, SampleCountFollowsTheControlPolygonAndThePen)
{
  // Control polygon 100 + 100 units long: one inner sample per four pen
  // widths, plus the two ends.
  TDataBezier thin(0, 0, 100, 100, 100, 0);
  ASSERT_EQ(thin.Samples().size(), 52u);
  EXPECT_EQ(thin.Samples().front(), (TPoint{0, 0}));
  EXPECT_EQ(thin.Samples().back(), (TPoint{100, 100}));
  // Inner sample i lies at t = i / 52: the last inner one, at t = 50 / 52,
  // is still well short of the end.
  EXPECT_EQ(thin.Samples()[1], (TPoint{4, 0}));
  EXPECT_EQ(thin.Samples()[26], (TPoint{75, 25}));
  EXPECT_EQ(thin.Samples()[50], (TPoint{100, 92}));
  EXPECT_EQ(Ltrb(thin), "(0, 0, 100, 100)");

  TDataBezier thick(0, 0, 100, 100, 100, 0);
  TPen pen = thick.GetPen();
  pen.SetWidth(10);
  thick.Message(MSG_TAKE_PEN, 0, 0, &pen);
  EXPECT_EQ(thick.Samples().size(), 7u);

  // Three points in one place still make one inner sample.
  TDataBezier dot(40, 50, 40, 50, 40, 50);
  ASSERT_EQ(dot.Samples().size(), 3u);
  EXPECT_EQ(dot.Samples()[1], (TPoint{40, 50}));
  EXPECT_EQ(Ltrb(dot), "(40, 50, 40, 50)");
  EXPECT_TRUE(dot.Contains(39, 49));
  EXPECT_FALSE(dot.Contains(42, 50));

  // The longest control polygons are capped.
  TDataBezier huge(0, 0, 20000, 0, 10000, 0);
  EXPECT_EQ(huge.Samples().size(), static_cast<size_t>(TDataBezier::kMaxSteps + 2));

  // A flat curve keeps a flat rectangle.
  TDataBezier flat(0, 10, 100, 10, 50, 10);
  EXPECT_EQ(Ltrb(flat), "(0, 10, 100, 10)");

  TDataBezier blank;
  EXPECT_TRUE(blank.Samples().empty());
}

TEST(BezierTest, HitOnlyNearTheCurve)
{
  TDataBezier curve(0, 0, 100, 100, 100, 0);
  EXPECT_TRUE(curve.Contains(75, 25));
  EXPECT_TRUE(curve.Contains(75, 26));
  EXPECT_FALSE(curve.Contains(100, 0));  // the control point is off the curve
  EXPECT_FALSE(curve.Contains(0, 100));
  EXPECT_FALSE(curve.Contains(200, 200));
}

TEST(BezierTest, MovingSizingAndTheirLimits)
{
  TDataBezier curve(0, 0, 100, 100, 100, 0);
  EXPECT_FALSE(curve.Offset(0, 0));
  EXPECT_TRUE(curve.Offset(10, 20));
  EXPECT_EQ(curve.GetStart(), (TPoint{10, 20}));
  EXPECT_EQ(curve.GetControl(), (TPoint{110, 20}));
  EXPECT_EQ(curve.Samples()[50], (TPoint{110, 112}));
  EXPECT_EQ(Ltrb(curve), "(10, 20, 110, 120)");

  // Resize moves the point the handle chooses.
  curve.Resize(5, 5);
  EXPECT_EQ(curve.GetEnd(), (TPoint{115, 125}));
  curve.SetHandle(TDataBezier::kHandleStart);
  curve.Resize(-10, -20);
  EXPECT_EQ(curve.GetStart(), (TPoint{0, 0}));
  curve.SetHandle(TDataBezier::kHandleControl);
  curve.Resize(0, -10);
  EXPECT_EQ(curve.GetControl(), (TPoint{110, 10}));
  EXPECT_EQ(curve.Samples().front(), (TPoint{0, 0}));
  EXPECT_EQ(curve.Samples().back(), (TPoint{115, 125}));

  // Sizing asks about the point that moves: bending near the page's edge
  // is allowed even when the end is at it.
  TDataBezier edge(700, 100, 790, 100, 745, 50);
  TRect paper(0, 0, 800, 1000);
  EXPECT_EQ(edge.Message(MSG_MAY_RESIZE, 0, 0, nullptr), 2u);
  EXPECT_EQ(edge.Message(MSG_MAY_RESIZE, 20, 0, nullptr), 0u);
  EXPECT_EQ(edge.Message(MSG_MAY_RESIZE, 20, 0, &paper), 0u);
  EXPECT_EQ(edge.Message(MSG_MAY_RESIZE, 10, 900, &paper), 1u);
  EXPECT_EQ(edge.Message(MSG_MAY_RESIZE, 10, 901, &paper), 0u);
  edge.SetHandle(TDataBezier::kHandleControl);
  EXPECT_EQ(edge.Message(MSG_MAY_RESIZE, 20, 0, &paper), 1u);
  EXPECT_EQ(edge.Message(MSG_MAY_RESIZE, 0, -51, &paper), 0u);
}

TEST(BezierTest, KindRectangleModesAndClone)
{
  TDataBezier curve(50, 60, 150, 160, 150, 60);
  EXPECT_STREQ(LoadStr(curve.Message(MSG_TYPE_NAME, 0, 0, nullptr)), "Bezier");
  EXPECT_EQ(curve.Message(MSG_TYPE_NAME, 0, 0, nullptr), 29291u);
  EXPECT_EQ(curve.Message(MSG_MASK_A, 0, 0, nullptr), 0x407u);
  EXPECT_EQ(curve.Message(MSG_MASK_B, 0, 0, nullptr), 0x30u);

  TRect r;
  curve.GetRect(r, 3);
  EXPECT_EQ(Ltrb(r), "(50, 60, 100, 100)");
  TPen pen = curve.GetPen();
  pen.SetWidth(4);
  curve.Message(MSG_TAKE_PEN, 0, 0, &pen);
  curve.GetRect(r, 5);
  EXPECT_EQ(Ltrb(r), "(44, 54, 156, 166)");

  // The position is the start: setting back what was read is no move.
  TDataBezier turned(150, 160, 50, 60, 150, 60);
  turned.GetRect(r, 3);
  turned.SetRect(r, 3);
  EXPECT_EQ(turned.GetStart(), (TPoint{150, 160}));
  turned.SetRect(TRect(0, 0, 1, 1), 3);
  EXPECT_EQ(turned.GetStart(), (TPoint{0, 0}));
  EXPECT_EQ(turned.GetEnd(), (TPoint{-100, -100}));
  turned.SetRect(TRect(5, 5, 9, 9), 0);
  EXPECT_EQ(turned.GetStart(), (TPoint{0, 0}));

  curve.SetHandle(TDataBezier::kHandleControl);
  std::unique_ptr<TData> copy(curve.Clone(nullptr, 0));
  ASSERT_TRUE(copy->IsA(kTDataBezier));
  auto* clone = static_cast<TDataBezier*>(copy.get());
  EXPECT_EQ(clone->GetControl(), (TPoint{150, 60}));
  EXPECT_EQ(clone->GetPen().GetWidth(), 4);
  EXPECT_EQ(clone->Samples(), curve.Samples());
  EXPECT_EQ(clone->GetHandle(), 0);
}

TEST(BezierTest, RecordsRoundTripAndRebuildTheSamples)
{
  TDataBezier curve(0, 0, 100, 100, 100, 0);
  curve.SetLayers(1);
  const std::string text = Written(curve);
  EXPECT_EQ(text.substr(0, text.find('\t')), "TDataBezier 1 0 0 100 100 100 0 0\n");
  EXPECT_EQ(text.substr(text.rfind('\t')), "\tTRect 0 0 0 100 100\n");
  auto back = ReadBack<TDataBezier>(text);
  EXPECT_EQ(Written(*back), text);
  EXPECT_EQ(back->Samples(), curve.Samples());
  EXPECT_EQ(back->GetLayers(), 1);

  // The first records held a pen of their own; newer ones may carry more.
  auto old = ReadBack<TDataBezier>("TDataBezier 0 0 0 100 100 100 0 0\n\tTPen 0 0 10 10 255\n"
                                     "\tTData 1 0 8 0 255 4294967295\n\tTRect 0 0 0 0 0\n");
  EXPECT_EQ(old->GetPen().GetWidth(), 10);
  EXPECT_EQ(old->Samples().size(), 7u);
  EXPECT_EQ(Ltrb(*old), "(0, 0, 100, 100)");
  auto newer = ReadBack<TDataBezier>("TDataBezier 2 1 2 3 4 5 6 0 77 78\n\tTData 3 0 8 0\n\tTPen 0 0 1 1 0\n"
                                       "\tTBrush 0 1 0 0\n\tTRect 0 0 0 0 0\n");
  EXPECT_EQ(newer->GetControl(), (TPoint{5, 6}));
  EXPECT_EQ(Written(*newer).substr(0, 34), "TDataBezier 1 1 2 3 4 5 6 0\n\tTData");

  TDataBezier other;
  EXPECT_EQ(LeftUnread(other, "TDataSin 1 4 0\n"), 15u);
}

class BezierCommandTest : public CurvesTest
{
};

TEST_F(BezierCommandTest, CurveShapeDragsTheControlPoint)
{
  TDataBezier curve(100, 100, 300, 100, 200, 100);
  input.Drag(0, -80, 4);
  input.LeftUp();
  EXPECT_EQ(curve.ContextCommand(&client, CM_OBJ_CURVE_SHAPE), CM_OBJ_CURVE_SHAPE);
  EXPECT_EQ(curve.GetControl(), (TPoint{200, 20}));
  EXPECT_EQ(curve.GetStart(), (TPoint{100, 100}));
  EXPECT_EQ(curve.GetEnd(), (TPoint{300, 100}));
  EXPECT_EQ(curve.GetHandle(), 0);
  ASSERT_EQ(curve.Samples().size(), 66u);
  EXPECT_EQ(curve.Samples()[33], (TPoint{200, 60}));
  ExpectViewRestored();

  input.Drag(0, 50);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(curve.ContextCommand(&client, CM_OBJ_CURVE_SHAPE), 0);
  EXPECT_EQ(curve.GetControl(), (TPoint{200, 20}));
  ExpectViewRestored();
}

TEST_F(BezierCommandTest, PositionAndSizeMoveTheCurveAndItsEnd)
{
  TDataBezier curve(100, 100, 300, 100, 200, 20);
  input.Drag(50, 50);
  input.LeftUp();
  EXPECT_EQ(curve.ContextCommand(&client, CM_OBJ_SIZE), CM_OBJ_SIZE);
  EXPECT_EQ(curve.GetEnd(), (TPoint{350, 150}));
  EXPECT_EQ(curve.GetControl(), (TPoint{200, 20}));

  input.Drag(-20, 30);
  input.Char(VK_RETURN_);
  EXPECT_EQ(curve.ContextCommand(&client, CM_OBJ_POSITION), CM_OBJ_POSITION);
  EXPECT_EQ(curve.GetStart(), (TPoint{80, 130}));
  EXPECT_EQ(curve.GetEnd(), (TPoint{330, 180}));
  EXPECT_EQ(curve.Samples().front(), (TPoint{80, 130}));
  ExpectViewRestored();
}

TEST_F(BezierCommandTest, CreationDragsTheEndThenBendsTheCurve)
{
  client.SetLayers(4);
  input.Click(100, 100);
  input.Drag(200, 0);
  input.LeftUp();
  input.Drag(0, -100);
  input.LeftUp();
  auto curve = CreateInteractively<TDataBezier>(kTDataBezier);
  ASSERT_TRUE(curve);
  EXPECT_EQ(curve->GetStart(), (TPoint{100, 100}));
  EXPECT_EQ(curve->GetEnd(), (TPoint{300, 100}));
  // The control point started half-way between the ends.
  EXPECT_EQ(curve->GetControl(), (TPoint{200, 0}));
  EXPECT_EQ(curve->GetLayers(), 4);
  EXPECT_EQ(curve->GetHandle(), 0);
  EXPECT_EQ(Ltrb(*curve), "(100, 50, 300, 100)");
  ExpectViewRestored();

  auto blank = Made<TDataBezier>(CreateObject(kTDataBezier, nullptr, 0));
  ASSERT_TRUE(blank);
  EXPECT_EQ(blank->GetEnd(), (TPoint{0, 0}));
}

TEST_F(BezierCommandTest, CancellingCreationAtAnyStepLeavesNothing)
{
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(CreateObject(kTDataBezier, &client, 0), nullptr);
  input.Click(100, 100);
  input.Drag(200, 0);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(CreateObject(kTDataBezier, &client, 0), nullptr);
  input.Click(100, 100);
  input.Drag(200, 0);
  input.LeftUp();
  input.Drag(0, -100);
  input.RightUp();
  EXPECT_EQ(CreateObject(kTDataBezier, &client, 0), nullptr);
  input.Click(100, 100);
  input.Drag(200, 0);
  input.LeftUp();
  EXPECT_EQ(CreateObject(kTDataBezier, &client, 0), nullptr);
  EXPECT_EQ(input.PendingMessages(), 0);
  ExpectViewRestored();
}

}  // namespace
