#include "SymbolTestSupport.h"

#include "Colors.h"
#include "CommandIds.h"
#include "RenderTestSupport.h"
#include "TDataLine.h"
#include "TDataRectangle.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <string>

using namespace symbol_test;

namespace {

constexpr uint32_t kRed = MakeColor(255, 0, 0);
constexpr uint32_t kBlue = MakeColor(0, 0, 255);
constexpr uint32_t kYellow = MakeColor(255, 220, 0);

// "Door": a 40 x 20 yellow panel crossed by a blue line, reference (10, 5).
TDataGroupSymbol* Door()
{
  auto* panel = new TDataRectangle(200, 300, 40, 20);
  panel->SetColor(1, kYellow);
  panel->SetCorners(0, 0);
  auto* bar = new TDataLine(200, 310, 240, 310);
  bar->SetColor(0, kBlue);
  return MakeDefinition("Door", {panel, bar}, 10, 5);
}

class SymbolTest : public SymbolViewTest
{
protected:
  void SetUp() override
  {
    SymbolViewTest::SetUp();
    ASSERT_TRUE(library.AddDefinition(Door()));
  }

  std::unique_ptr<TDataSymbol> Place(const char* name, int32_t x, int32_t y)
  {
    auto symbol = std::make_unique<TDataSymbol>(&library, x, y, name);
    symbol->SetOwner(&client);
    return symbol;
  }

  std::unique_ptr<TDataSymbol> CreateInteractively()
  {
    std::unique_ptr<TStreamable> made(CreateObject(kTDataSymbol, &client, 0));
    auto* symbol = dynamic_cast<TDataSymbol*>(made.get());
    if (!symbol)
      return nullptr;
    made.release();
    return std::unique_ptr<TDataSymbol>(symbol);
  }
};

} // namespace

TEST_F(SymbolTest, AnInstanceTakesItsDefinitionsSizeAroundTheReferencePoint)
{
  const auto door = Place("Door", 100, 50);
  EXPECT_TRUE(SameRect(RectOf(*door), 90, 45, 130, 65));
  EXPECT_TRUE(SameRect(RectOf(*door, 3), 100, 50, 40, 20));
  door->SetRect(TRect(300, 200, 0, 0), kRectPosition);
  EXPECT_TRUE(SameRect(RectOf(*door), 290, 195, 330, 215));

  EXPECT_EQ(door->Message(MSG_TYPE_NAME, 0, 0, nullptr), 29294u);
  EXPECT_EQ(door->Message(MSG_MASK_A, 0, 0, nullptr), 0x40000001u);
  EXPECT_EQ(door->Message(MSG_MASK_B, 0, 0, nullptr), 0x500u);
  EXPECT_TRUE(door->IsA(kTDataSymbol));
  EXPECT_FALSE(door->IsA(kTDataGroup));
  // Its layers are those of the definition's members.
  library.definitions[0]->GetChild(1)->SetLayers(2);
  EXPECT_EQ(door->GetLayers(), 2 | 8);
}

TEST_F(SymbolTest, ExplodingGivesTheMembersWhereTheInstanceShowsThem)
{
  const auto door = Place("Door", 100, 50);
  TDataGroup pieces;
  EXPECT_EQ(door->Message(MSG_EXPLODE, 0, 0, &pieces), 2u);
  ASSERT_EQ(pieces.GetChildCount(), 2);
  EXPECT_TRUE(SameRect(RectOf(*pieces.GetChild(0)), 90, 45, 130, 65));
  EXPECT_TRUE(SameRect(RectOf(*pieces.GetChild(1), 9), 90, 55, 130, 55));
  for (int32_t i = 0; i < 2; ++i) {
    EXPECT_EQ(pieces.GetChild(i)->TestState(TData::kNoReferenceCross), 0);
    // The definition keeps its own members untouched.
    EXPECT_NE(library.definitions[0]->GetChild(i)->TestState(TData::kNoReferenceCross), 0);
  }
  EXPECT_TRUE(SameRect(RectOf(*library.definitions[0]->GetChild(0)), 0, 0, 40, 20));
  EXPECT_EQ(door->Message(MSG_EXPLODE, 0, 0, nullptr), 0u);
}

