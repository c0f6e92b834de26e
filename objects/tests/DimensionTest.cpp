#include "ShapeTestSupport.h"

#include "CommandIds.h"
#include "TDataDim.h"
#include "ValueFormat.h"

#include <string>

namespace {

using namespace shape_test;

// Dimensions on a view measuring in hundredths with two decimals.
class DimensionViewTest : public ShapeViewTest
{
protected:
  const char m_separator = DecimalSeparator();
  void SetUp() override
  {
    ShapeViewTest::SetUp();
    SetDecimalSeparator('.');
    client.GetPage()->SetUnitFactor(0.01f);
    client.GetPage()->SetDecimals(2);
  }
  void TearDown() override { SetDecimalSeparator(m_separator); }

  static TPoint LabelCentre(const TDataDim& dim)
  {
    TRect centre;
    dim.GetLabel().GetRect(centre, kRectCenter);
    return {centre.left, centre.top};
  }
  // Distance from the line to the label's centre.
  static int32_t LabelDistance(const TDataDim& dim)
  {
    const int32_t h = std::max(dim.GetLabel().Height(), 2);
    return h - h / 4;
  }
};

} // namespace

TEST_F(DimensionViewTest, HorizontalDimensionShowsItsLengthAboveTheLine)
{
  TDataDim dim(100, 200, 200, 200);
  EXPECT_TRUE(dim.GetLabel().GetText().empty());
  dim.SetOwner(&client);
  EXPECT_EQ(dim.GetLabel().GetText(), "1.00");
  EXPECT_TRUE(dim.GetLabel().IsSingleLine());
  EXPECT_EQ(dim.GetLabel().GetAngle(), 0);
  EXPECT_EQ(LabelCentre(dim), (TPoint{150, 200 - LabelDistance(dim)}));
  EXPECT_LT(dim.GetLabel().bottom, 200);
  // Both heads open towards the inside of the line.
  EXPECT_EQ(dim.GetHead1a(), (TPoint{107, 196}));
  EXPECT_EQ(dim.GetHead1b(), (TPoint{107, 204}));
  EXPECT_EQ(dim.GetHead2a(), (TPoint{193, 196}));
  EXPECT_EQ(dim.GetHead2b(), (TPoint{193, 204}));
  // The rectangle holds the ends, the heads and the label.
  EXPECT_EQ(dim.left, 100);
  EXPECT_EQ(dim.right, 200);
  EXPECT_EQ(dim.top, dim.GetLabel().top);
  EXPECT_EQ(dim.bottom, 204);
}

TEST_F(DimensionViewTest, NewUnitsChangeOnlyTheLabel)
{
  TDataDim dim(100, 200, 200, 200);
  dim.SetOwner(&client);
  const size_t repaints = input.invalidated.size();
  client.GetPage()->SetUnitFactor(1.0f);
  client.GetPage()->SetDecimals(0);
  EXPECT_EQ(dim.Message(MSG_REFRESH, 0, 0, nullptr), 0u);
  EXPECT_EQ(dim.GetLabel().GetText(), "100");
  EXPECT_EQ(dim.GetStart(), (TPoint{100, 200}));
  EXPECT_EQ(dim.GetEnd(), (TPoint{200, 200}));
  EXPECT_EQ(input.invalidated.size(), repaints + 1);
}

TEST_F(DimensionViewTest, TheLabelTurnsWithTheLine)
{
  TDataDim up(100, 300, 100, 200);
  up.SetOwner(&client);
  EXPECT_EQ(up.GetLabel().GetAngle(), 90);
  EXPECT_EQ(LabelCentre(up), (TPoint{100 - LabelDistance(up), 250}));
  // The turned label lies inside the rectangle.
  TRect label;
  up.GetLabel().GetRect(label, kRectSelection);
  EXPECT_TRUE(label.IsInside(up));

  TDataDim point(100, 100, 100, 100);
  point.SetOwner(&client);
  EXPECT_EQ(point.GetLabel().GetText(), "0.00");
  EXPECT_EQ(point.GetLabel().GetAngle(), 0);
  EXPECT_EQ(LabelCentre(point), (TPoint{100, 100 - LabelDistance(point)}));
}

TEST_F(DimensionViewTest, HitOnTheLineTheHeadsAndTheLabel)
{
  TDataDim dim(100, 200, 300, 200);
  dim.SetOwner(&client);
  EXPECT_TRUE(dim.Contains(200, 200));
  EXPECT_TRUE(dim.Contains(200, 199));
  EXPECT_TRUE(dim.Contains(104, 198));
  const TPoint label = LabelCentre(dim);
  EXPECT_TRUE(dim.Contains(label.x, label.y));
  EXPECT_FALSE(dim.Contains(250, 193));
  EXPECT_FALSE(dim.Contains(200, 260));
}

