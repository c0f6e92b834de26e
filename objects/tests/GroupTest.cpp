#include "SymbolTestSupport.h"

#include "Colors.h"
#include "CommandIds.h"
#include "TDataLine.h"
#include "TDataRectangle.h"

#include <gtest/gtest.h>

#include <string>

using namespace symbol_test;

namespace {

constexpr uint32_t kRed = MakeColor(255, 0, 0);
constexpr uint32_t kBlue = MakeColor(0, 0, 255);
constexpr uint32_t kGreen = MakeColor(0, 160, 0);

// A red line over a blue-filled rectangle, reference point (5, 7).
std::unique_ptr<TDataGroup> LineAndRectangle()
{
  auto group = std::make_unique<TDataGroup>();
  auto* line = new TDataLine(10, 20, 110, 60);
  line->SetColor(0, kRed);
  auto* rectangle = new TDataRectangle(40, 30, 100, 50);
  rectangle->SetColor(1, kBlue);
  group->AddChild(line);
  group->AddChild(rectangle);
  TRect bounds;
  group->UnionOfChildren(bounds, 0);
  group->SetRect(bounds, kRectFrame);
  group->SetReference(5, 7);
  return group;
}

class GroupViewTest : public SymbolViewTest
{
};

} // namespace

TEST(GroupTest, RecordRoundTripIsByteExact)
{
  RegisterObjectFactories();
  const auto group = LineAndRectangle();
  const std::string text = Written(*group);
  EXPECT_EQ(text.substr(0, text.find('\n')), "TDataGroup 2 2 5 7");
  // The members follow at the start of their own lines, then the nested
  // record of the group itself.
  EXPECT_EQ(text.find("\nTDataLine "), text.find('\n'));
  EXPECT_NE(text.find("\nTDataRectangle "), std::string::npos);
  EXPECT_NE(text.find("\n\tTData 3 16 "), std::string::npos);

  const auto back = ReadAs<TDataGroup>(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->GetChildCount(), 2);
  EXPECT_EQ(Written(*back), text);

  // Groups inside groups come back whole as well.
  TDataGroup outer;
  outer.AddChild(LineAndRectangle().release());
  outer.AddChild(new TDataLine(0, 0, 5, 5));
  const std::string nested = Written(outer);
  const auto nestedBack = ReadAs<TDataGroup>(nested);
  ASSERT_TRUE(nestedBack);
  EXPECT_EQ(Written(*nestedBack), nested);
}

TEST(GroupTest, OlderRecordsTakeTheUnionOfTheirMembers)
{
  RegisterObjectFactories();
  const std::string line = Written(TDataLine(10, 20, 110, 60));
  const std::string rectangle = Written(TDataRectangle(40, 30, 100, 50));

  const auto v1 = ReadAs<TDataGroup>("TDataGroup 1 2 3 4\n" + line + rectangle);
  ASSERT_TRUE(v1);
  EXPECT_EQ(v1->GetChildCount(), 2);
  EXPECT_TRUE(SameRect(RectOf(*v1), 10, 20, 140, 80));
  int32_t x = 0, y = 0;
  v1->GetReference(x, y);
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 4);

  // Version 0 had no reference point.
  const auto v0 = ReadAs<TDataGroup>("TDataGroup 0 1\n" + line);
  ASSERT_TRUE(v0);
  v0->GetReference(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_TRUE(SameRect(RectOf(*v0), 10, 20, 110, 60));

  // A newer writer's extra fields on the first line are skipped.
  const std::string data = Written(TData());
  const auto v3 = ReadAs<TDataGroup>("TDataGroup 3 1 3 4 99 new words\n" + line + "\t" + data);
  ASSERT_TRUE(v3);
  EXPECT_EQ(v3->GetChildCount(), 1);
  v3->GetReference(x, y);
  EXPECT_EQ(x, 3);
}

TEST(GroupTest, AMemberThatCannotBeReadEndsTheList)
{
  RegisterObjectFactories();
  const std::string line = Written(TDataLine(10, 20, 110, 60));
  // A pen is no drawing object: the list ends there, the line stays.
  const auto group = ReadAs<TDataGroup>("TDataGroup 1 3 0 0\n" + line + "TPen 0 6 1 1 0\n" + line);
  ASSERT_TRUE(group);
  EXPECT_EQ(group->GetChildCount(), 1);
}

