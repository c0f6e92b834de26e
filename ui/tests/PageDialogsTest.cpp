// The page, layer and line style dialogues, driven through their widgets.

#include "UiTestSupport.h"

#include "Messages.h"
#include "PageSettingsCommands.h"
#include "StringTable.h"
#include "TClient.h"
#include "TDialogChoosePen.h"
#include "TPen.h"
#include "TQtUserInput.h"
#include "ValueFormat.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QRadioButton>

namespace {

const std::string kSep(1, DecimalSeparator());

QAbstractButton* Ok(QWidget* modal)
{
  return ButtonWithText(modal, "OK");
}

void ClickLater(QAbstractButton* button)
{
  Later([button] { button->click(); });
}

// A page view whose dialogues are the real ones.
class PageDialogTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    TPage* page = client.GetPage();
    page->SetPaperSize(800, 1000);
    page->SetUnitsPerInch(100);
    page->SetUnitFactor(0.01f);
    page->SetDecimals(2);
    client.SetInput(&input);
  }
  void TearDown() override { client.SetInput(nullptr); }

  TClient client;
  TQtUserInput input{&client, &client};
};

// ---- line style ----

TEST(LineStyle, ASolidHairlineShowsOneAndComesBackInsideFrame)
{
  TPen pen(0x123456, 0, TPen::kSolid);
  std::string shown;
  bool widthEnabled = false;
  ModalScript script;
  script.Then([&](QWidget* modal) {
    QLineEdit* width = LineEdits(modal).at(0);
    shown = width->text().toStdString();
    widthEnabled = width->isEnabled();
    ClickLater(Ok(modal));
  });
  EXPECT_EQ(ChoosePen(pen, nullptr), 1);
  ASSERT_TRUE(script.Done());
  EXPECT_EQ(shown, "1");
  EXPECT_TRUE(widthEnabled);
  EXPECT_EQ(pen.GetStyle(), uint32_t{TPen::kInsideFrame});
  EXPECT_EQ(pen.GetWidth(), 1);
  EXPECT_EQ(pen.GetColor(), 0x123456u);
}

// How many times the middle row of a style button's picture turns from
// line to gap.
int GapsInPicture(QAbstractButton* button)
{
  const QImage image = button->icon().pixmap(button->iconSize()).toImage();
  const int y = image.height() / 2;
  int gaps = 0;
  bool inLine = qAlpha(image.pixel(0, y)) > 128;
  for (int x = 1; x < image.width(); ++x) {
    const bool line = qAlpha(image.pixel(x, y)) > 128;
    gaps += inLine && !line ? 1 : 0;
    inLine = line;
  }
  return gaps;
}

TEST(LineStyle, EachButtonPicturesItsLineTheSolidOneUnbroken)
{
  TPen pen(0, 1, TPen::kSolid);
  std::vector<int> gaps;
  std::vector<std::string> names;
  ModalScript script;
  script.Then([&](QWidget* modal) {
    for (QRadioButton* button : modal->findChildren<QRadioButton*>()) {
      gaps.push_back(GapsInPicture(button));
      names.push_back(button->accessibleName().toStdString());
    }
    ClickLater(ButtonWithText(modal, "Cancel"));
  });
  EXPECT_EQ(ChoosePen(pen, nullptr), 0);
  ASSERT_TRUE(script.Done());
  ASSERT_EQ(gaps.size(), 5u);
  EXPECT_EQ(names[0], "-----------------");
  EXPECT_EQ(gaps[0], 0);       // solid
  EXPECT_EQ(gaps[1], 5);       // 120 pixels of 18 + 6
  EXPECT_GT(gaps[2], gaps[1]); // dots are shorter than dashes
  EXPECT_GT(gaps[4], gaps[3]); // two dots to a dash
}

TEST(LineStyle, DottedStoresNoWidthWhateverTheField)
{
  TPen pen(0, 7, TPen::kSolid);
  bool enabledAfter = true;
  ModalScript script;
  script.Then([&](QWidget* modal) {
    auto* dotted = FindChild<QRadioButton>(
        modal, [](QRadioButton* b) { return b->accessibleName() == "................."; });
    dotted->click();
    enabledAfter = LineEdits(modal).at(0)->isEnabled();
    ClickLater(Ok(modal));
  });
  EXPECT_EQ(ChoosePen(pen, nullptr), 1);
  EXPECT_FALSE(enabledAfter);
  EXPECT_EQ(pen.GetStyle(), uint32_t{TPen::kDot});
  EXPECT_EQ(pen.GetWidth(), 1); // a stored width of 0 draws one pixel
  // The width really is 0: switching back to solid shows 1 for it.
  TPen copy = pen;
  copy.SetStyle(TPen::kSolid);
  EXPECT_EQ(copy.GetWidth(), 1);
}

