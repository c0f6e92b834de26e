#include "CurvesTestSupport.h"

#include "CommandIds.h"
#include "Messages.h"
#include "TDataBezier.h"

#include <memory>
#include <string>

namespace {

using namespace curves_test;

void TakePenWidth(TData& object, int32_t width)
{
  // As the line style command does: the object hears of the new pen.
  TPen pen = object.GetPen();
  pen.SetWidth(width);
  object.Message(MSG_TAKE_PEN, 0, 0, &pen);
}

TEST(BezierTest, SampleCountFollowsTheControlPolygonAndThePen)
{
  // Control polygon 100 + 100 units long: one inner sample per four pen
  // widths, plus the two ends.
  TDataBezier thin(0, 0, 100, 100, 100, 0);
  ASSERT_EQ(thin.Samples().size(), 52u);
  EXPECT_EQ(thin.Samples()[26], (TPoint{75, 25}));
  // Inner sample i lies at t = i / 52: the last inner one, at t = 50 / 52,
  // is still well short of the end.
  EXPECT_EQ(thin.Samples()[50], (TPoint{100, 92}));
  EXPECT_EQ(thin.Samples()[51], (TPoint{100, 100}));
  EXPECT_EQ(Ltrb(thin), "(0, 0, 100, 100)");

  TakePenWidth(thin, 10);
  EXPECT_EQ(thin.Samples().size(), 7u);

  // Three points in one place still make one inner sample.
  TDataBezier dot(40, 50, 40, 50, 40, 50);
  EXPECT_EQ(dot.Samples().size(), 3u);
  EXPECT_EQ(Ltrb(dot), "(40, 50, 40, 50)");
  EXPECT_TRUE(dot.Contains(39, 49));
  EXPECT_EQ(TDataBezier(0, 0, 20000, 0, 10000, 0).Samples().size(), TDataBezier::kMaxSteps + 2u);
}

TEST(BezierTest, HitOnlyNearTheCurve)
{
  TDataBezier curve(0, 0, 100, 100, 100, 0);
  EXPECT_TRUE(curve.Contains(75, 26));
  EXPECT_FALSE(curve.Contains(100, 0)); // the control point is off the curve
  EXPECT_FALSE(curve.Contains(0, 100));
}

TEST(BezierTest, SizingMovesAndChecksThePointOfTheHandle)
{
  TDataBezier curve(0, 0, 100, 100, 100, 0);
  EXPECT_FALSE(curve.Offset(0, 0));
  EXPECT_TRUE(curve.Offset(10, 20));
  EXPECT_EQ(curve.Samples()[50], (TPoint{110, 112}));
  curve.Resize(5, 5);
  EXPECT_EQ(curve.GetEnd(), (TPoint{115, 125}));
  curve.SetHandle(TDataBezier::kHandleStart);
  curve.Resize(-10, -20);
  EXPECT_EQ(curve.GetStart(), (TPoint{0, 0}));
  curve.SetHandle(TDataBezier::kHandleControl);
  curve.Resize(0, -10);
  EXPECT_EQ(curve.GetControl(), (TPoint{110, 10}));
  std::unique_ptr<TData> copy(curve.Clone(nullptr, 0));
  EXPECT_EQ(static_cast<TDataBezier*>(copy.get())->GetHandle(), 0);

  // Bending near the page's edge is allowed even when the end is at it.
  TDataBezier edge(700, 100, 790, 100, 745, 50);
  TRect paper(0, 0, 800, 1000);
  EXPECT_EQ(edge.Message(MSG_MAY_RESIZE, 0, 0, nullptr), 2u);
  EXPECT_EQ(edge.Message(MSG_MAY_RESIZE, 20, 0, &paper), 0u);
  EXPECT_EQ(edge.Message(MSG_MAY_RESIZE, 10, 900, &paper), 1u);
  edge.SetHandle(TDataBezier::kHandleControl);
  EXPECT_EQ(edge.Message(MSG_MAY_RESIZE, 20, 0, &paper), 1u);
  EXPECT_EQ(edge.Message(MSG_MAY_RESIZE, 0, -51, &paper), 0u);

  // The position is the start: setting back what was read is no move.
  TDataBezier turned(150, 160, 50, 60, 150, 60);
  TRect r;
  turned.GetRect(r, kRectPosition);
  turned.SetRect(r, kRectPosition);
  EXPECT_EQ(turned.GetStart(), (TPoint{150, 160}));
  turned.SetRect(TRect(0, 0, 1, 1), kRectPosition);
  EXPECT_EQ(turned.GetEnd(), (TPoint{-100, -100}));
}

TEST(BezierTest, RecordsRoundTripAndRebuildTheSamples)
{
  TDataBezier curve(0, 0, 100, 100, 100, 0);
  const std::string text = Written(curve);
  EXPECT_EQ(text.substr(0, text.find('\t')), "TDataBezier 1 0 0 100 100 100 0 0\n");
  auto back = ReadBack<TDataBezier>(text);
  EXPECT_EQ(Written(*back), text);
  EXPECT_EQ(back->Samples(), curve.Samples());

  // The first records held a pen of their own; newer ones may carry more.
  auto old = ReadBack<TDataBezier>("TDataBezier 0 0 0 100 100 100 0 0\n\tTPen 0 0 10 10 255\n"
                                   "\tTData 1 0 8 0 255 4294967295\n\tTRect 0 0 0 0 0\n");
  EXPECT_EQ(old->Samples().size(), 7u);
  EXPECT_EQ(Ltrb(*old), "(0, 0, 100, 100)");
  auto newer = ReadBack<TDataBezier>("TDataBezier 2 1 2 3 4 5 6 0 77 78\n\tTData 3 0 8 0\n\tTPen 0 0 1 1 0\n"
                                     "\tTBrush 0 1 0 0\n\tTRect 0 0 0 0 0\n");
  EXPECT_EQ(newer->GetControl(), (TPoint{5, 6}));
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
  EXPECT_EQ(curve.GetEnd(), (TPoint{300, 100}));
  ASSERT_EQ(curve.Samples().size(), 66u);
  EXPECT_EQ(curve.Samples()[33], (TPoint{200, 60}));

  input.Drag(0, 50);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(curve.ContextCommand(&client, CM_OBJ_CURVE_SHAPE), 0);
  EXPECT_EQ(curve.GetControl(), (TPoint{200, 20}));

  // "Size" drags the end.
  input.Drag(50, 50);
  input.LeftUp();
  EXPECT_EQ(curve.ContextCommand(&client, CM_OBJ_SIZE), CM_OBJ_SIZE);
  EXPECT_EQ(curve.GetEnd(), (TPoint{350, 150}));
  EXPECT_EQ(curve.GetControl(), (TPoint{200, 20}));
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
  ExpectViewRestored();
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

} // namespace