TEST_F(SymbolTest, AMissingDefinitionLeavesTheInstanceAsStoredAndExplodesIntoNothing)
{
  const auto gate = Place("Gate", 20, 30);
  EXPECT_TRUE(SameRect(RectOf(*gate), 20, 30, 21, 31));
  gate->SetRect(TRect(20, 20, 120, 60), kRectFrame);
  EXPECT_EQ(gate->Message(MSG_RESOLVE_SYMBOL, 0, 0, nullptr), 1u);
  EXPECT_TRUE(SameRect(RectOf(*gate), 20, 20, 120, 60));
  EXPECT_EQ(gate->Message(MSG_MASK_B, 0, 0, nullptr), 0u);
  TDataGroup pieces;
  EXPECT_EQ(gate->Message(MSG_EXPLODE, 0, 0, &pieces), 0u);
  EXPECT_EQ(pieces.GetChildCount(), 0);
  // Without a definition it shows on the view's active layer, and on none
  // without a view.
  client.SetLayers(4);
  EXPECT_EQ(gate->GetLayers(), 4);
  EXPECT_EQ(TDataSymbol(&library, 0, 0, "Gate").GetLayers(), 0);

  // Once the definition exists the instance takes its size around its
  // reference point, which stays where it was.
  library.definitions[0]->SetName("Gate");
  EXPECT_EQ(gate->Message(MSG_RESOLVE_SYMBOL, 0, 0, nullptr), 1u);
  EXPECT_TRUE(SameRect(RectOf(*gate), 10, 15, 50, 35));
  EXPECT_TRUE(SameRect(RectOf(*gate, 3), 20, 20, 40, 20));
}

