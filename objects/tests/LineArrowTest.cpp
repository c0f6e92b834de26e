#include "ShapeTestSupport.h"

#include "CommandIds.h"
#include "TDataFleche.h"
#include "TDataLine.h"

namespace {

using namespace shape_test;

// ---- the line ----

TEST(LineTest, RectangleIsNeverEmpty)
{
  TDataLine point(50, 60, 50, 60);
  EXPECT_TRUE(SameRect(Bounds(point), TRect(50, 60, 51, 61)));
  TDataLine vertical(100, 90, 100, 10);
  EXPECT_TRUE(SameRect(Bounds(vertical), TRect(100, 10, 101, 90)));
  TDataLine slanted(30, 40, 10, 20);
  EXPECT_TRUE(SameRect(Bounds(slanted), TRect(10, 20, 30, 40)));
}

TEST(LineTest, LineOfOnePointIsHitWithinHalfThePenWidthPlusOne)
{
  TDataLine point(50, 60, 50, 60);
  point.SetPenWidth(4); // tolerance 3
  EXPECT_TRUE(point.Contains(50, 60));
  EXPECT_TRUE(point.Contains(47, 60));
  EXPECT_TRUE(point.Contains(50, 62));
  EXPECT_FALSE(point.Contains(46, 60));
  EXPECT_FALSE(point.Contains(50, 64));
  // The right and bottom edges of the tolerance box are outside.
  EXPECT_FALSE(point.Contains(53, 60));
}

TEST(LineTest, HitsTheSegmentOnly)
{
  TDataLine line(0, 0, 100, 100);
  line.SetPenWidth(0);
  EXPECT_TRUE(line.Contains(50, 50));
  EXPECT_TRUE(line.Contains(51, 50));
  EXPECT_FALSE(line.Contains(60, 40)); // inside the rectangle, off the line
  EXPECT_FALSE(line.Contains(105, 105));
}

TEST(LineTest, OffsetMovesBothEndsResizeOnlyTheSecond)
{
  TDataLine line(10, 20, 30, 40);
  EXPECT_TRUE(line.Offset(0, 0));
  EXPECT_TRUE(line.Offset(5, -5));
  EXPECT_EQ(line.GetStart(), (TPoint{15, 15}));
  EXPECT_EQ(line.GetEnd(), (TPoint{35, 35}));
  line.Resize(-35, 0);
  EXPECT_EQ(line.GetStart(), (TPoint{15, 15}));
  EXPECT_EQ(line.GetEnd(), (TPoint{0, 35}));
  EXPECT_TRUE(SameRect(Bounds(line), TRect(0, 15, 15, 35)));
}

TEST(LineTest, ExchangeEndsTwiceRestoresTheLine)
{
  TDataLine line(10, 20, 30, 45);
  const std::string before = Written(line);
  EXPECT_EQ(line.ContextCommand(nullptr, CM_OBJ_EXCHANGE_ENDS), CM_OBJ_EXCHANGE_ENDS);
  EXPECT_EQ(line.GetStart(), (TPoint{30, 45}));
  EXPECT_TRUE(SameRect(Bounds(line), TRect(10, 20, 30, 45)));
  line.ExchangeEnds();
  EXPECT_EQ(Written(line), before);
}

TEST(LineTest, SizingIsCheckedAtTheSecondEnd)
{
  TDataLine line(700, 500, 100, 100);
  TRect page(0, 0, 800, 1000);
  EXPECT_EQ(line.Message(MSG_MAY_RESIZE, 0, 0, &page), 2u);
  EXPECT_EQ(line.Message(MSG_MAY_RESIZE, 1, 0, nullptr), 0u);
  // Far left of the rectangle is fine as long as the second end stays in.
  EXPECT_EQ(line.Message(MSG_MAY_RESIZE, -100, 0, &page), 1u);
  EXPECT_EQ(line.Message(MSG_MAY_RESIZE, -101, 0, &page), 0u);
  EXPECT_EQ(line.Message(MSG_MAY_RESIZE, 700, 900, &page), 1u);
  EXPECT_EQ(line.Message(MSG_MAY_RESIZE, 0, 901, &page), 0u);
  EXPECT_EQ(line.Message(MSG_MAY_RESIZE, 0, -101, &page), 0u);
}

TEST(LineTest, RectangleModes)
{
  TDataLine line(30, 40, 10, 20);
  line.SetPenWidth(3);
  TRect r;
  line.GetRect(r, kRectPosition);
  EXPECT_TRUE(SameRect(r, TRect(30, 40, -20, -20)));
  line.GetRect(r, kRectEndPoints);
  EXPECT_TRUE(SameRect(r, TRect(30, 40, 10, 20)));
  line.GetRect(r, kRectDrawing);
  EXPECT_TRUE(SameRect(r, TRect(5, 15, 35, 45)));

  // The position is the first end.
  line.SetRect(TRect(100, 100, 0, 0), kRectPosition);
  EXPECT_EQ(line.GetStart(), (TPoint{100, 100}));
  EXPECT_EQ(line.GetEnd(), (TPoint{80, 80}));
  line.SetRect(TRect(1, 2, 3, 4), kRectFrame);
  EXPECT_EQ(line.GetStart(), (TPoint{1, 2}));
  EXPECT_EQ(line.GetEnd(), (TPoint{3, 4}));
  // A centre is a place, not two ends.
  line.SetRect(TRect(52, 53, 0, 0), kRectCenter);
  EXPECT_EQ(line.GetStart(), (TPoint{51, 52}));
  EXPECT_EQ(line.GetEnd(), (TPoint{53, 54}));
}

TEST(LineTest, RecordRoundTripsAndKeepsOlderAndNewerVersions)
{
  TDataLine line(10, -20, 300, 40);
  line.SetPenWidth(5);
  line.SetLayers(2);
  const std::string text = Written(line);
  EXPECT_EQ(FirstLine(text), "TDataLine 1 10 -20 300 40");
  EXPECT_EQ(text.substr(text.find('\n'), 8), "\n\tTData ");
  TDataLine back;
  EXPECT_EQ(LeftUnread(back, text), 0u);
  EXPECT_EQ(Written(back), text);
  EXPECT_TRUE(SameRect(Bounds(back), TRect(10, -20, 300, 40)));

  // A newer writer's extra fields are dropped.
  std::string newer = text;
  newer.replace(0, FirstLine(text).size(), "TDataLine 2 10 -20 300 40 77 seventy");
  EXPECT_EQ(Written(*ReadBack<TDataLine>(newer)), text);

  // Version 0 kept the pen between its line and the common part (then of
  // version 2, with colours only).
  const std::string old = "TDataLine 0 1 2 3 4\n\tTPen 0 1 7 7 255\n\tTData 2 0 8 0 255 4294967295\n"
                          "\tTRect 0 0 0 0 0\n";
  TDataLine v0;
  EXPECT_EQ(LeftUnread(v0, old), 0u);
  EXPECT_EQ(v0.GetEnd(), (TPoint{3, 4}));
  EXPECT_EQ(v0.GetPen().GetWidth(), 7);
  EXPECT_EQ(v0.GetPen().GetColor(), 255u);
  EXPECT_TRUE(SameRect(Bounds(v0), TRect(1, 2, 3, 4)));

  // A record of another class is left alone.
  TDataLine other;
  const std::string arrow = "TDataFleche 1 8 1 2 3 4\n";
  EXPECT_EQ(LeftUnread(other, arrow), arrow.size());
  EXPECT_EQ(other.GetEnd(), (TPoint{0, 0}));
}

// ---- the arrow ----

TEST(ArrowTest, HeadOpensThirtyDegreesEachSideOfTheShaft)
{
  // Tip on start: the shaft has no direction and the head opens at 0 degrees.
  TDataFleche dot(100, 100, 100, 100);
  EXPECT_EQ(dot.GetBarb1(), (TPoint{107, 96}));
  EXPECT_EQ(dot.GetBarb2(), (TPoint{107, 104}));
  EXPECT_TRUE(SameRect(Bounds(dot), TRect(100, 96, 107, 104)));

  // Pointing right: the head looks back to the left.
  TDataFleche right(0, 50, 100, 50);
  EXPECT_EQ(right.GetBarb1(), (TPoint{93, 54}));
  EXPECT_EQ(right.GetBarb2(), (TPoint{93, 46}));
  EXPECT_TRUE(SameRect(Bounds(right), TRect(0, 46, 100, 54)));
}

TEST(ArrowTest, StoredHeadSizeRereadsWithTheSameBarbs)
{
  TDataFleche arrow(10, 20, 110, 70);
  arrow.SetHeadSize(20);
  const std::string text = Written(arrow);
  EXPECT_EQ(FirstLine(text), "TDataFleche 1 20 10 20 110 70");
  auto back = ReadBack<TDataFleche>(text);
  EXPECT_EQ(back->GetHeadSize(), 20);
  EXPECT_EQ(back->GetBarb1(), arrow.GetBarb1());
  EXPECT_EQ(back->GetBarb2(), arrow.GetBarb2());
  EXPECT_TRUE(SameRect(Bounds(*back), Bounds(arrow)));
  EXPECT_EQ(Written(*back), text);

  std::string newer = text;
  newer.replace(0, FirstLine(text).size(), "TDataFleche 4 20 10 20 110 70 1 2 3");
  EXPECT_EQ(Written(*ReadBack<TDataFleche>(newer)), text);
}

TEST(ArrowTest, OffsetKeepsTheHeadResizeReaimsIt)
{
  TDataFleche arrow(0, 0, 60, 80);
  const TPoint b1 = arrow.GetBarb1();
  arrow.Offset(15, -5);
  EXPECT_EQ(arrow.GetBarb1(), (TPoint{b1.x + 15, b1.y - 5}));
  EXPECT_EQ(arrow.GetStart(), (TPoint{15, -5}));

  arrow.Resize(-75, -75); // tip (0, 0): now the arrow points up-left
  EXPECT_EQ(arrow.GetStart(), (TPoint{15, -5}));
  EXPECT_EQ(arrow.GetTip(), (TPoint{0, 0}));
  // The barbs lie on the tail's side of the tip.
  EXPECT_GT(arrow.GetBarb1().x + arrow.GetBarb2().x, 0);
}

TEST(ArrowTest, HitOnShaftAndHeadInsideTheRectangle)
{
  TDataFleche arrow(0, 50, 100, 50);
  arrow.SetPenWidth(1);
  EXPECT_TRUE(arrow.Contains(50, 50));
  EXPECT_TRUE(arrow.Contains(96, 52)); // on the lower head stroke
  EXPECT_FALSE(arrow.Contains(50, 53));
  // The tip lies on the rectangle's excluded right edge.
  EXPECT_FALSE(arrow.Contains(100, 50));
  EXPECT_FALSE(arrow.Contains(50, 44));
}

TEST(ArrowTest, SizingIsCheckedAtTheTip)
{
  // A new arrow's rectangle is only as wide as its head; dragging the tip
  // far to the left at once must still be allowed.
  TDataFleche arrow(400, 400, 400, 400);
  TRect page(0, 0, 800, 1000);
  EXPECT_EQ(arrow.Message(MSG_MAY_RESIZE, -50, -50, &page), 1u);
  EXPECT_EQ(arrow.Message(MSG_MAY_RESIZE, -401, 0, &page), 0u);
  EXPECT_EQ(arrow.Message(MSG_MAY_RESIZE, 0, 601, &page), 0u);
}

TEST(ArrowTest, PositionIsTheTail)
{
  TDataFleche arrow(30, 40, 10, 60);
  TRect r;
  arrow.GetRect(r, kRectPosition);
  EXPECT_TRUE(SameRect(r, TRect(30, 40, -20, 20)));
  arrow.SetRect(TRect(100, 200, 0, 0), kRectPosition);
  EXPECT_EQ(arrow.GetStart(), (TPoint{100, 200}));
  EXPECT_EQ(arrow.GetTip(), (TPoint{80, 220}));
  arrow.SetRect(TRect(0, 0, 50, 0), kRectFrame);
  EXPECT_EQ(arrow.GetTip(), (TPoint{50, 0}));
  EXPECT_EQ(arrow.GetBarb1(), (TPoint{43, 4}));
}

// ---- creation and commands on the page view ----

class LineViewTest : public ShapeViewTest
{
};

TEST_F(LineViewTest, LineIsPlacedAndItsSecondEndDragged)
{
  client.SetLayers(4);
  input.Click(100, 100);
  input.Drag(50, 30, 3);
  input.LeftUp();
  auto line = CreateInteractively<TDataLine>(kTDataLine);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->GetStart(), (TPoint{100, 100}));
  EXPECT_EQ(line->GetEnd(), (TPoint{150, 130}));
  EXPECT_EQ(line->GetLayers(), 4);
  EXPECT_EQ(line->GetState(), 0);
  EXPECT_EQ(input.dialogs.size(), 0u);
  // The readout showed both ends and the angle while sizing.
  EXPECT_EQ(LastReadout(), "X1= 100 (+0)  Y1= 100 (+0)  X2= 150 (+50)  Y2= 130 (+30) Angle = 329.0\u00b0");
  ExpectViewRestored();
}

