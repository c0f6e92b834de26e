#include "ViewTestSupport.h"

#include "PageSettingsCommands.h"
#include "StringTable.h"
#include "ValueFormat.h"

namespace {

// Keeps what the settings dialogues were offered.
class OfferInput : public TScriptedInput
{
public:
  bool EditUnits(UnitsSettings& settings) override
  {
    offeredUnits = settings;
    return TScriptedInput::EditUnits(settings);
  }
  bool EditGridSnap(GridSnapSettings& settings) override
  {
    offeredGrid = settings;
    return TScriptedInput::EditGridSnap(settings);
  }
  UnitsSettings offeredUnits;
  GridSnapSettings offeredGrid;
};

// A page view of 800 x 1000 units at 100 units per inch, scale 0.01.
class PageSettingsTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    TPage* page = client.GetPage();
    page->SetPaperSize(800, 1000);
    page->SetUnitsPerInch(100);
    page->SetUnitFactor(0.01f);
    page->SetDecimals(2);
    input.Attach(&client);
  }

  TestClient client;
  OfferInput input;
};

TEST_F(PageSettingsTest, UnitsRescaleThePaperButNotTheObjects)
{
  auto* object = new TestObject(100, 100, 200, 150);
  client.AddObject(object, false);
  TUserInput::UnitsSettings answer;
  answer.unitIndex = 4; // 0.1 mm
  answer.factor = 0.1f;
  answer.decimals = 9; // more than can be shown
  answer.numberFormat = TPage::kFormatDecimal;
  input.AnswerUnits(answer);
  ASSERT_TRUE(UnitsCommand(client));
  const TPage* page = client.GetPage();
  EXPECT_EQ(page->GetPaperWidth(), 2032);
  EXPECT_EQ(page->GetPaperHeight(), 2540);
  EXPECT_EQ(page->GetUnitsPerInch(), 254);
  EXPECT_FLOAT_EQ(page->GetUnitFactor(), 0.1f);
  EXPECT_EQ(page->GetDecimals(), 6);
  EXPECT_EQ(object->left, 100);
  EXPECT_EQ(object->right, 200);
  EXPECT_FALSE(input.invalidated.empty());
}

TEST_F(PageSettingsTest, UnitsShowTheCurrentSettingsAndKeepAPositiveScale)
{
  client.GetPage()->SetUnitsPerInch(500);
  client.GetPage()->SetNumberFormat(TPage::kFormatInches);
  TUserInput::UnitsSettings answer;
  answer.unitIndex = 0;
  answer.factor = 0.0f;
  answer.numberFormat = 12; // no such format
  input.AnswerUnits(answer);
  ASSERT_TRUE(UnitsCommand(client));
  EXPECT_FLOAT_EQ(client.GetPage()->GetUnitFactor(), 0.01f);
  EXPECT_EQ(client.GetPage()->GetNumberFormat(), TPage::kFormatDecimal);
  EXPECT_EQ(client.GetPage()->GetPaperWidth(), 800);
  // Cancelled: nothing changes.
  input.AnswerUnits(std::nullopt);
  EXPECT_FALSE(UnitsCommand(client));
}

TEST(UnitsDialogue, ProposalsAndThePaperSizeLine)
{
  float factor = 0;
  int32_t decimals = 0;
  ProposeUnits(4, TPage::kFormatDecimal, factor, decimals);
  EXPECT_FLOAT_EQ(factor, 0.1f);
  EXPECT_EQ(decimals, 1);
  ProposeUnits(0, TPage::kFormatInches, factor, decimals);
  EXPECT_FLOAT_EQ(factor, 0.002f);
  EXPECT_EQ(decimals, 3);
  ProposeUnits(3, TPage::kFormatFeetInches, factor, decimals);
  EXPECT_FLOAT_EQ(factor, 1.0f);
  EXPECT_EQ(decimals, 1);
  EXPECT_EQ(UnitIndexOf(508), 3);
  EXPECT_EQ(UnitIndexOf(300), 2);
  EXPECT_EQ(UnitsPerInchAt(5), 127);

  TUserInput::UnitsSettings current; // 800 x 1000 at 100 units per inch
  const std::string sep(1, DecimalSeparator());
  EXPECT_EQ(PaperSizeLine(current, 4, 0.1, 1, TPage::kFormatDecimal), "203" + sep + "2 x 254" + sep + "0");
  current.unitsPerInch = 0; // read as 100
  EXPECT_EQ(PaperSizeLine(current, 2, 0.01, 9, TPage::kFormatDecimal),
            "8" + sep + "000000 x 10" + sep + "000000");
}