TEST(GroupTest, DeeplyNestedGroupsAreRefusedInsteadOfExhaustingTheStack)
{
  RegisterObjectFactories();
  std::string text;
  for (int i = 0; i < 5000; ++i)
    text += "TDataGroup 1 1 0 0\n";
  text += Written(TDataLine(0, 0, 10, 10));
  const auto group = ReadAs<TDataGroup>(text);
  ASSERT_TRUE(group);
  int32_t depth = 0;
  for (const TDataGroup* g = group.get(); g && g->GetChildCount() > 0;
       g = dynamic_cast<const TDataGroup*>(g->GetChild(0)))
    ++depth;
  EXPECT_EQ(depth, TDataGroup::kMaxNesting - 1);
}

TEST(GroupTest, MovingAndSizingGoThroughEveryMember)
{
  auto group = LineAndRectangle();
  const std::string before = Written(*group);
  EXPECT_FALSE(group->Offset(0, 0));
  EXPECT_FALSE(group->Resize(0, 0));
  EXPECT_EQ(Written(*group), before);

  EXPECT_TRUE(group->Offset(10, -5));
  EXPECT_TRUE(SameRect(RectOf(*group), 20, 15, 150, 75));
  EXPECT_TRUE(SameRect(RectOf(*group->GetChild(0), 9), 20, 15, 120, 55));
  EXPECT_TRUE(SameRect(RectOf(*group->GetChild(1)), 50, 25, 150, 75));

  // The position is the reference point; placing it moves everything.
  EXPECT_TRUE(SameRect(RectOf(*group, 3), 25, 22, 130, 60));
  group->SetRect(TRect(0, 0, 0, 0), kRectPosition);
  EXPECT_TRUE(SameRect(RectOf(*group), -5, -7, 125, 53));
  EXPECT_TRUE(SameRect(RectOf(*group->GetChild(1)), 25, 3, 125, 53));
}

TEST(GroupTest, BoundsAreTheUnionOfTheMembers)
{
  const auto group = LineAndRectangle();
  // Drawing bounds (mode 5) spill by each member's pen width + 2.
  EXPECT_TRUE(SameRect(RectOf(*group, 5), 7, 17, 143, 83));
  for (int32_t mode : {5, 11}) {
    TRect expected = RectOf(*group->GetChild(0), mode);
    expected.Union(RectOf(*group->GetChild(1), mode));
    EXPECT_TRUE(SameRect(RectOf(*group, mode), expected.left, expected.top, expected.right, expected.bottom));
  }

  const TDataGroup empty;
  TRect none(1, 2, 3, 4);
  EXPECT_FALSE(empty.UnionOfChildren(none, 0));
  EXPECT_TRUE(SameRect(none, 0, 0, 0, 0));
  EXPECT_TRUE(SameRect(RectOf(empty, 5), 0, 0, 0, 0));
}

TEST(GroupTest, MasksOfferWhatTheMembersHaveInCommonUse)
{
  auto group = LineAndRectangle();
  const uint32_t lineA = group->GetChild(0)->Message(MSG_MASK_A, 0, 0, nullptr);
  const uint32_t rectangleA = group->GetChild(1)->Message(MSG_MASK_A, 0, 0, nullptr);
  EXPECT_EQ(group->Message(MSG_MASK_A, 0, 0, nullptr), (1 | lineA | rectangleA) & 0x1980C05u);
  EXPECT_EQ(group->Message(MSG_MASK_B, 0, 0, nullptr), 0x10u);
  EXPECT_EQ(group->Message(MSG_TYPE_NAME, 0, 0, nullptr), 0u);

  const TDataGroup empty;
  EXPECT_EQ(const_cast<TDataGroup&>(empty).Message(MSG_MASK_A, 0, 0, nullptr), 1u);
  EXPECT_EQ(const_cast<TDataGroup&>(empty).Message(MSG_MASK_B, 0, 0, nullptr), 0u);
  // A group answers for itself only, so a definition is never taken for a
  // selection carrier.
  EXPECT_TRUE(group->IsA(kTDataGroup));
  EXPECT_FALSE(TDataGroupSymbol().IsA(kTDataGroup));
  EXPECT_TRUE(TDataGroupSymbol().IsA(kTData));
}

