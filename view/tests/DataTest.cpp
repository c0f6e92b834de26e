#include "ViewTestSupport.h"

#include "Colors.h"
#include "CommandIds.h"
#include "StringTable.h"
#include "TInStream.h"
#include "TOutStream.h"
#include "ValueFormat.h"

#include <memory>

namespace {

TData ReadData(const std::string& text)
{
  TData d;
  TInStream is(text);
  d.Read(is);
  return d;
}

TEST(DataTest, NewObjectCopiesTheDefaultPenAndBrush)
{
  DefaultsGuard guard;
  DefaultPen() = TPen(MakeColor(10, 20, 30), 4, TPen::kDash);
  DefaultBrush().SetStyle(TBrush::kSolid);
  DefaultBrush().SetColor(MakeColor(1, 2, 3));
  TData d;
  EXPECT_EQ(d.GetLayers(), 8);
  EXPECT_EQ(d.GetState(), 0);
  EXPECT_EQ(d.GetPen().GetColor(), MakeColor(10, 20, 30));
  EXPECT_EQ(d.GetPen().GetWidth(), 4);
  EXPECT_EQ(d.GetPen().GetStyle(), TPen::kDash);
  EXPECT_EQ(d.GetColor(1), MakeColor(1, 2, 3));
  EXPECT_TRUE(d.IsA(kTData));
  EXPECT_FALSE(d.IsA(kTRect));
}

TEST(DataTest, RecordWritesVersionThreeAndReadsBack)
{
  TestObject d(10, 20, 30, 40);
  d.SetState(TData::kRefreshOnSave, true);
  d.SetColor(0, 0x123456);
  TOutStream os;
  d.Write(os);
  const std::string& text = os.Data();
  EXPECT_EQ(text.substr(0, text.find('\n')), "TData 3 64 8 0");
  EXPECT_NE(text.find("\n\tTPen "), std::string::npos);
  EXPECT_NE(text.find("\n\tTBrush "), std::string::npos);
  EXPECT_NE(text.find("\n\tTRect 0 10 20 30 40\n"), std::string::npos);

  const TData back = ReadData(text);
  EXPECT_EQ(back.GetState(), TData::kRefreshOnSave);
  EXPECT_EQ(back.GetPen().GetColor(), 0x123456u);
  EXPECT_EQ(TRect(back.left, back.top, back.right, back.bottom).Width(), 20);
  EXPECT_EQ(back.top, 20);
}

TEST(DataTest, AFileNeverSaysWhoFreesAnObjectOrWhetherItsOutlineShows)
{
  const TData read =
      ReadData("TData 3 " + std::to_string(TData::kNotOwned | TData::kSelected | TData::kUndeletable) +
               " 8 0\n\tTPen 0 6 1 1 0\n\tTBrush 0 1 0 0\n\tTRect 0 1 2 3 4\n");
  EXPECT_EQ(read.GetState(), TData::kUndeletable);
}

TEST(DataTest, OlderRecordsCarryColoursAndOldLayerNumbers)
{
  // Versions 0 and 1 used 3 for the default layer; version 2 keeps it.
  const TData v1 = ReadData("TData 1 6 3 0 255 16777215\n\tTRect 0 1 2 3 4\n");
  EXPECT_EQ(v1.GetState(), 6);
  EXPECT_EQ(v1.GetLayers(), 8);
  EXPECT_EQ(v1.GetPen().GetColor(), 255u);
  EXPECT_EQ(v1.GetColor(1), 16777215u);
  EXPECT_EQ(v1.right, 3);
  const TData v2 = ReadData("TData 2 0 3 0 0 4294967295\n\tTRect 0 1 2 3 4\n");
  EXPECT_EQ(v2.GetLayers(), 3);
  EXPECT_EQ(v2.GetColor(1), kNoColor);
  EXPECT_EQ(v2.GetBrush().GetStyle(), TBrush::kHollow);
  // Version 0: a word and F follow the state; layers only when F >= 1.
  const TData v0 = ReadData("TData 0 1 7 1 3 0 9 10\n\tTRect 0 1 2 3 4\n");
  EXPECT_EQ(v0.GetLayers(), 8);
  EXPECT_EQ(v0.GetPen().GetColor(), 9u);
  const TData v0NoLayers = ReadData("TData 0 1 7 0 9 10\n\tTRect 0 5 6 7 8\n");
  EXPECT_EQ(v0NoLayers.GetLayers(), 8);
  EXPECT_EQ(v0NoLayers.GetColor(1), 10u);
  EXPECT_EQ(v0NoLayers.left, 5);
  // Not a TData record: nothing is read.
  TInStream is("TRect 0 1 2 3 4\n");
  TData other;
  other.Read(is);
  EXPECT_EQ(other.right, 0);
  EXPECT_EQ(is.tellg(), 0);
}

TEST(DataTest, MoveAndResizeChecksKeepTheObjectOnThePage)
{
  TData d;
  d.Assign(TRect(10, 10, 100, 100));
  TRect page(0, 0, 800, 1000);
  EXPECT_EQ(d.Message(MSG_MAY_MOVE, 0, 0, &page), 2u);
  EXPECT_EQ(d.Message(MSG_MAY_MOVE, 5, 5, nullptr), 0u);
  EXPECT_EQ(d.Message(MSG_MAY_MOVE, -11, 0, &page), 0u);
  EXPECT_EQ(d.Message(MSG_MAY_MOVE, -10, -10, &page), 1u);
  EXPECT_EQ(d.Message(MSG_MAY_MOVE, 0, -11, &page), 0u);
  EXPECT_EQ(d.Message(MSG_MAY_MOVE, 700, 900, &page), 1u);
  EXPECT_EQ(d.Message(MSG_MAY_MOVE, 701, 0, &page), 0u);
  EXPECT_EQ(d.Message(MSG_MAY_MOVE, 0, 901, &page), 0u);

  EXPECT_EQ(d.Message(MSG_MAY_RESIZE, 0, 0, &page), 2u);
  EXPECT_EQ(d.Message(MSG_MAY_RESIZE, -90, -90, &page), 1u);
  EXPECT_EQ(d.Message(MSG_MAY_RESIZE, -91, 0, &page), 0u);
  EXPECT_EQ(d.Message(MSG_MAY_RESIZE, 0, -91, &page), 0u);
  EXPECT_EQ(d.Message(MSG_MAY_RESIZE, 701, 0, &page), 0u);
  EXPECT_EQ(d.Message(MSG_MAY_RESIZE, 0, 901, &page), 0u);

  EXPECT_TRUE(d.Resize(-5000, -5000));
  EXPECT_EQ(d.right, d.left);
  EXPECT_EQ(d.bottom, d.top);
}

TEST(DataTest, ColoursLayersAndTakenPens)
{
  TData plain;
  plain.SetColor(1, kNoColor);
  EXPECT_EQ(plain.GetBrush().GetStyle(), TBrush::kHollow);
  EXPECT_EQ(plain.GetColor(1), kNoColor);
  plain.SetColor(1, 0x00FF00);
  EXPECT_EQ(plain.GetBrush().GetStyle(), TBrush::kSolid);
  EXPECT_EQ(plain.GetColor(1), 0x00FF00u);
  EXPECT_EQ(plain.GetColor(7), 0u);

  // Only objects offering "Layer" take a layer mask.
  plain.SetLayers(3);
  EXPECT_EQ(plain.GetLayers(), 8);
  TestObject layered(0, 0, 1, 1);
  layered.SetLayers(3);
  EXPECT_EQ(layered.GetLayers(), 3);

  // Only objects offering "Line Type..." take a pen.
  TPen red(MakeColor(255, 0, 0), 7, TPen::kDot);
  TestObject noPen(0, 0, 1, 1, 0x4);
  noPen.Message(MSG_TAKE_PEN, 0, 0, &red);
  EXPECT_NE(noPen.GetPen().GetWidth(), 7);
  TestObject withPen(0, 0, 1, 1, 0x400);
  EXPECT_EQ(withPen.Message(MSG_TAKE_PEN, 0, 0, &red), 0u);
  EXPECT_EQ(withPen.GetPen().GetWidth(), 7);
  ASSERT_EQ(withPen.notified.size(), 1u);
  EXPECT_EQ(withPen.notified[0], CM_OBJ_LINE_TYPE);
}

TEST(DataTest, RectangleModes)
{
  TData d;
  d.Assign(TRect(10, 20, 41, 61));
  TRect r;
  d.GetRect(r, kRectPosition);
  EXPECT_EQ(r.right, 31);
  EXPECT_EQ(r.bottom, 41);
  d.GetRect(r, kRectCenter);
  EXPECT_EQ(r.left, 25);
  EXPECT_EQ(r.top, 40);

  d.SetRect(TRect(100, 100, 0, 0), kRectPosition);
  EXPECT_EQ(d.left, 100);
  EXPECT_EQ(d.right, 131);
  d.SetRect(TRect(0, 0, 0, 0), kRectCenter);
  EXPECT_EQ(d.left, -15);
  EXPECT_EQ(d.top, -20);
  // Anchored: right edge at x, vertically centred on y.
  d.SetRect(TRect(200, 300, 2, 16), kRectAnchored);
  EXPECT_EQ(d.right, 200);
  EXPECT_EQ(d.top, 280);
  EXPECT_EQ(d.bottom, 321);
}

TEST(DataTest, CloneCopiesEverythingButStaysApart)
{
  TestObject d(1, 2, 3, 4);
  d.SetLayers(17);
  d.SetState(TData::kUncopyable, true);
  d.SetColor(0, 99);
  std::unique_ptr<TData> copy(d.Clone(nullptr, 0));
  EXPECT_EQ(copy->ClassId(), kTData);
  EXPECT_EQ(copy->GetLayers(), 17);
  EXPECT_EQ(copy->GetState(), TData::kUncopyable);
  EXPECT_EQ(copy->GetPen().GetColor(), 99u);
  EXPECT_EQ(copy->bottom, 4);
  copy->Offset(5, 5);
  EXPECT_EQ(d.left, 1);
}

class DataViewTest : public ViewTest
{
};

TEST_F(DataViewTest, ShowInfoWritesPositionAndSize)
{
  client.GetPage()->SetUnitFactor(0.01f);
  client.GetPage()->SetDecimals(2);
  client.SetOrigin(50, 0);
  TData d;
  d.Assign(TRect(250, 100, 350, 400));
  ASSERT_TRUE(d.ShowInfo(&client, nullptr, 0));
  const char sep = DecimalSeparator();
  auto num = [sep](const char* text) {
    std::string s = text;
    for (char& c : s)
      if (c == '.')
        c = sep;
    return s;
  };
  EXPECT_EQ(input.LastStatus(), num("X= 2.00  Y= 1.00  L= 1.00  H= 3.00"));

  TData reference;
  reference.Assign(TRect(200, 100, 300, 500));
  ASSERT_TRUE(d.ShowInfo(&client, &reference, 0));
  EXPECT_EQ(input.LastStatus(), num("X= 2.00 (+0.50)  Y= 1.00 (+0.00)  L= 1.00 (+0.00)  H= 3.00 (-1.00)"));
  EXPECT_FALSE(d.ShowInfo(nullptr, nullptr, 0));
}

TEST_F(DataViewTest, MenuShowsTheOfferedEntriesInOrder)
{
  TestObject d(10, 10, 50, 50, 0x1 | 0x4 | 0x400, 0x10, IDS_MENU_LINE_TYPE);
  input.AnswerMenu(0);
  EXPECT_EQ(d.ContextCommand(&client, 0), 0);
  ASSERT_EQ(input.menus.size(), 1u);
  const auto& menu = input.menus[0];
  EXPECT_EQ(menu.title, LoadStr(IDS_MENU_LINE_TYPE));
  std::vector<uint16_t> commands;
  for (const auto& item : menu.items)
    commands.push_back(item.command);
  const std::vector<uint16_t> expected = {32558, 32566, 32564, 32700, 0,     32657, 32670,
                                          32607, 0,     32300, 32293, 32301, 32296};
  EXPECT_EQ(commands, expected);
  EXPECT_EQ(menu.items[1].text, "Color");
  // The highlight came and went.
  EXPECT_TRUE(input.OverlayBlank());
  EXPECT_EQ(input.overlayChanges, 2);
  EXPECT_EQ(d.GetState() & TData::kSelected, 0);
}

TEST_F(DataViewTest, MenuLeavesOutWhatTheObjectRefuses)
{
  TestObject locked(10, 10, 50, 50, 0x800 | 0x4, 0, IDS_MENU_FONT);
  locked.SetState(TData::kUndeletable | TData::kUnmodifiable | TData::kUncopyable, true);
  client.RunObjectMenu(&locked);
  ASSERT_EQ(input.menus.size(), 1u);
  std::vector<uint16_t> commands;
  for (const auto& item : input.menus[0].items)
    commands.push_back(item.command);
  EXPECT_EQ(commands, (std::vector<uint16_t>{32566, 32528, 0, 32300, 32294, 32296, 32302}));

  TestObject fontOnly(10, 10, 50, 50, 0x800, 0, IDS_MENU_FONT);
  client.RunObjectMenu(&fontOnly);
  for (const auto& item : input.menus.back().items)
    EXPECT_NE(item.command, 32302);

  // No capability: no menu at all.
  TestObject nothing(10, 10, 50, 50, 0, 0);
  EXPECT_EQ(nothing.ContextCommand(&client, 0), 0);
  EXPECT_EQ(input.menus.size(), 2u);
}

TEST_F(DataViewTest, ChosenCommandsChangeTheObject)
{
  DefaultsGuard guard;
  TestObject d(100, 100, 200, 150, 0x1 | 0x4 | 0x400 | 0x800000, 0x10, IDS_MENU_LINE_TYPE);
  input.AnswerMenu(CM_OBJ_COLOR);
  input.AnswerColor(0x0000FF);
  EXPECT_EQ(d.ContextCommand(&client, 0), CM_OBJ_COLOR);
  EXPECT_EQ(d.GetPen().GetColor(), 0x0000FFu);
  EXPECT_EQ(d.notified.back(), CM_OBJ_COLOR);

  // Background colour offers "none", which makes the brush hollow.
  input.AnswerColor(kNoColor);
  EXPECT_EQ(d.ContextCommand(&client, CM_OBJ_BACK_COLOR), CM_OBJ_BACK_COLOR);
  EXPECT_EQ(d.GetBrush().GetStyle(), TBrush::kHollow);
  EXPECT_EQ(input.dialogs.back(), "ChooseColor:none");

  // A cancelled dialog changes nothing and answers 0.
  input.AnswerPen(std::nullopt);
  EXPECT_EQ(d.ContextCommand(&client, CM_OBJ_LINE_TYPE), 0);

  // An empty layer mask is refused and the dialog asked again.
  input.AnswerObjectLayers(0);
  input.AnswerObjectLayers(17);
  EXPECT_EQ(d.ContextCommand(&client, CM_OBJ_LAYER), CM_OBJ_LAYER);
  EXPECT_EQ(d.GetLayers(), 17);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, "The object must show\nat least on one layer");

