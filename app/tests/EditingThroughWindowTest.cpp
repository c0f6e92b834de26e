// Drawing and page commands used through the main window: the toolbar,
// the menus, the mouse and the keyboard on the page, and the dialogues.

#include "MainWindowTestSupport.h"

#include "CommandIds.h"
#include "StringTable.h"
#include "TDataLine.h"
#include "TDataRectangle.h"
#include "TPage.h"

#include <QCheckBox>
#include <QRadioButton>

namespace {

QAbstractButton* Ok(QWidget* modal)
{
  return ButtonWithText(modal, "OK");
}

void ClickLater(QAbstractButton* button)
{
  ASSERT_NE(button, nullptr);
  Later([button] { button->click(); });
}

class EditingThroughWindowTest : public MainWindowTest
{
protected:
  void SetUp() override
  {
    MainWindowTest::SetUp();
    Choose(CM_NEW);
    view = window->ActiveDocument();
    ASSERT_NE(view, nullptr);
    MoveMouse(View(), {50, 50});
  }
  TaClientPage* view = nullptr;
};

TEST_F(EditingThroughWindowTest, ALineDrawnWithSnapOnLandsOnTheGrid)
{
  // "s" on the page switches snapping on.
  QTest::keyClick(View(), Qt::Key_S);
  ASSERT_TRUE(view->IsSnapOn());
  ClickButton(CM_NEW_LINE);
  Step([&] {
    ClickView({203, 298});
    Step([&] { ClickView({253, 338}); });
  });
  Run();
  ASSERT_EQ(view->ObjectCount(), 1);
  const auto* line = dynamic_cast<const TDataLine*>(view->ObjectAtIndex(0));
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->GetStart(), (TPoint{200, 300}));
  EXPECT_EQ(line->GetEnd(), (TPoint{250, 340}));
  EXPECT_TRUE(view->IsModified());
  EXPECT_FALSE(view->IsBusy());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  // The prompts went to the window's status bar, which is clear again.
  EXPECT_EQ(window->GetStatusBar()->GetText().find("Position object"), std::string::npos);
}

TEST_F(EditingThroughWindowTest, ARectangleTypedWithTheSpacebar)
{
  ModalScript script;
  script
      .Then([this](QWidget* modal) {
        ASSERT_EQ(modal->windowTitle(), "Position");
        std::vector<QLineEdit*> edits = LineEdits(modal);
        TypeInto(edits.at(0), "100");
        TypeInto(edits.at(1), "200");
        // Once placed, the rectangle is sized: SPACEBAR types its size too.
        QAbstractButton* ok = Ok(modal);
        Later([this, ok] {
          ok->click();
          Later([this] { QTest::keyClick(View(), Qt::Key_Space); });
        });
      })
      .Then([](QWidget* modal) {
        ASSERT_EQ(modal->windowTitle(), "Moving");
        std::vector<QLineEdit*> edits = LineEdits(modal);
        TypeInto(edits.at(0), "120");
        TypeInto(edits.at(1), "60");
        ClickLater(Ok(modal));
      });
  ClickButton(CM_NEW_RECTANGLE);
  Step([this] { QTest::keyClick(View(), Qt::Key_Space); });
  Run();
  ASSERT_TRUE(script.Done());
  ASSERT_EQ(view->ObjectCount(), 1);
  const TData* box = view->ObjectAtIndex(0);
  ASSERT_NE(dynamic_cast<const TDataRectangle*>(box), nullptr);
  EXPECT_EQ(box->left, 100);
  EXPECT_EQ(box->top, 200);
  EXPECT_EQ(box->right, 220);
  EXPECT_EQ(box->bottom, 260);
  EXPECT_TRUE(view->IsModified());
}

TEST_F(EditingThroughWindowTest, ACancelledCreationLeavesTheDocumentUnchanged)
{
  ClickButton(CM_NEW_LINE);
  Step([&] {
    ClickView({100, 100});
    Step([&] {
      MoveMouse(View(), {160, 150});
      QTest::keyClick(View(), Qt::Key_Escape);
    });
  });
  Run();
  EXPECT_EQ(view->ObjectCount(), 0);
  EXPECT_FALSE(view->IsModified());
  EXPECT_FALSE(view->IsBusy());
  EXPECT_EQ(Title(), "Vekta [Untitled 1] ");
}

TEST_F(EditingThroughWindowTest, UnitsFromHundredthsOfAnInchToTenthsOfAMillimetre)
{
  ASSERT_EQ(view->GetPage()->GetUnitsPerInch(), 100);
  ASSERT_EQ(view->GetPage()->GetPaperWidth(), 800);
  ModalScript script;
  script.Then([](QWidget* modal) {
    FindChild<QRadioButton>(modal, [](QRadioButton* b) { return b->text() == "0.1  mm"; })->click();
    ClickLater(Ok(modal));
  });
  Choose(CM_UNITS);
  ASSERT_TRUE(script.Done());
  EXPECT_EQ(view->GetPage()->GetPaperWidth(), 2032);
  EXPECT_EQ(view->GetPage()->GetPaperHeight(), 2540);
  EXPECT_EQ(view->GetPage()->GetUnitsPerInch(), 254);
  EXPECT_TRUE(view->IsModified());
}

TEST_F(EditingThroughWindowTest, TheLayersDialogueRefusesAHiddenActiveLayer)
{
  const uint16_t visible = view->GetLayerModule().GetVisible();
  SeenBox refusal;
  ModalScript script;
  script
      .Then([](QWidget* modal) {
        // The "Visible" box of layer 4, the active one.
        modal->findChildren<QCheckBox*>().at(3)->click();
        ClickLater(Ok(modal));
      })
      .Then(AnswerBox(refusal, "OK"))
      .Then([](QWidget* modal) { ClickLater(ButtonWithText(modal, "Cancel")); });
  Choose(CM_LAYERS);
  ASSERT_TRUE(script.Done());
  EXPECT_EQ(refusal.text, LoadStr(IDS_LAYER_ACTIVE_HIDDEN));
  EXPECT_EQ(refusal.text.rfind("The active layer is not visible!", 0), 0u);
  EXPECT_EQ(view->GetLayerModule().GetVisible(), visible);
}

TEST_F(EditingThroughWindowTest, TheZoomPromptRefusesFivePercent)
{
  SeenBox refusal;
  ModalScript script;
  script
      .Then([](QWidget* modal) {
        TypeInto(LineEdits(modal).at(0), "5");
        ClickLater(ButtonWithText(modal, "Ok"));
      })
      .Then(AnswerBox(refusal, "OK"))
      .Then([](QWidget* modal) {
        TypeInto(LineEdits(modal).at(0), "200");
        ClickLater(ButtonWithText(modal, "Ok"));
      });
  Choose(CM_ZOOM);
  ASSERT_TRUE(script.Done());
  EXPECT_EQ(refusal.text, "Inapropriate value");
  EXPECT_EQ(view->GetZoom(), 200);
  Choose(CM_ZOOM_50);
  EXPECT_EQ(view->GetZoom(), 50);
}

} // namespace