TEST_F(LineViewTest, TypedPositionAndTypedSize)
{
  input.Char(VK_SPACE_);
  input.AnswerValues(std::vector<double>{20, 30});
  input.Char(VK_SPACE_);
  input.AnswerValues(std::vector<double>{100, 0});
  auto arrow = CreateInteractively<TDataFleche>(kTDataFleche);
  ASSERT_TRUE(arrow);
  EXPECT_EQ(arrow->GetStart(), (TPoint{20, 30}));
  EXPECT_EQ(arrow->GetTip(), (TPoint{120, 30}));
  EXPECT_EQ(arrow->GetHeadSize(), 8);
  ExpectViewRestored();
}

TEST_F(LineViewTest, EveryCancelCreatesNothing)
{
  for (int32_t classId : {kTDataLine, kTDataFleche}) {
    SCOPED_TRACE(classId);
    input.Char(VK_ESCAPE_);
    EXPECT_FALSE(CreateInteractively<TData>(classId));
    ExpectViewRestored();

    input.Click(100, 100);
    input.Drag(40, 40);
    input.Char(VK_ESCAPE_);
    EXPECT_FALSE(CreateInteractively<TData>(classId));
    ExpectViewRestored();

    input.Click(100, 100);
    input.Drag(-40, 20);
    input.RightUp();
    EXPECT_FALSE(CreateInteractively<TData>(classId));
    ExpectViewRestored();
    EXPECT_EQ(input.PendingMessages(), 0);
  }
  // Without a view the factories make default objects for readers.
  std::unique_ptr<TStreamable> plain(CreateObject(kTDataFleche, nullptr, 0));
  ASSERT_TRUE(plain);
  EXPECT_EQ(FirstLine(Written(*plain)), "TDataFleche 1 8 0 0 0 0");
}

