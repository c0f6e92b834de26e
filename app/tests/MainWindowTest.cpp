// The main window itself: its place, menus and toolbar with and without a
// document, the quit question, the About box, help and the support pages.

#include "MainWindowTestSupport.h"

#include "CommandIds.h"
#include "TTabControl.h"
#include "ToolIcons.h"

#include <QImage>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QTabBar>
#include <QTextBrowser>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

std::vector<uint16_t> VisibleButtons(TaMainWindow& window)
{
  std::vector<uint16_t> buttons;
  for (QAction* action : window.GetToolBar()->Widget()->actions()) {
    if (action->isVisible() && !action->isSeparator())
      buttons.push_back(static_cast<uint16_t>(action->data().toUInt()));
  }
  return buttons;
}

std::vector<std::string> MenuTitles(TaMainWindow& window)
{
  std::vector<std::string> titles;
  for (QAction* action : window.MenuBar()->actions()) {
    if (action->isVisible())
      titles.push_back(action->text().toStdString());
  }
  return titles;
}

TEST_F(MainWindowTest, OpensAtThePreferredPlaceWithTheShortMenusAndToolbar)
{
  EXPECT_EQ(window->Widget()->geometry(), QRect(20, 30, 1000, 760));
  EXPECT_EQ(MenuTitles(*window), (std::vector<std::string>{"&File", "&Help"}));
  EXPECT_EQ(VisibleButtons(*window), (std::vector<uint16_t>{CM_NEW, CM_OPEN}));
  EXPECT_EQ(window->MenuAction(CM_CLOSE), nullptr);

  Choose(CM_NEW);
  EXPECT_EQ(MenuTitles(*window), (std::vector<std::string>{"&File", "&Print", "&Objects", "&Symbols", "P&age",
                                                           "&Zoom", "P&references", "&Help"}));
  const std::vector<uint16_t> full = VisibleButtons(*window);
  EXPECT_EQ(full.size(), 26u);
  EXPECT_EQ(full[5], CM_MOVE);
  EXPECT_EQ(full.back(), CM_NEW_FILENAME);
  // The GIF codec is built in, so GIF export is offered with the others.
  ASSERT_NE(window->MenuAction(CM_EXPORT_GIF), nullptr);
  EXPECT_TRUE(window->MenuAction(CM_EXPORT_GIF)->isEnabled());
  EXPECT_NE(window->MenuAction(CM_EXPORT_PNG), nullptr);
  EXPECT_NE(window->MenuAction(CM_EXPORT_PDF), nullptr);
  EXPECT_NE(window->MenuAction(CM_EXPORT_SVG), nullptr);
  EXPECT_TRUE(window->MenuAction(CM_EXPORT_WMF)->isEnabled());
  EXPECT_EQ(window->MenuAction(CM_COPY)->text().toStdString(), "Copy...\tCtrl+C");
  // Tips come from the document, or from the window for what it does not name.
  EXPECT_EQ(window->GetToolBar()->TipFor(CM_NEW_CIRCLE), "Circle");
  EXPECT_EQ(window->GetToolBar()->TipFor(CM_UNDO), "Undo <ctrl-z>");
  EXPECT_EQ(window->GetToolBar()->TipFor(CM_NEW_IMAGE), "Image");
  EXPECT_TRUE(window->MenuAction(CM_NEW_IMAGE)->isEnabled());
  // "Repeat Add Object" shows its state with a check mark.
  Choose(CM_REPEAT_ADD);
  EXPECT_TRUE(TClientModuleData::RepeatAddObject());
  EXPECT_TRUE(window->MenuAction(CM_REPEAT_ADD)->isChecked());
}

TEST_F(MainWindowTest, EveryButtonHasAPictureOfItsOwnAtEveryScale)
{
  std::set<QByteArray> pictures;
  Choose(CM_NEW);
  for (uint16_t command : VisibleButtons(*window)) {
    const QIcon icon = ToolIcon(command);
    ASSERT_FALSE(icon.isNull()) << command;
    for (qreal scale : {1.0, 2.0, 3.0}) {
      const QImage image = icon.pixmap(QSize(24, 24), scale).toImage();
      EXPECT_EQ(image.size(), QSize(24, 24) * scale) << command;
      int inked = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
          inked += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
      }
      EXPECT_GT(inked, image.width() * image.height() / 20) << command;
    }
    const QImage small = icon.pixmap(QSize(24, 24), 1.0).toImage();
    pictures.insert(QByteArray(reinterpret_cast<const char*>(small.constBits()), small.sizeInBytes()));
  }
  EXPECT_EQ(pictures.size(), 26u);
  // The window's icon is the installed icon's drawing, up to its largest size.
  EXPECT_TRUE(ProgramIcon().availableSizes().contains(QSize(256, 256)));
}