TEST_F(PageSettingsTest, GridAndSnapAreAskedAndTakenInUserUnits)
{
  client.SetSnapStep(10, 20);
  TUserInput::GridSnapSettings answer;
  answer.gridShown = true;
  answer.snapOn = true;
  answer.gridX = 0.25; // 25 units
  answer.gridY = 0.1;
  answer.snapX = 3.0; // 300 units: out of range, the old step stays
  answer.snapY = 0.3;
  input.AnswerGridSnap(answer);
  ASSERT_TRUE(GridSnapCommand(client));
  int32_t gx, gy, sx, sy;
  client.GetGridStep(gx, gy);
  client.GetSnapStep(sx, sy);
  EXPECT_EQ(gx, 25);
  EXPECT_EQ(gy, 10);
  EXPECT_EQ(sx, 10);
  EXPECT_EQ(sy, 30);
  EXPECT_TRUE(client.IsGridShown());
  EXPECT_TRUE(client.IsSnapOn());
}

TEST_F(PageSettingsTest, SettingsAreOfferedInUserUnits)
{
  client.SetGridStep(10, 40, false);
  client.SetSnapOn(true);
  input.AnswerGridSnap(std::nullopt);
  EXPECT_FALSE(GridSnapCommand(client));
  EXPECT_NEAR(input.offeredGrid.gridX, 0.1, 1e-6);
  EXPECT_NEAR(input.offeredGrid.gridY, 0.4, 1e-6);
  EXPECT_TRUE(input.offeredGrid.snapOn);
  EXPECT_FALSE(input.offeredGrid.gridShown);
  EXPECT_EQ(input.offeredGrid.decimals, 2);

  client.GetPage()->SetUnitsPerInch(508);
  input.AnswerUnits(std::nullopt);
  EXPECT_FALSE(UnitsCommand(client));
  EXPECT_EQ(input.offeredUnits.unitIndex, 3);
  EXPECT_EQ(input.offeredUnits.unitsPerInch, 508);
  EXPECT_EQ(input.offeredUnits.paperWidth, 800);
}

TEST_F(PageSettingsTest, AScaleNotAboveZeroCountsAsOneForTheGrid)
{
  client.GetPage()->SetUnitFactor(0.0f);
  TUserInput::GridSnapSettings answer;
  answer.gridX = answer.gridY = 1e12; // far beyond any step
  answer.snapX = answer.snapY = 7.4;
  input.AnswerGridSnap(answer);
  ASSERT_TRUE(GridSnapCommand(client));
  EXPECT_DOUBLE_EQ(input.offeredGrid.snapX, 10.0);
  int32_t gx, gy, sx, sy;
  client.GetGridStep(gx, gy);
  client.GetSnapStep(sx, sy);
  EXPECT_EQ(gx, 10);
  EXPECT_EQ(sx, 7);
}

TEST_F(PageSettingsTest, PageSizeIsAskedInRangeAndMarksTheDocument)
{
  client.GetPage()->SetSizeMode(1);
  input.AnswerIntegers(std::vector<int32_t>{5, 900}); // width too small
  input.AnswerIntegers(std::vector<int32_t>{1200, 900});
  ASSERT_TRUE(PageSizeCommand(client));
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, "Inapropriate value");
  EXPECT_EQ(input.messageBoxes[0].title, "ERROR");
  EXPECT_EQ(input.dialogs[0], "PromptIntegers:Page Dimension");
  EXPECT_EQ(client.GetPage()->GetPaperWidth(), 1200);
  EXPECT_EQ(client.GetPage()->GetPaperHeight(), 900);
  EXPECT_EQ(client.GetPage()->GetSizeMode(), 0);
  EXPECT_TRUE(client.IsModified());
}

