// The commands of the Page, Zoom and Preferences menus as the document view
// carries them out.

#include "DocumentTestSupport.h"

#include "Colors.h"
#include "CommandIds.h"
#include "Defaults.h"

#include <algorithm>

namespace {

bool Received(const RecordingObject& object, uint32_t message)
{
  return std::find(object.received.begin(), object.received.end(), message) != object.received.end();
}

TEST_F(DocumentTest, UnitsMarkTheDocumentAndRefreshEveryObject)
{
  client.GetPage()->SetPaperSize(800, 1000);
  client.GetPage()->SetUnitsPerInch(100);
  RecordingObject* object = Add(10, 10, 20, 20);
  TUserInput::UnitsSettings settings;
  settings.unitIndex = 4; // 0.1 mm
  settings.factor = 0.1f;
  settings.decimals = 1;
  input.AnswerUnits(settings);
  EXPECT_EQ(client.Message(CM_UNITS, 0, 0, nullptr), 1u);
  EXPECT_EQ(client.GetPage()->GetPaperWidth(), 2032);
  EXPECT_EQ(client.GetPage()->GetPaperHeight(), 2540);
  EXPECT_TRUE(client.IsModified());
  EXPECT_TRUE(Received(*object, MSG_REFRESH));

  // A cancelled dialogue changes nothing.
  client.SetModified(false);
  object->received.clear();
  input.AnswerUnits(std::nullopt);
  EXPECT_EQ(client.Message(CM_UNITS, 0, 0, nullptr), 0u);
  EXPECT_FALSE(client.IsModified());
  EXPECT_TRUE(object->received.empty());
}

TEST_F(DocumentTest, PageColourMayBeNone)
{
  input.AnswerColor(kNoColor);
  EXPECT_EQ(client.Message(CM_PAGE_COLOR, 0, 0, nullptr), 1u);
  EXPECT_EQ(client.GetColor(1), kNoColor);
  EXPECT_TRUE(client.IsModified());
}

TEST_F(DocumentTest, DefaultAttributesComeFromTheirDialogues)
{
  const TPen pen = DefaultPen();
  const TBrush brush = DefaultBrush();
  const uint32_t textColour = DefaultTextColor();
  const TPage page = DefaultPage();

  input.AnswerColor(0x112233);
  EXPECT_EQ(client.Message(CM_DEFAULT_LINE_COLOR, 0, 0, nullptr), 1u);
  EXPECT_EQ(DefaultPen().GetColor(), 0x112233u);
  input.AnswerColor(0x445566);
  EXPECT_EQ(client.Message(CM_DEFAULT_BACK_COLOR, 0, 0, nullptr), 1u);
  EXPECT_EQ(DefaultBrush().GetStyle(), uint32_t{TBrush::kSolid});
  EXPECT_EQ(DefaultBrush().GetColor(), 0x445566u);
  input.AnswerColor(kNoColor);
  EXPECT_EQ(client.Message(CM_DEFAULT_BACK_COLOR, 0, 0, nullptr), 1u);
  EXPECT_EQ(DefaultBrush().GetStyle(), uint32_t{TBrush::kHollow});
  input.AnswerColor(0x0000FF);
  EXPECT_EQ(client.Message(CM_DEFAULT_TEXT_COLOR, 0, 0, nullptr), 1u);
  EXPECT_EQ(DefaultTextColor(), 0x0000FFu);
  input.AnswerPen(std::nullopt);
  EXPECT_EQ(client.Message(CM_DEFAULT_LINE_TYPE, 0, 0, nullptr), 0u);

  // The page becomes the default only after the question is confirmed.
  client.GetPage()->SetPaperSize(1234, 567);
  input.AnswerMessageBox(IDCANCEL_);
  EXPECT_EQ(client.Message(CM_DEFAULT_PAGE, 0, 0, nullptr), 0u);
  EXPECT_EQ(DefaultPage().GetPaperWidth(), page.GetPaperWidth());
  input.AnswerMessageBox(IDOK_);
  EXPECT_EQ(client.Message(CM_DEFAULT_PAGE, 0, 0, nullptr), 1u);
  EXPECT_EQ(DefaultPage().GetPaperWidth(), 1234);
  EXPECT_EQ(DefaultPage().GetPaperHeight(), 567);
  ASSERT_EQ(input.messageBoxes.size(), 2u);
  EXPECT_EQ(input.messageBoxes[1].text,
            "The page parameters of this document,\nsize and units,\nwill be the new default values");
  EXPECT_EQ(input.messageBoxes[1].title, "Default page");
  EXPECT_EQ(input.messageBoxes[1].flags, uint32_t{MB_OKCANCEL_ | MB_ICONINFORMATION_});
  // None of this is a change of the document.
  EXPECT_FALSE(client.IsModified());

  DefaultPen() = pen;
  DefaultBrush() = brush;
  DefaultTextColor() = textColour;
  DefaultPage() = page;
}

} // namespace