  // The default-setting commands write the process-wide defaults.
  DefaultPen().SetColor(0x111111);
  d.SetPenWidth(5);
  EXPECT_EQ(d.ContextCommand(&client, CM_OBJ_DEFAULT_LINE_TYPE), 0);
  EXPECT_EQ(DefaultPen().GetWidth(), 5);
  EXPECT_EQ(DefaultPen().GetColor(), 0x111111u);
  d.ContextCommand(&client, CM_OBJ_DEFAULT_COLOR);
  EXPECT_EQ(DefaultPen().GetColor(), 0x0000FFu);
  d.SetColor(1, 0x222222);
  d.ContextCommand(&client, CM_OBJ_DEFAULT_BACK_COLOR);
  EXPECT_EQ(DefaultBrush().GetColor(), 0x222222u);
  d.ContextCommand(&client, CM_OBJ_DEFAULT_TEXT_COLOR);
  EXPECT_EQ(DefaultTextColor(), 0x0000FFu);
}

TEST_F(DataViewTest, PositionDragsACopyThatTheObjectFollows)
{
  TestObject d(100, 100, 200, 150, 0x1 | 0x2);
  input.SetPointer(300, 300);
  input.Drag(40, 25, 5);
  input.LeftUp();
  EXPECT_EQ(d.ContextCommand(&client, CM_OBJ_POSITION), CM_OBJ_POSITION);
  EXPECT_EQ(d.left, 140);
  EXPECT_EQ(d.top, 125);
  EXPECT_EQ(d.notified.back(), CM_OBJ_POSITION);
  EXPECT_TRUE(input.OverlayBlank());

  // Cancelled: the object stays.
  input.Drag(10, 10);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(d.ContextCommand(&client, CM_OBJ_SIZE), 0);
  EXPECT_EQ(d.right, 240);
}