TEST(GroupTest, ClonesAreDeepAndCopyIntoMembersOfTheSameClass)
{
  const auto group = LineAndRectangle();
  std::unique_ptr<TData> copy(group->Clone(nullptr, 0));
  auto* copied = dynamic_cast<TDataGroup*>(copy.get());
  ASSERT_TRUE(copied);
  EXPECT_EQ(Written(*copied), Written(*group));
  EXPECT_NE(copied->GetChild(0), group->GetChild(0));

  // Into a group that already has members: each member takes the values of
  // the member at its index when their classes match.
  copied->GetChild(0)->Offset(100, 100);
  copied->GetChild(1)->Offset(100, 100);
  group->Clone(copied, 0);
  EXPECT_EQ(Written(*copied), Written(*group));

  TDataGroup mismatched;
  mismatched.AddChild(new TDataRectangle(0, 0, 5, 5));
  group->Clone(&mismatched, 0);
  EXPECT_EQ(mismatched.GetChildCount(), 1);
  EXPECT_TRUE(SameRect(RectOf(*mismatched.GetChild(0)), 0, 0, 5, 5));
}

TEST_F(GroupViewTest, ColorTurnsEveryMemberGreen)
{
  auto group = LineAndRectangle();
  input.AnswerColor(kGreen);
  EXPECT_EQ(group->ContextCommand(&client, CM_OBJ_COLOR), CM_OBJ_COLOR);
  EXPECT_EQ(group->GetChild(0)->GetColor(0), kGreen);
  EXPECT_EQ(group->GetChild(1)->GetColor(0), kGreen);
  // The background colour offers "none" and leaves the pens alone.
  input.AnswerColor(kNoColor);
  EXPECT_EQ(group->ContextCommand(&client, CM_OBJ_BACK_COLOR), CM_OBJ_BACK_COLOR);
  EXPECT_EQ(group->GetChild(1)->GetBrush().GetStyle(), TBrush::kHollow);
  EXPECT_EQ(group->GetChild(1)->GetColor(0), kGreen);
  EXPECT_EQ(input.dialogs.back(), "ChooseColor:none");

  // A cancelled dialog changes nothing and reports nothing.
  EXPECT_EQ(group->ContextCommand(&client, CM_OBJ_COLOR), 0);
  EXPECT_EQ(group->GetChild(0)->GetColor(0), kGreen);
}

TEST_F(GroupViewTest, LineTypeAndLayerReachEveryMember)
{
  auto group = LineAndRectangle();
  input.AnswerPen(TPen(kRed, 3, TPen::kSolid));
  EXPECT_EQ(group->ContextCommand(&client, CM_OBJ_LINE_TYPE), CM_OBJ_LINE_TYPE);
  EXPECT_EQ(group->GetChild(0)->GetPen().GetWidth(), 3);
  EXPECT_EQ(group->GetChild(1)->GetPen().GetWidth(), 3);

  input.AnswerObjectLayers(uint16_t{0x20});
  EXPECT_EQ(group->ContextCommand(&client, CM_OBJ_LAYER), CM_OBJ_LAYER);
  EXPECT_EQ(group->GetLayers(), 0x20);
  input.AnswerObjectLayers(uint16_t{0});
  EXPECT_EQ(group->ContextCommand(&client, CM_OBJ_LAYER), 0);
  EXPECT_EQ(group->GetLayers(), 0x20);
}

TEST_F(GroupViewTest, PositionDragsTheGroupAndMovesItsMembers)
{
  auto group = LineAndRectangle();
  input.SetPointer(200, 200);
  input.Drag(30, 20, 3);
  input.LeftUp();
  EXPECT_EQ(group->ContextCommand(&client, CM_OBJ_POSITION), CM_OBJ_POSITION);
  EXPECT_TRUE(SameRect(RectOf(*group), 40, 40, 170, 100));
  EXPECT_TRUE(SameRect(RectOf(*group->GetChild(1)), 70, 50, 170, 100));
  ExpectViewRestored();

  input.Drag(30, 20);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(group->ContextCommand(&client, CM_OBJ_POSITION), 0);
  EXPECT_TRUE(SameRect(RectOf(*group), 40, 40, 170, 100));
  ExpectViewRestored();
}