// The contrast ratio of two colours as the accessibility guidelines define
// it (1 to 21).
double Contrast(const QColor& a, const QColor& b)
{
  auto luminance = [](const QColor& c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(MainWindowTest, EveryButtonStandsOutOnALightAndOnADarkToolbar)
{
  Choose(CM_NEW);
  const QPalette original = QGuiApplication::palette();
  for (const QColor toolbar : {QColor(0xef, 0xef, 0xef), QColor(0x35, 0x35, 0x35)}) {
    QPalette palette = original;
    palette.setColor(QPalette::Window, toolbar);
    QGuiApplication::setPalette(palette);
    for (uint16_t command : VisibleButtons(*window)) {
      const QImage image = ToolIcon(command).pixmap(QSize(24, 24), 1.0).toImage();
      int opaque = 0, standing = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
          const QRgb pixel = image.pixel(x, y);
          if (qAlpha(pixel) < 200)
            continue;
          ++opaque;
          standing += Contrast(QColor(pixel), toolbar) >= 3.0 ? 1 : 0;
        }
      }
      // Enough of the picture to draw its outline clearly.
      EXPECT_GE(standing * 5, opaque)
          << command << " on " << toolbar.name().toStdString() << ": " << standing << " of " << opaque;
    }
  }
  QGuiApplication::setPalette(original);
}

TEST_F(MainWindowTest, QuittingAsksFirstThenClosesEveryDocument)
{
  Choose(CM_NEW);
  Choose(CM_NEW);
  window->DocumentAt(0)->SetModified(true);

  SeenBox quit;
  ModalScript no;
  no.Then(AnswerBox(quit, "No"));
  EXPECT_FALSE(window->Widget()->close());
  ASSERT_TRUE(no.Done());
  EXPECT_EQ(quit.text, "Quit Vekta ?");
  EXPECT_EQ(quit.title, "QUIT");
  EXPECT_EQ(quit.icon, QMessageBox::Question);
  EXPECT_EQ(window->DocumentCount(), 2);

  // Cancelling the save question of a document stops the quit there.
  window->Widget()->setGeometry(40, 50, 900, 700);
  SeenBox save;
  ModalScript cancel;
  cancel.Then(AnswerBox(quit, "Yes")).Then(AnswerBox(save, "Cancel"));
  EXPECT_FALSE(window->Widget()->close());
  ASSERT_TRUE(cancel.Done());
  EXPECT_EQ(save.title, "SAVE");
  EXPECT_EQ(window->DocumentCount(), 2);
  EXPECT_EQ(preferences->Window().width, 900);
  EXPECT_EQ(preferences->Window().x, 40);

  // Cancelling at the second document's question keeps the first one open
  // too, even though its changes were declined.
  window->DocumentAt(1)->SetModified(true);
  ModalScript second;
  second.Then(AnswerBox(quit, "Yes")).Then(AnswerBox(save, "No")).Then(AnswerBox(save, "Cancel"));
  EXPECT_FALSE(window->Widget()->close());
  ASSERT_TRUE(second.Done());
  EXPECT_EQ(window->DocumentCount(), 2);
  EXPECT_TRUE(window->DocumentAt(0)->IsModified());

  ModalScript yes;
  yes.Then(AnswerBox(quit, "Yes")).Then(AnswerBox(save, "No")).Then(AnswerBox(save, "No"));
  EXPECT_TRUE(window->Widget()->close());
  ASSERT_TRUE(yes.Done());
  EXPECT_EQ(window->DocumentCount(), 0);
}