TEST_F(DataViewTest, CenterMovesTheCentreOntoTheClick)
{
  TestObject d(100, 100, 201, 151);
  input.Click(400, 500);
  EXPECT_EQ(d.ContextCommand(&client, CM_OBJ_CENTER), CM_OBJ_CENTER);
  EXPECT_EQ(d.Center(), (TPoint{400, 500}));
  EXPECT_EQ(input.statusTexts.front(), "Position center of object...");
}

TEST_F(DataViewTest, ListCommandsArePostedAndRunOnlyForObjectsStillThere)
{
  auto* kept = new TestObject(10, 10, 20, 20);
  auto* removed = new TestObject(30, 30, 40, 40);
  client.AddObject(kept, false);
  client.AddObject(removed, false);
  EXPECT_EQ(kept->ContextCommand(&client, CM_OBJ_DELETE), 0);
  EXPECT_EQ(removed->ContextCommand(&client, CM_OBJ_BRING_TO_TOP), 0);
  ASSERT_EQ(input.posted.size(), 2u);
  EXPECT_EQ(input.posted[0].message, CM_OBJ_DELETE);
  client.RemoveObject(removed, false);
  delete removed;
  client.received.clear();
  EXPECT_EQ(input.DispatchPosted(), 2);
  ASSERT_EQ(client.received.size(), 1u);
  EXPECT_EQ(client.received[0].message, CM_OBJ_DELETE);
  EXPECT_EQ(client.received[0].object, kept);
}

} // namespace
