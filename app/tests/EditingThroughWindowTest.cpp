// Drawing and page commands used through the main window: the toolbar,
// the menus, the mouse and the keyboard on the page, and the dialogues.

#include "MainWindowTestSupport.h"

#include "CommandIds.h"
#include "StringTable.h"
#include "TDataLine.h"
#include "TDataRectangle.h"
#include "TPage.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QMenu>
#include <QRadioButton>

#include <algorithm>

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
  // Where the paper's corner is in the window (the paper may sit centred).
  int32_t x0, y0;
  view->GetPage()->PageToDevice(0, 0, x0, y0);
  Step([&] {
    ClickView({x0 + 203, y0 + 298});
    Step([&] { ClickView({x0 + 253, y0 + 338}); });
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

TEST_F(EditingThroughWindowTest, ARightClickRecoloursAndTheKeysUndoAndRedoIt)
{
  ClickButton(CM_NEW_RECTANGLE);
  Step([&] {
    ClickView({100, 100});
    Step([&] { ClickView({220, 160}); });
  });
  Run();
  ASSERT_EQ(view->ObjectCount(), 1);
  TData* box = view->ObjectAtIndex(0);
  const uint32_t before = box->GetColor(0);

  // The colour dialogue the menu's "Color" opens: red, then OK.
  ModalScript script;
  script.Then([](QWidget* modal) {
    auto* picker = modal->findChild<QColorDialog*>();
    ASSERT_NE(picker, nullptr);
    picker->setCurrentColor(Qt::red);
    ClickLater(Ok(modal));
  });
  // A right click on the rectangle's edge opens its menu, headed by its name.
  std::vector<std::string> entries;
  Step([&] {
    MoveMouse(View(), {100, 130});
    QTest::mouseClick(View(), Qt::RightButton, {}, {100, 130});
  });
  // The menu opens once the click's posted command runs: it is looked for
  // until it shows, however long that takes.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu || !menu->isVisible())
      return;
    poll.stop();
    for (QAction* action : menu->actions())
      entries.push_back(action->text().toStdString());
    for (QAction* action : menu->actions()) {
      if (action->text() == "Color") {
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
        return;
      }
    }
  });
  poll.start(10);
  ASSERT_TRUE(QTest::qWaitFor([&] { return box->GetColor(0) != before; }, 20000));
  ASSERT_TRUE(script.Done());
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.front(), "Rectangle");
  EXPECT_NE(std::find(entries.begin(), entries.end(), "Delete"), entries.end());
  EXPECT_EQ(box->GetColor(0), 0x0000FFu) << "red, in the platform's byte order";

  // The window's accelerators: Ctrl+Z, then Ctrl+Y (triggered as the
  // shortcut map would, which needs an active window the offscreen
  // platform does not give).
  auto press = [this](QKeyCombination keys) {
    for (QAction* action : window->Widget()->actions()) {
      if (action->shortcut() == QKeySequence(keys)) {
        action->trigger();
        Run();
        return true;
      }
    }
    return false;
  };
  ASSERT_TRUE(press(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(view->ObjectAtIndex(0), box);
  EXPECT_EQ(box->GetColor(0), before);
  ASSERT_TRUE(press(Qt::CTRL | Qt::Key_Y));
  EXPECT_EQ(box->GetColor(0), 0x0000FFu);
  EXPECT_FALSE(view->IsBusy());
}