TEST(LineStyle, ATooWideWidthIsRefusedAndTheDialogueStays)
{
  TPen pen(0, 3, TPen::kDash);
  SeenBox refusal;
  bool focusOnWidth = false;
  ModalScript script;
  script
      .Then([](QWidget* modal) {
        auto* solid = FindChild<QRadioButton>(
            modal, [](QRadioButton* b) { return b->accessibleName() == "-----------------"; });
        solid->click();
        TypeInto(LineEdits(modal).at(0), "1001");
        ClickLater(Ok(modal));
      })
      .Then(AnswerBox(refusal, "OK"))
      .Then([&](QWidget* modal) {
        focusOnWidth = modal->focusWidget() == LineEdits(modal).at(0);
        ClickLater(ButtonWithText(modal, "Cancel"));
      });
  EXPECT_EQ(ChoosePen(pen, nullptr), 0);
  ASSERT_TRUE(script.Done());
  EXPECT_EQ(refusal.text, "Pen width is too wide");
  EXPECT_EQ(refusal.title, "ERROR");
  EXPECT_TRUE(focusOnWidth);
  EXPECT_EQ(pen.GetStyle(), uint32_t{TPen::kDash});
  EXPECT_EQ(pen.GetWidth(), 3);
}

TEST_F(PageDialogTest, PenWidthsAreInTheUserUnitsOfThePage)
{
  TPen pen(0, 20, TPen::kInsideFrame);
  std::string shown;
  ModalScript script;
  script.Then([&](QWidget* modal) {
    QLineEdit* width = LineEdits(modal).at(0);
    shown = width->text().toStdString();
    // A typed point becomes the decimal separator.
    TypeInto(width, "0.05");
    ClickLater(Ok(modal));
  });
  ASSERT_TRUE(input.ChoosePen(pen, &client));
  EXPECT_EQ(shown, "0" + kSep + "20");
  EXPECT_EQ(pen.GetWidth(), 5);
}

// ---- layers ----

TEST_F(PageDialogTest, LayersRefuseAHiddenActiveLayerAndReturnToTheActiveGroup)
{
  TUserInput::LayerSettings settings;
  settings.active = 8;
  for (int i = 0; i < 8; ++i)
    settings.names[i] = std::to_string(i + 1);
  SeenBox refusal;
  bool focusInActive = false;
  ModalScript script;
  script
      .Then([](QWidget* modal) {
        // The "Visible" box of layer 4 (boxes: eight visible, then eight
        // protected, in order).
        QList<QCheckBox*> boxes = modal->findChildren<QCheckBox*>();
        boxes.at(3)->click();
        TypeInto(LineEdits(modal).at(0), "Background");
        ClickLater(Ok(modal));
      })
      .Then(AnswerBox(refusal, "OK"))
      .Then([&](QWidget* modal) {
        auto* radio = qobject_cast<QRadioButton*>(modal->focusWidget());
        focusInActive = radio && radio->text() == "4";
        modal->findChildren<QCheckBox*>().at(3)->click();
        ClickLater(Ok(modal));
      });
  ASSERT_TRUE(input.EditLayers(settings));
  ASSERT_TRUE(script.Done());
  EXPECT_EQ(refusal.text, LoadStr(IDS_LAYER_ACTIVE_HIDDEN));
  EXPECT_EQ(refusal.title, "");
  EXPECT_EQ(refusal.icon, QMessageBox::Critical);
  EXPECT_TRUE(focusInActive);
  EXPECT_EQ(settings.visible, 0xFFFF);
  EXPECT_EQ(settings.active, 8);
  EXPECT_EQ(settings.names[0], "Background");
}

