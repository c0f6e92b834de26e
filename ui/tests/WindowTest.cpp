// Frames, tabs, the status bar and the translation of Qt events into the
// messages of a view.

#include "UiTestSupport.h"

#include "Messages.h"
#include "TStatus.h"
#include "TTabControl.h"
#include "TTabWindow.h"
#include "TToolbar.h"
#include "TVueWidget.h"
#include "TWindow.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QToolBar>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// A view that keeps every message its widget sends.
class Recorder : public TVue
{
public:
  uint32_t WndProc(uint32_t message, uint32_t param1, uintptr_t param2) override
  {
    if (message != WM_PAINT_)
      messages.push_back({message, param1, param2});
    return TVue::WndProc(message, param1, param2);
  }
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override
  {
    if (message == MSG_TOOLTIP_TEXT && a == 7) {
      std::snprintf(static_cast<char*>(p), static_cast<size_t>(b), "Undo Modify object <ctrl-z>");
      return 1;
    }
    if (message == 7 || message == 8)
      commands.push_back(message);
    return TVue::Message(message, a, b, p);
  }
  struct Seen
  {
    uint32_t message;
    uint32_t param1;
    uintptr_t param2;
  };
  std::vector<Seen> messages;
  std::vector<uint32_t> commands;
};

TEST(ViewWidget, EventsBecomeTheViewsMessages)
{
  Recorder view;
  TVueWidget widget(view);
  widget.resize(200, 100);
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  view.messages.clear();

  QTest::mouseClick(&widget, Qt::RightButton, Qt::ShiftModifier, {30, 40});
  QTest::keyClick(&widget, Qt::Key_Escape);
  QTest::keyClick(&widget, Qt::Key_A);
  QTest::keyClick(&widget, Qt::Key_PageDown, Qt::ControlModifier);
  // Holding Ctrl is a key of its own, as on the platform.
  ASSERT_EQ(view.messages.size(), 8u);
  EXPECT_EQ(view.messages[0].message, uint32_t{WM_RBUTTONDOWN_});
  EXPECT_EQ(view.messages[0].param1, MakePointParam(30, 40));
  EXPECT_EQ(view.messages[0].param2, uintptr_t{MK_RBUTTON_ | MK_SHIFT_});
  EXPECT_EQ(view.messages[1].message, uint32_t{WM_RBUTTONUP_});
  EXPECT_EQ(view.messages[1].param2, uintptr_t{MK_SHIFT_});
  EXPECT_EQ(view.messages[2].message, uint32_t{WM_KEYDOWN_});
  EXPECT_EQ(view.messages[2].param1, uint32_t{VK_ESCAPE_});
  EXPECT_EQ(view.messages[3].message, uint32_t{WM_CHAR_});
  EXPECT_EQ(view.messages[3].param1, uint32_t{27});
  EXPECT_EQ(view.messages[4].param1, uint32_t{'A'});
  EXPECT_EQ(view.messages[5].param1, uint32_t{'a'});
  EXPECT_EQ(view.messages[6].param1, uint32_t{VK_CONTROL_});
  EXPECT_EQ(view.messages[7].param1, uint32_t{VK_NEXT_});
  EXPECT_EQ(view.messages[7].param2, uintptr_t{MK_CONTROL_});

  // While a procedure holds the widget, messages wait in its queue.
  widget.BeginModal();
  QTest::mouseDClick(&widget, Qt::LeftButton, {}, {5, 6});
  QTest::mouseRelease(&widget, Qt::LeftButton, {}, {5, 6});
  const size_t before = view.messages.size();
  EXPECT_TRUE(widget.HasMessage());
  while (widget.DeliverMessage()) {
  }
  widget.EndModal();
  ASSERT_GT(view.messages.size(), before);
  EXPECT_EQ(view.messages.back().message, uint32_t{WM_LBUTTONUP_});
  EXPECT_TRUE(std::any_of(view.messages.begin() + static_cast<long>(before), view.messages.end(),
                          [](const Recorder::Seen& s) { return s.message == WM_LBUTTONDBLCLK_; }));

  // Posted messages arrive later, through the window procedure.
  widget.PostMessage(32001, 3, 4);
  EXPECT_NE(view.messages.back().message, 32001u);
  QApplication::processEvents();
  EXPECT_EQ(view.messages.back().message, 32001u);
  EXPECT_EQ(view.messages.back().param2, 4u);
}

// A frame that may refuse to close.
class Frame : public TWindow
{
public:
  Frame() : TWindow(10, 10, 400, 300, "Frame", nullptr) {}
  bool CanClose() override { return mayClose; }
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override
  {
    commands.push_back(message);
    return TWindow::Message(message, a, b, p);
  }
  bool mayClose = false;
  std::vector<uint32_t> commands;
};