TEST_F(SymbolTest, InstanceRecordsRoundTripAndOlderOnesReadBack)
{
  const auto door = Place("Door", 100, 50);
  door->SetState(TData::kUndeletable, true);
  const std::string text = Written(*door);
  EXPECT_EQ(text.substr(0, text.find("\n\tTData ")), "TDataSymbol 1 10 5\n\tTString 1 7 4 Door");
  const auto back = ReadAs<TDataSymbol>(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(Written(*back), text);
  EXPECT_EQ(back->GetName(), "Door");

  // Version 0 stored no reference offsets; a reader without a library
  // keeps the stored rectangle.
  std::string v0 = text;
  v0.replace(0, v0.find('\n'), "TDataSymbol 0");
  const auto old = ReadAs<TDataSymbol>(v0);
  ASSERT_TRUE(old);
  int32_t x = -1, y = -1;
  old->GetReference(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_TRUE(SameRect(RectOf(*old), 90, 45, 130, 65));

  std::string v2 = text;
  v2.replace(0, v2.find('\n'), "TDataSymbol 2 10 5 77 more");
  const auto newer = ReadAs<TDataSymbol>(v2);
  ASSERT_TRUE(newer);
  EXPECT_EQ(Written(*newer), text);
}

TEST_F(SymbolTest, DefinitionRecordsRoundTripAndOlderOnesHideTheirCrosses)
{
  TDataGroupSymbol* door = library.definitions[0].get();
  const std::string text = Written(*door);
  EXPECT_EQ(text.substr(0, text.find('\n')), "TDataGroupSymbol 1 \tTString 1 7 4 Door");
  EXPECT_EQ(text.substr(text.find('\n') + 1, 22), "\tTDataGroup 2 2 10 5\nT");
  const auto back = ReadAs<TDataGroupSymbol>(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->GetName(), "Door");
  EXPECT_EQ(Written(*back), text);

  // Members of the first definitions showed their crosses in the record.
  TDataGroupSymbol plain;
  plain.SetName("Plain");
  plain.AddChild(new TDataLine(0, 0, 10, 10));
  std::string v0 = Written(plain);
  v0.replace(0, 18, "TDataGroupSymbol 0");
  const auto old = ReadAs<TDataGroupSymbol>(v0);
  ASSERT_TRUE(old);
  ASSERT_EQ(old->GetChildCount(), 1);
  EXPECT_NE(old->GetChild(0)->TestState(TData::kNoReferenceCross), 0);
  EXPECT_EQ(old->GetName(), "Plain");

  // A newer writer's first line is skipped whole.
  std::string v2 = text;
  v2.replace(0, 18, "TDataGroupSymbol 2");
  const auto newer = ReadAs<TDataGroupSymbol>(v2);
  ASSERT_TRUE(newer);
  EXPECT_EQ(newer->GetChildCount(), 2);
  EXPECT_TRUE(newer->GetName().empty());
}

TEST_F(SymbolTest, ADefinitionIsRefreshedWhenANestedDefinitionChanges)
{
  auto* window = MakeDefinition("Window", {new TDataRectangle(0, 0, 30, 30)}, 0, 0);
  ASSERT_TRUE(library.AddDefinition(window));
  auto* house = MakeDefinition(
      "House", {new TDataRectangle(500, 500, 100, 80), new TDataSymbol(&library, 510, 510, "Window")}, 0, 0);
  ASSERT_TRUE(library.AddDefinition(house));
  EXPECT_TRUE(SameRect(RectOf(*house->GetChild(1)), 10, 10, 40, 40));
  EXPECT_EQ(house->CountInstances({}), 1);
  EXPECT_EQ(house->CountInstances("Window"), 1);
  EXPECT_EQ(house->CountInstances("Door"), 0);

  // The window's reference point moves: the nested instance keeps its
  // reference point and so sticks out to the left and top; the content is
  // moved back to (0, 0) and the house's reference point goes with it.
  window->SetReference(15, 15);
  house->RefreshInstances();
  EXPECT_TRUE(SameRect(RectOf(*house), 0, 0, 105, 85));
  EXPECT_TRUE(SameRect(RectOf(*house->GetChild(0)), 5, 5, 105, 85));
  EXPECT_TRUE(SameRect(RectOf(*house->GetChild(1)), 0, 0, 30, 30));
  int32_t x = 0, y = 0;
  house->GetReference(x, y);
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 5);
}

TEST_F(SymbolTest, RenamingReachesInstancesNestedInDefinitions)
{
  auto* house = MakeDefinition(
      "House", {new TDataSymbol(&library, 10, 10, "Door"), new TDataRectangle(0, 0, 80, 80)}, 0, 0);
  ASSERT_TRUE(library.AddDefinition(house));
  TDataGroupSymbol* door = library.definitions[0].get();
  EXPECT_FALSE(door->Rename("Door", ""));
  EXPECT_FALSE(house->Rename("Gate", "Portal"));
  EXPECT_TRUE(door->Rename("Door", "Portal"));
  EXPECT_TRUE(house->Rename("Door", "Portal"));
  EXPECT_EQ(door->GetName(), "Portal");
  EXPECT_EQ(house->GetName(), "House");
  EXPECT_EQ(house->CountInstances("Portal"), 1);
  EXPECT_EQ(house->CountInstances("Door"), 0);
  // Names are compared without regard to accents, never when empty.
  EXPECT_TRUE(door->NameEquals("Portál"));
  EXPECT_FALSE(door->NameEquals("portal"));
  EXPECT_FALSE(TDataGroupSymbol().NameEquals(""));
}

TEST_F(SymbolTest, CircularDefinitionsPaintAndCountLayersWithoutEndlessRecursion)
{
  // "Loop" shows itself; "Ping" and "Pong" show each other.
  auto* loop = new TDataGroupSymbol;
  loop->SetName("Loop");
  loop->AddChild(new TDataRectangle(0, 0, 20, 20));
  loop->AddChild(new TDataSymbol(nullptr, 5, 5, "Loop"));
  loop->SetRect(TRect(0, 0, 20, 20), kRectFrame);
  ASSERT_TRUE(library.AddDefinition(loop));
  auto* ping = new TDataGroupSymbol;
  ping->SetName("Ping");
  ping->AddChild(new TDataSymbol(nullptr, 0, 0, "Pong"));
  ping->SetRect(TRect(0, 0, 10, 10), kRectFrame);
  auto* pong = new TDataGroupSymbol;
  pong->SetName("Pong");
  pong->AddChild(new TDataSymbol(nullptr, 0, 0, "Ping"));
  pong->SetRect(TRect(0, 0, 10, 10), kRectFrame);
  ASSERT_TRUE(library.AddDefinition(ping));
  ASSERT_TRUE(library.AddDefinition(pong));

  TPageMem page(200, 200, 100);
  for (const char* name : {"Loop", "Ping", "Pong"}) {
    const auto symbol = Place(name, 50, 50);
    EXPECT_NE(symbol->GetLayers(), 0) << name;
    EXPECT_TRUE(symbol->Paint(&page, TData::kPaintScreen)) << name;
    symbol->Message(MSG_RESOLVE_SYMBOL, 0, 0, nullptr);
  }
  loop->RefreshInstances();
  ping->RefreshInstances();
  page.Release();
}

TEST_F(SymbolTest, TheSelectionOutlineStaysOffTheSharedMembers)
{
  const auto one = Place("Door", 60, 60);
  TPageMem page(200, 200, 100);
  one->Paint(&page, TData::kPaintScreen);
  const QImage before = page.Image().copy();
  one->Paint(&page, TData::kPaintToggleOutline);
  EXPECT_NE(one->TestState(TData::kSelected), 0);
  for (int32_t i = 0; i < 2; ++i)
    EXPECT_EQ(library.definitions[0]->GetChild(i)->TestState(TData::kSelected), 0);
  EXPECT_FALSE(CompareImages(page.Image(), before).same);
  one->Paint(&page, TData::kPaintToggleOutline);
  EXPECT_EQ(one->TestState(TData::kSelected), 0);
  EXPECT_TRUE(CompareImages(page.Image(), before, 0).same);
  page.Release();
}

TEST_F(SymbolTest, MenuCommandsOfAnInstance)
{
  const auto door = Place("Door", 100, 50);
  EXPECT_EQ(door->ContextCommand(&client, CM_OBJ_EXPLODE), CM_OBJ_EXPLODE);
  EXPECT_TRUE(SameRect(RectOf(*door), 90, 45, 130, 65));
  EXPECT_EQ(door->ContextCommand(&client, CM_OBJ_REFERENCE_POINT), 0);
  ASSERT_EQ(library.commands.size(), 1u);
  EXPECT_EQ(library.commands[0].command, CM_OBJ_REFERENCE_POINT);
  EXPECT_EQ(library.commands[0].object, door.get());

  std::unique_ptr<TData> copy(door->Clone(nullptr, 0));
  EXPECT_EQ(Written(*copy), Written(*door));
  EXPECT_EQ(static_cast<TDataSymbol*>(copy.get())->GetLibrary(), &library);
}

TEST_F(SymbolTest, CreationChoosesADefinitionAndDragsTheInstanceIntoPlace)
{
  input.AnswerOption(0);
  input.SetPointer(100, 50);
  input.Drag(30, 20, 2);
  input.LeftUp();
  const auto door = CreateInteractively();
  ASSERT_TRUE(door);
  EXPECT_EQ(door->GetName(), "Door");
  EXPECT_TRUE(SameRect(RectOf(*door), 120, 65, 160, 85));
  EXPECT_EQ(input.dialogs.front(), "ChooseOption:Symbol Name");
  ExpectViewRestored();
}

TEST_F(SymbolTest, EveryCancelCreatesNothing)
{
  // The choice of the definition is cancelled.
  EXPECT_FALSE(CreateInteractively());
  EXPECT_EQ(input.unanswered.back(), "ChooseOption:Symbol Name");
  ExpectViewRestored();

  // The drag is cancelled with ESC and with the right button.
  input.AnswerOption(0);
  input.Drag(30, 20);
  input.Char(VK_ESCAPE_);
  EXPECT_FALSE(CreateInteractively());
  ExpectViewRestored();
  input.AnswerOption(0);
  input.Drag(30, 20);
  input.RightUp();
  EXPECT_FALSE(CreateInteractively());
  ExpectViewRestored();

  // An empty library asks nothing; a view without a library creates nothing.
  const size_t asked = input.dialogs.size();
  library.definitions.clear();
  EXPECT_FALSE(CreateInteractively());
  EXPECT_EQ(input.dialogs.size(), asked);
  client.library = nullptr;
  EXPECT_FALSE(CreateInteractively());
  ExpectViewRestored();

  std::unique_ptr<TStreamable> plain(CreateObject(kTDataSymbol, nullptr, 0));
  EXPECT_TRUE(dynamic_cast<TDataSymbol*>(plain.get()));
}

TEST_F(SymbolTest, AMissingDefinitionShowsAFrameWithTheName)
{
  const auto gate = Place("Gate", 0, 0);
  gate->SetRect(TRect(20, 20, 180, 70), kRectFrame);
  const auto unnamed = Place("", 0, 0);
  unnamed->SetRect(TRect(20, 90, 180, 130), kRectFrame);
  TPageMem page(200, 150, 100);
  EXPECT_TRUE(gate->Paint(&page, TData::kPaintOutput));
  EXPECT_TRUE(unnamed->Paint(&page, TData::kPaintOutput));
  page.Release();
  EXPECT_TRUE(MatchesGolden(page.Image(), Golden("symbol_missing"), 8, 40));
}

TEST_F(SymbolTest, APageWithAGroupAndTwoInstances)
{
  TDataGroup group;
  auto* line = new TDataLine(20, 20, 140, 100);
  line->SetColor(0, kRed);
  line->SetPenWidth(3);
  auto* box = new TDataRectangle(60, 30, 90, 60);
  box->SetColor(1, kBlue);
  box->SetCorners(0, 0);
  group.AddChild(box);
  group.AddChild(line);
  const auto left = Place("Door", 200, 40);
  const auto right = Place("Door", 230, 120);
  right->SetState(TData::kSelected, true);

  TPageMem page(300, 160, 100);
  EXPECT_TRUE(group.Paint(&page, TData::kPaintOutput));
  EXPECT_TRUE(left->Paint(&page, TData::kPaintOutput));
  EXPECT_TRUE(right->Paint(&page, TData::kPaintScreen));
  page.Release();
  EXPECT_TRUE(MatchesGolden(page.Image(), Golden("group_and_symbols"), 8, 40));
}
