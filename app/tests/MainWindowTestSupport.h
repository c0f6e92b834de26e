#pragma once

// The real main window with its views and dialogues, driven by mouse, keys
// and menu choices; its preferences live in a temporary folder, never in
// the user's.

#include "UiTestSupport.h"

#include "ObjectFactories.h"
#include "TClientModuleData.h"
#include "TClientWidget.h"
#include "TPreferences.h"
#include "TStatus.h"
#include "TTabControl.h"
#include "TToolbar.h"
#include "TVueWidget.h"
#include "TaClientPage.h"
#include "TaMainWindow.h"
#include "TestSupport.h"

#include <QAction>
#include <QFileDialog>
#include <QTabBar>
#include <QToolBar>

#include <memory>
#include <string>
#include <vector>

class MainWindowTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    RegisterObjectFactories();
    preferences = std::make_unique<TPreferences>(folder.Path(), "vekta");
    preferences->Window() = {20, 30, 1000, 760};
    window = std::make_unique<TaMainWindow>(*preferences);
    window->SetUrlOpener([this](const QUrl& url) {
      opened.push_back(url.toString().toStdString());
      return true;
    });
    window->Widget()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window->Widget()));
  }
  void TearDown() override
  {
    // What the test left unsaved goes without questions.
    for (int32_t i = 0; i < window->DocumentCount(); ++i)
      window->DocumentAt(i)->SetModified(false);
    window.reset();
    TClientModuleData::RepeatAddObject() = false;
  }

  // Chooses the menu entry of command as the user would, and lets the
  // command run (with every modal loop it opens) before returning.
  void Choose(uint16_t command)
  {
    QAction* action = window->MenuAction(command);
    ASSERT_NE(action, nullptr) << command;
    ASSERT_TRUE(action->isEnabled() && action->isVisible()) << command;
    action->trigger();
    QApplication::processEvents();
    // The notices the command posted (a document saved under a new name).
    QApplication::processEvents();
  }
  // Clicks the toolbar button of command; the command runs from the event
  // loop, so what the user does meanwhile is scheduled with Step first.
  void ClickButton(uint16_t command)
  {
    QToolBar* bar = window->GetToolBar()->Widget();
    for (QAction* action : bar->actions()) {
      if (action->data().toUInt() == command && action->isVisible()) {
        QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
        return;
      }
    }
    FAIL() << "no button for " << command;
  }
  // Runs action once the command started last is waiting for the user.
  static void Step(std::function<void()> action)
  {
    Later([action] {
      QApplication::processEvents();
      action();
    });
  }
  // Runs what was posted (commands of buttons, the steps of the user).
  static void Run() { QApplication::processEvents(); }

  TClientWidget* View() const { return window->WidgetOf(window->ActiveDocument()); }
  // A click on the page view at a client position, after moving there.
  void ClickView(QPoint at)
  {
    MoveMouse(View(), at);
    QTest::mouseClick(View(), Qt::LeftButton, {}, at);
  }
  std::string Title() const { return window->Widget()->windowTitle().toStdString(); }

  TempDir folder;
  std::unique_ptr<TPreferences> preferences;
  std::unique_ptr<TaMainWindow> window;
  std::vector<std::string> opened;
};

// The file dialogue's answer: a path, or cancel with an empty one.
inline ModalScript::Step AnswerFileDialog(const std::string& path, bool* shown = nullptr,
                                          QFileDialog::AcceptMode* mode = nullptr)
{
  return [path, shown, mode](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr) << "expected a file dialogue, got " << modal->windowTitle().toStdString();
    if (shown)
      *shown = true;
    if (mode)
      *mode = dialog->acceptMode();
    if (path.empty()) {
      Later([dialog] { dialog->reject(); });
      return;
    }
    dialog->selectFile(QString::fromStdString(path));
    QDialog* asked = dialog;
    Later([asked] { asked->accept(); });
  };
}