TEST_F(MainWindowTest, TheKeysEveryDesktopProgramAnswersAreThereAndShownInTheMenus)
{
  auto trigger = [this](const QKeySequence& keys) {
    for (QAction* action : window->Widget()->actions()) {
      if (action->shortcut() == keys) {
        action->trigger();
        QApplication::processEvents();
        QApplication::processEvents();
        return true;
      }
    }
    return false;
  };
  ASSERT_TRUE(trigger(QKeySequence(Qt::CTRL | Qt::Key_N)));
  EXPECT_EQ(window->DocumentCount(), 1);
  ASSERT_TRUE(trigger(QKeySequence(Qt::CTRL | Qt::Key_N)));
  EXPECT_EQ(window->DocumentCount(), 2);
  // Ctrl+W closes the active document (unchanged: nothing is asked).
  ASSERT_TRUE(trigger(QKeySequence(Qt::CTRL | Qt::Key_W)));
  EXPECT_EQ(window->DocumentCount(), 1);
  for (const auto& [command, keys] : {std::pair{CM_NEW, "Ctrl+N"},
                                      {CM_OPEN, "Ctrl+O"},
                                      {CM_SAVE, "Ctrl+S"},
                                      {CM_CLOSE, "Ctrl+W"},
                                      {CM_QUIT, "Ctrl+Q"},
                                      {CM_PRINT, "Ctrl+P"}}) {
    QAction* action = window->MenuAction(command);
    ASSERT_NE(action, nullptr) << command;
    EXPECT_TRUE(action->text().endsWith(QString("\t") + keys)) << action->text().toStdString();
  }
  // The accelerators the menus already named keep their own text.
  EXPECT_EQ(window->MenuAction(CM_COPY)->text().toStdString(), "Copy...\tCtrl+C");
  // Ctrl+Shift+Z redoes, beside Ctrl+Y.
  bool redo = false;
  for (QAction* action : window->Widget()->actions())
    redo = redo || action->shortcut() == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
  EXPECT_TRUE(redo);
}

TEST_F(MainWindowTest, CtrlTabWalksTheTabsRoundInBothDirections)
{
  Choose(CM_NEW);
  Choose(CM_NEW);
  Choose(CM_NEW);
  auto walk = [&](const QKeySequence& keys) {
    for (QAction* action : window->Widget()->actions()) {
      if (action->shortcuts().contains(keys))
        action->trigger();
    }
    return window->Tabs().Widget()->currentIndex();
  };
  ASSERT_EQ(window->Tabs().Widget()->currentIndex(), 2);
  EXPECT_EQ(walk(QKeySequence(Qt::CTRL | Qt::Key_Tab)), 0);
  EXPECT_EQ(window->ActiveDocument(), window->DocumentAt(0));
  EXPECT_EQ(walk(QKeySequence(Qt::CTRL | Qt::Key_Tab)), 1);
  EXPECT_EQ(walk(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)), 0);
  EXPECT_EQ(walk(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)), 2);
}