TEST_F(DimensionViewTest, TextColorAndFontActOnTheLabelOnly)
{
  TDataDim dim(100, 200, 300, 200);
  dim.SetOwner(&client);
  dim.SetColor(0, 0x000000);
  input.AnswerColor(0x0000FFu);
  EXPECT_EQ(dim.ContextCommand(&client, CM_OBJ_TEXT_COLOR), CM_OBJ_TEXT_COLOR);
  EXPECT_EQ(dim.GetLabel().GetPen().GetColor(), 0x0000FFu);
  EXPECT_EQ(dim.GetPen().GetColor(), 0x000000u);
  input.AnswerColor(std::nullopt);
  EXPECT_EQ(dim.ContextCommand(&client, CM_OBJ_TEXT_COLOR), 0);

  const int32_t distance = LabelDistance(dim);
  input.AnswerFont(TFont(30, 0));
  EXPECT_EQ(dim.ContextCommand(&client, CM_OBJ_FONT), CM_OBJ_FONT);
  EXPECT_EQ(dim.GetLabel().GetFont().Record().height, -30);
  // The bigger label moved away from the line.
  EXPECT_GT(LabelDistance(dim), distance);
  EXPECT_EQ(LabelCentre(dim).y, 200 - LabelDistance(dim));
}

TEST_F(DimensionViewTest, MovingSizingAndCloning)
{
  TDataDim dim(100, 200, 300, 200);
  dim.SetOwner(&client);
  const TPoint label = LabelCentre(dim);
  EXPECT_TRUE(dim.Offset(10, 20));
  EXPECT_EQ(dim.GetStart(), (TPoint{110, 220}));
  EXPECT_EQ(dim.GetHead2b(), (TPoint{303, 224}));
  EXPECT_EQ(LabelCentre(dim), (TPoint{label.x + 10, label.y + 20}));
  EXPECT_TRUE(dim.Resize(-100, 0));
  EXPECT_EQ(dim.GetEnd(), (TPoint{210, 220}));
  EXPECT_EQ(dim.GetLabel().GetText(), "1.00");
  dim.SetRect(TRect(0, 0, 0, 0), kRectPosition);
  EXPECT_EQ(dim.GetStart(), (TPoint{0, 0}));
  dim.SetRect(TRect(5, 5, 50, 50), kRectFrame);
  EXPECT_EQ(dim.GetStart(), (TPoint{0, 0}));

  std::unique_ptr<TData> copy(dim.Clone(nullptr, 0));
  EXPECT_EQ(Written(*copy), Written(dim));
  dim.SetLayers(2);
  EXPECT_EQ(dim.GetLabel().GetLayers(), 2);
}

TEST_F(DimensionViewTest, RecordRoundTripsAndRecomputesOnReading)
{
  TDataDim dim(100, 200, 300, 250);
  dim.SetHeadSize(12);
  dim.SetOwner(&client);
  const std::string written = Written(dim);
  EXPECT_EQ(FirstLine(written), "TDataDim 1 12 100 200 300 250");
  EXPECT_EQ(written.substr(written.find('\n') + 1, 13), "\tTDataTexte 6");
  TDataDim back;
  EXPECT_EQ(LeftUnread(back, written), 0u);
  EXPECT_EQ(Written(back), written);
  EXPECT_EQ(back.GetHead1a(), dim.GetHead1a());

  // A newer record: the rest of its first line is passed over; with a view
  // the stored label text is replaced by the length.
  std::string newer = written;
  newer.replace(0, FirstLine(written).size(), "TDataDim 2 12 100 200 300 250 7 7");
  const size_t at = newer.find("\tTString");
  newer.replace(at, newer.find('\n', at) - at, "\tTString 1 7 4 9.99");
  TDataDim fromNewer;
  EXPECT_EQ(LeftUnread(fromNewer, newer), 0u);
  EXPECT_EQ(fromNewer.GetLabel().GetText(), "9.99");
  fromNewer.SetOwner(&client);
  EXPECT_EQ(fromNewer.GetLabel().GetText(), dim.GetLabel().GetText());
}

TEST_F(DimensionViewTest, DimensionIsPlacedAndItsSecondEndDragged)
{
  client.SetLayers(2);
  input.Click(100, 100);
  input.Drag(120, 0, 2);
  input.LeftUp();
  auto dim = CreateInteractively<TDataDim>(kTDataDim);
  ASSERT_TRUE(dim);
  EXPECT_EQ(dim->GetStart(), (TPoint{100, 100}));
  EXPECT_EQ(dim->GetEnd(), (TPoint{220, 100}));
  EXPECT_EQ(dim->GetLayers(), 2);
  EXPECT_NE(LastReadout().find("  L= 1.20"), std::string::npos) << LastReadout();

  // Dragging the second end back past the first is allowed.
  input.Click(300, 100);
  input.Drag(-80, 0, 2);
  input.LeftUp();
  auto back = CreateInteractively<TDataDim>(kTDataDim);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->GetEnd(), (TPoint{220, 100}));

  input.Char(VK_ESCAPE_);
  EXPECT_FALSE(CreateInteractively<TData>(kTDataDim));
  input.Click(100, 100);
  input.Drag(50, 0);
  input.Char(VK_ESCAPE_);
  EXPECT_FALSE(CreateInteractively<TData>(kTDataDim));
  ExpectViewRestored();
}