TEST_F(PageDialogTest, AnObjectMustStayOnOneLayer)
{
  uint16_t mask = 0x0104; // layer 3, and a bit without a box
  SeenBox refusal;
  ModalScript script;
  script
      .Then([](QWidget* modal) {
        modal->findChildren<QCheckBox*>().at(2)->click();
        ClickLater(Ok(modal));
      })
      .Then(AnswerBox(refusal, "OK"))
      .Then([](QWidget* modal) {
        QList<QCheckBox*> boxes = modal->findChildren<QCheckBox*>();
        boxes.at(0)->click();
        boxes.at(4)->click();
        ClickLater(Ok(modal));
      });
  ASSERT_TRUE(input.EditObjectLayers(mask));
  EXPECT_EQ(refusal.text, "The object must show\nat least on one layer");
  EXPECT_EQ(mask, 0x0111);
}

// ---- units and grid ----

TEST_F(PageDialogTest, UnitsProposeAScaleShowThePaperAndRescaleIt)
{
  std::string scale, decimals, sizeLine;
  ModalScript script;
  script.Then([&](QWidget* modal) {
    auto* mm = FindChild<QRadioButton>(modal, [](QRadioButton* b) { return b->text() == "0.1  mm"; });
    mm->click();
    scale = LineEdits(modal).at(0)->text().toStdString();
    decimals = LineEdits(modal).at(1)->text().toStdString();
    sizeLine =
        FindChild<QLabel>(modal, [](QLabel* l) { return l->text().contains(" x "); })->text().toStdString();
    ClickLater(Ok(modal));
  });
  ASSERT_TRUE(UnitsCommand(client));
  ASSERT_TRUE(script.Done());
  EXPECT_EQ(scale, "0" + kSep + "1");
  EXPECT_EQ(decimals, "1");
  EXPECT_EQ(sizeLine, "203" + kSep + "2 x 254" + kSep + "0");
  const TPage* page = client.GetPage();
  EXPECT_EQ(page->GetPaperWidth(), 2032);
  EXPECT_EQ(page->GetPaperHeight(), 2540);
  EXPECT_EQ(page->GetUnitsPerInch(), 254);
  EXPECT_FLOAT_EQ(page->GetUnitFactor(), 0.1f);
  EXPECT_EQ(page->GetDecimals(), 1);
}

TEST_F(PageDialogTest, UnitsFollowTypingAndRefuseANullScale)
{
  std::string afterTyping;
  SeenBox refusal;
  ModalScript script;
  script
      .Then([&](QWidget* modal) {
        TypeInto(LineEdits(modal).at(0), "0.02");
        afterTyping = FindChild<QLabel>(modal, [](QLabel* l) { return l->text().contains(" x "); })
                          ->text()
                          .toStdString();
        TypeInto(LineEdits(modal).at(0), "0");
        ClickLater(Ok(modal));
      })
      .Then(AnswerBox(refusal, "OK"))
      .Then([](QWidget* modal) { ClickLater(ButtonWithText(modal, "Cancel")); });
  EXPECT_FALSE(UnitsCommand(client));
  EXPECT_EQ(afterTyping, "16" + kSep + "00 x 20" + kSep + "00");
  EXPECT_EQ(refusal.text, "The scale must be greater than 0");
  EXPECT_FLOAT_EQ(client.GetPage()->GetUnitFactor(), 0.01f);
}

TEST_F(PageDialogTest, GridAndSnapAreShownAndTakenInUserUnits)
{
  client.SetSnapStep(10, 20);
  std::vector<std::string> shown;
  ModalScript script;
  script.Then([&](QWidget* modal) {
    for (QLineEdit* edit : LineEdits(modal))
      shown.push_back(edit->text().toStdString());
    modal->findChildren<QCheckBox*>().at(0)->click(); // "Grid"
    TypeInto(LineEdits(modal).at(0), "0.25");
    TypeInto(LineEdits(modal).at(2), "3"); // 300 units: too big
    TypeInto(LineEdits(modal).at(3), "0.3");
    ClickLater(Ok(modal));
  });
  ASSERT_TRUE(GridSnapCommand(client));
  EXPECT_EQ(shown, (std::vector<std::string>{"0" + kSep + "10", "0" + kSep + "10", "0" + kSep + "10",
                                             "0" + kSep + "20"}));
  EXPECT_TRUE(client.IsGridShown());
  int32_t gx, gy, sx, sy;
  client.GetGridStep(gx, gy);
  client.GetSnapStep(sx, sy);
  EXPECT_EQ(gx, 25);
  EXPECT_EQ(gy, 10);
  EXPECT_EQ(sx, 10);
  EXPECT_EQ(sy, 30);
}

} // namespace