TEST_F(LineViewTest, ExchangeEndsFromTheMenu)
{
  TDataLine line(100, 100, 200, 150);
  input.AnswerMenu(CM_OBJ_EXCHANGE_ENDS);
  EXPECT_EQ(line.ContextCommand(&client, 0), CM_OBJ_EXCHANGE_ENDS);
  EXPECT_EQ(line.GetStart(), (TPoint{200, 150}));
  ASSERT_EQ(input.menus.size(), 1u);
  EXPECT_EQ(input.menus[0].title, "Line");
  bool offered = false;
  for (const auto& item : input.menus[0].items)
    offered = offered || item.command == CM_OBJ_EXCHANGE_ENDS;
  EXPECT_TRUE(offered);
  EXPECT_TRUE(input.OverlayBlank());

  // Nothing chosen: nothing happens.
  input.AnswerMenu(0);
  EXPECT_EQ(line.ContextCommand(&client, 0), 0);
  EXPECT_EQ(line.GetStart(), (TPoint{200, 150}));
}

TEST_F(LineViewTest, PositionMovesTheWholeLine)
{
  TDataLine line(100, 100, 200, 150);
  input.Drag(30, -20, 2);
  input.LeftUp();
  EXPECT_EQ(line.ContextCommand(&client, CM_OBJ_POSITION), CM_OBJ_POSITION);
  EXPECT_EQ(line.GetStart(), (TPoint{130, 80}));
  EXPECT_EQ(line.GetEnd(), (TPoint{230, 130}));

  input.Drag(30, -20);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(line.ContextCommand(&client, CM_OBJ_SIZE), 0);
  EXPECT_EQ(line.GetEnd(), (TPoint{230, 130}));
}

} // namespace