TEST_F(PageSettingsTest, PageSizeLimitsFollowTheUnitsSoEveryPresetFits)
{
  // At 100 units per inch the limits stay 10...3000.
  input.AnswerIntegers(std::nullopt);
  EXPECT_FALSE(PageSizeCommand(client));
  const auto presetNamed = [&](const std::string& name) {
    for (const TUserInput::PaperPreset& preset : input.paperHelp.presets) {
      if (preset.name == name)
        return preset;
    }
    ADD_FAILURE() << "no preset " << name;
    return TUserInput::PaperPreset{};
  };
  EXPECT_EQ(presetNamed("Letter").width, 850);
  EXPECT_EQ(presetNamed("Letter").height, 1100);
  EXPECT_EQ(presetNamed("A4 landscape").width, 1169);
  EXPECT_EQ(input.paperHelp.presets.size(), 14u);

  // In tenths of a millimetre A3 (4200 high) was refused at 3000; the
  // limits are the same 0.1 to 30 inches.
  client.GetPage()->SetUnitsPerInch(254);
  input.AnswerIntegers(std::vector<int32_t>{2970, 4200});
  ASSERT_TRUE(PageSizeCommand(client));
  EXPECT_TRUE(input.messageBoxes.empty());
  EXPECT_EQ(client.GetPage()->GetPaperHeight(), 4200);
  EXPECT_EQ(presetNamed("A3").width, 2970);
  EXPECT_EQ(presetNamed("A3").height, 4200);
  EXPECT_EQ(presetNamed("A2").height, 5940);
  ASSERT_TRUE(input.paperHelp.describe);
  EXPECT_EQ(input.paperHelp.describe(2540), client.FormatLength(2540));
  input.AnswerIntegers(std::vector<int32_t>{2970, 7621});
  input.AnswerIntegers(std::nullopt);
  EXPECT_FALSE(PageSizeCommand(client));
  EXPECT_EQ(input.messageBoxes.size(), 1u);
}

TEST_F(PageSettingsTest, TwoIntegerPromptLabelsAndAnswers)
{
  int32_t a = 10, b = 20;
  input.AnswerIntegers(std::vector<int32_t>{10, 20});
  EXPECT_EQ(AskTwoIntegers(input, a, 0, 100, b, 0, 100, "T", "A", "B"), 2);
  input.AnswerIntegers(std::vector<int32_t>{10, 200});
  input.AnswerIntegers(std::nullopt);
  EXPECT_EQ(AskTwoIntegers(input, a, 0, 100, b, 0, 100, "T", "A", "B"), 0);
  EXPECT_EQ(b, 20);
  input.AnswerIntegers(std::vector<int32_t>{11, 20});
  EXPECT_EQ(AskTwoIntegers(input, a, 0, 100, b, 0, 100, "T", "A", "B"), 1);
  EXPECT_EQ(a, 11);
}

TEST_F(PageSettingsTest, ZoomIsAskedBetweenTenAndAThousand)
{
  input.AnswerIntegers(std::vector<int32_t>{5});
  input.AnswerIntegers(std::vector<int32_t>{1500});
  input.AnswerIntegers(std::vector<int32_t>{250});
  ASSERT_TRUE(ZoomCommand(client));
  EXPECT_EQ(client.GetZoom(), 250);
  EXPECT_EQ(input.messageBoxes.size(), 2u);
  EXPECT_EQ(input.dialogs[0], "PromptIntegers:Zoom");
  input.AnswerIntegers(std::nullopt);
  EXPECT_FALSE(ZoomCommand(client));
  EXPECT_EQ(client.GetZoom(), 250);
}

TEST(PageSettings, WithoutAnInputNothingIsAsked)
{
  TClient client;
  EXPECT_FALSE(UnitsCommand(client));
  EXPECT_FALSE(GridSnapCommand(client));
  EXPECT_FALSE(PageSizeCommand(client));
  EXPECT_FALSE(ZoomCommand(client));
}

} // namespace