TEST(Frames, LayOutBarsAroundTheClientAndAskBeforeClosing)
{
  Frame frame;
  Recorder client;
  TVueWidget clientWidget(client);
  QMenu* file = frame.MenuBar()->addMenu("File");
  QAction* save = frame.AddCommand(file, 32520, "Save", QKeySequence(Qt::CTRL | Qt::Key_S));
  frame.CreateToolBar()->AddButton(7, QIcon(), "Undo");
  frame.CreateStatusBar();
  frame.SetClient(&client);
  frame.Widget()->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.Widget()));

  const QRect tools = frame.GetToolBar()->Widget()->geometry();
  const QRect status = frame.GetStatusBar()->Widget()->geometry();
  const QRect area = clientWidget.geometry();
  EXPECT_EQ(frame.MenuBar()->geometry().top(), 0);
  EXPECT_EQ(tools.top(), frame.MenuBar()->geometry().bottom() + 1);
  EXPECT_EQ(area.top(), tools.bottom() + 1);
  EXPECT_EQ(status.top(), area.bottom() + 1);
  EXPECT_EQ(status.bottom(), frame.Widget()->height() - 1);
  EXPECT_EQ(area.width(), frame.Widget()->width());

  // Views show their prompts in the frame's status bar, cut to 150 bytes.
  const std::string longText(200, 'x');
  EXPECT_EQ(frame.WndProc(MSG_SET_STATUS, 0, reinterpret_cast<uintptr_t>(longText.c_str())), 1u);
  EXPECT_EQ(frame.GetStatusBar()->GetText(), std::string(150, 'x'));
  // A held button shows the memory in use; the text comes back on release.
  auto* label = FindChild<QLabel>(frame.GetStatusBar()->Widget());
  QTest::mousePress(frame.GetStatusBar()->Widget(), Qt::LeftButton);
  EXPECT_TRUE(label->text().startsWith("Memory in use: ") && label->text().endsWith(" KB"));
  QTest::mouseRelease(frame.GetStatusBar()->Widget(), Qt::LeftButton);
  EXPECT_EQ(label->text().toStdString(), std::string(150, 'x'));
  // Keys given to the frame go to its client.
  frame.WndProc(WM_CHAR_, 'g', 0);
  EXPECT_EQ(client.messages.back().message, uint32_t{WM_CHAR_});

  // Menu entries and buttons send their commands to the frame.
  save->trigger();
  frame.GetToolBar()->Widget()->actions().front()->trigger();
  QApplication::processEvents();
  EXPECT_EQ(frame.commands, (std::vector<uint32_t>{32520, 7}));
  // Without an answer from the frame the button's own tip shows.
  EXPECT_EQ(frame.GetToolBar()->TipFor(7), "Undo");

  EXPECT_FALSE(frame.Widget()->close());
  EXPECT_TRUE(frame.Widget()->isVisible());
  frame.mayClose = true;
  EXPECT_TRUE(frame.Widget()->close());
  frame.SetClient(nullptr);
}

TEST(Frames, ToolbarTipsComeFromTheOwnerView)
{
  Recorder owner;
  TToolbar toolbar(&owner, nullptr);
  toolbar.AddButton(7, QIcon(), "Undo");
  toolbar.AddButton(8, QIcon(), "Redo");
  EXPECT_EQ(toolbar.TipFor(7), "Undo Modify object <ctrl-z>");
  EXPECT_EQ(toolbar.TipFor(8), "Redo");
  toolbar.Widget()->actions().back()->trigger();
  QApplication::processEvents();
  EXPECT_EQ(owner.commands, std::vector<uint32_t>{8});
  toolbar.EnableCommand(8, false);
  EXPECT_FALSE(toolbar.Widget()->actions().back()->isEnabled());
  toolbar.Clear();
  EXPECT_TRUE(toolbar.Widget()->actions().isEmpty());
}

TEST(Frames, TabsShowOneViewAtATimeInTheSamePlace)
{
  TTabWindow frame(10, 10, 400, 300, "Tabs", nullptr);
  Recorder first, second;
  TVueWidget firstWidget(first), secondWidget(second);
  frame.Widget()->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.Widget()));
  EXPECT_EQ(frame.AddTab(&first, "One"), 0);
  EXPECT_EQ(frame.AddTab(&second, "Two"), 1);
  EXPECT_EQ(frame.ActiveView(), &second);
  EXPECT_EQ(frame.GetClient(), &second);
  EXPECT_TRUE(secondWidget.isVisible());
  EXPECT_FALSE(firstWidget.isVisible());
  EXPECT_EQ(firstWidget.geometry(), secondWidget.geometry());
  EXPECT_GT(secondWidget.geometry().top(), 0); // under the tab strip

  frame.Tabs().Widget()->setCurrentIndex(0);
  EXPECT_EQ(frame.ActiveView(), &first);
  EXPECT_TRUE(firstWidget.isVisible());
  EXPECT_EQ(frame.Tabs().IndexOf(&second), 1);
  EXPECT_TRUE(frame.SetTabTitle(&second, "Renamed"));
  EXPECT_EQ(frame.Tabs().Widget()->tabText(1), "Renamed");

  TTabControl& tabs = frame.Tabs();
  EXPECT_EQ(tabs.Count(), 2);
  EXPECT_EQ(tabs.ViewAt(5), nullptr);
  EXPECT_TRUE(frame.RemoveTab(&first));
  EXPECT_EQ(frame.ActiveView(), &second);
  EXPECT_EQ(frame.Tabs().IndexOf(&first), -1);
  frame.AddTab(&first, "One");
  frame.RemoveAllTabs();
  EXPECT_EQ(tabs.Count(), 0);
  EXPECT_EQ(frame.ActiveView(), nullptr);
  EXPECT_EQ(frame.GetClient(), nullptr);
  EXPECT_FALSE(firstWidget.isVisible());
}

} // namespace