TEST_F(MainWindowTest, TabsShowUnsavedChangesAndCloseFromTheirButtonOrAMiddleClick)
{
  Choose(CM_NEW);
  Choose(CM_NEW);
  QTabBar* bar = window->Tabs().Widget();
  ASSERT_EQ(bar->count(), 2);
  EXPECT_TRUE(bar->tabsClosable());
  const QString plain = bar->tabText(1);
  window->DocumentAt(1)->SetModified(true);
  window->RefreshModifiedMarks();
  EXPECT_EQ(bar->tabText(1), plain + " *");
  EXPECT_TRUE(window->Widget()->windowTitle().contains(plain + " *"))
      << window->Widget()->windowTitle().toStdString();
  EXPECT_EQ(bar->tabText(0).endsWith(" *"), false);

  // The close button asks like Close: the changes are offered to be saved.
  SeenBox save;
  ModalScript cancel;
  cancel.Then(AnswerBox(save, "Cancel"));
  emit bar->tabCloseRequested(1);
  QApplication::processEvents();
  ASSERT_TRUE(cancel.Done());
  EXPECT_EQ(window->DocumentCount(), 2);
  window->DocumentAt(1)->SetModified(false);

  // A middle click on a tab closes that tab.
  const QPoint middle = bar->tabRect(0).center();
  QMouseEvent press(QEvent::MouseButtonPress, middle, bar->mapToGlobal(middle), Qt::MiddleButton,
                    Qt::MiddleButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, middle, bar->mapToGlobal(middle), Qt::MiddleButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(bar, &press);
  QApplication::sendEvent(bar, &release);
  QApplication::processEvents();
  EXPECT_EQ(window->DocumentCount(), 1);
  emit bar->tabCloseRequested(0);
  QApplication::processEvents();
  EXPECT_EQ(window->DocumentCount(), 0);
}

TEST_F(MainWindowTest, TheStatusBarShowsZoomActiveLayerSnapGridAndUnit)
{
  window->RefreshState();
  EXPECT_EQ(window->GetStatusBar()->GetState(), "");
  Choose(CM_NEW);
  TaClientPage* view = window->DocumentAt(0);
  view->GetLayerModule().SetActive(1 << 3);
  view->GetLayerModule().SetName(3, "Walls");
  view->SetSnapOn(true);
  window->RefreshState();
  const std::string state = window->GetStatusBar()->GetState();
  EXPECT_NE(state.find("Zoom " + std::to_string(view->GetZoom()) + " %"), std::string::npos) << state;
  EXPECT_NE(state.find("Layer: Walls"), std::string::npos) << state;
  EXPECT_NE(state.find("Snap on"), std::string::npos) << state;
  EXPECT_NE(state.find("Unit: 0.01 Inch"), std::string::npos) << state;
  // Another tab shows its own document's state.
  Choose(CM_NEW);
  window->DocumentAt(1)->GetPage()->SetUnitsPerInch(254);
  window->RefreshState();
  EXPECT_NE(window->GetStatusBar()->GetState().find("Unit: 0.1 mm"), std::string::npos)
      << window->GetStatusBar()->GetState();
}

TEST_F(MainWindowTest, AReadoutLeftByAnotherTabGivesWayToTheShownDocument)
{
  Choose(CM_NEW);
  TaClientPage* inches = window->DocumentAt(0);
  inches->GetPage()->SetUnitsPerInch(100);
  Choose(CM_NEW);
  TaClientPage* millimetres = window->DocumentAt(1);
  millimetres->GetPage()->SetUnitsPerInch(254);
  ASSERT_TRUE(window->SelectView(inches));
  inches->ShowCoordinates("", 100, 100);
  const std::string inchReadout = window->GetStatusBar()->GetText();
  ASSERT_NE(inchReadout.find(inches->FormatX(100)), std::string::npos) << inchReadout;

  ASSERT_TRUE(window->SelectView(millimetres));
  EXPECT_EQ(window->GetStatusBar()->GetText(), millimetres->GetPrompt());
  EXPECT_NE(window->GetStatusBar()->GetState().find("Unit: 0.1 mm"), std::string::npos);
  // The hidden document cannot write over it.
  inches->ShowCoordinates("", 200, 200);
  EXPECT_EQ(window->GetStatusBar()->GetText(), millimetres->GetPrompt());
  millimetres->ShowCoordinates("", 254, 254);
  EXPECT_NE(window->GetStatusBar()->GetText().find(millimetres->FormatX(254)), std::string::npos)
      << window->GetStatusBar()->GetText();
}

TEST_F(MainWindowTest, AboutHelpAndSupportPages)
{
  SeenBox about;
  ModalScript script;
  script.Then(AnswerBox(about, "OK"));
  Choose(CM_ABOUT);
  ASSERT_TRUE(script.Done());
  EXPECT_EQ(about.title, "About Vekta");
  EXPECT_EQ(about.icon, QMessageBox::Information);
  EXPECT_EQ(about.text.rfind("Vekta " VEKTA_VERSION "\n", 0), 0u) << about.text;
  EXPECT_NE(about.text.find("\n\nSupport:\n"), std::string::npos);

  Choose(CM_HELP);
  Choose(CM_WEB_SITE);
  Choose(CM_SEND_MAIL);
  Choose(CM_ONLINE_HELP);
  Choose(CM_ONLINE_SUPPORT);
  ASSERT_EQ(opened.size(), 5u);
  EXPECT_EQ(opened[0], "file://" + std::string(VEKTA_SOURCE_DIR) + "/docs/index.html");
  EXPECT_EQ(opened[1], "https://vekta.example.org/");
  EXPECT_EQ(opened[2], "mailto:support@vekta.example.org");
  EXPECT_EQ(opened[3], "https://vekta.example.org/manual/");
  EXPECT_EQ(opened[4], "https://vekta.example.org/support/");
  // F1 opens the manual at its list of commands.
  window->Widget()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window->Widget()));
  QTest::keyClick(window->Widget(), Qt::Key_F1);
  Run();
  ASSERT_EQ(opened.size(), 6u);
  EXPECT_EQ(opened[5], opened[0] + "#commands");
}

TEST_F(MainWindowTest, WithoutABrowserTheManualOpensInAWindowOfItsOwn)
{
  window->SetUrlOpener([](const QUrl&) { return false; });
  Choose(CM_HELP);
  QTextBrowser* manual = window->ManualWindow();
  ASSERT_NE(manual, nullptr);
  EXPECT_TRUE(manual->isVisible());
  EXPECT_EQ(manual->source().toLocalFile().toStdString(), std::string(VEKTA_SOURCE_DIR) + "/docs/index.html");
  EXPECT_FALSE(manual->toPlainText().isEmpty());
  // F1 again shows the same window at the list of commands.
  Choose(CM_HELP_INDEX);
  EXPECT_EQ(window->ManualWindow(), manual);
  EXPECT_EQ(manual->source().fragment(), "commands");
  manual->close();
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->ManualWindow(), nullptr);
}

} // namespace
