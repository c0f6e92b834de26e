#pragma once

#include "TVue.h"

#include <QPointer>

#include <memory>
#include <string>

class QAction;
class QKeySequence;
class QMenu;
class QMenuBar;
class QWidget;
class TStatus;
class TToolbar;
class TVueWidget;

// A frame: a window that lays out a menu bar and a toolbar at the top, a
// status bar and a second bar at the bottom, and one client view in the rest
// (Layout runs on every size change). Menu entries and toolbar buttons send
// their command ids to the frame as command messages (WndProc 273, from the
// event loop), which reach its Message. The client gets the keyboard: key and character
// messages the frame receives go to it. Views show their prompts in the
// frame's status bar with message 32701 (the text in param2).
//
// The frame owns its window, its toolbar and its status bar; the client
// view and the second bar belong to the caller (their widgets are put into
// the frame). Closing the window asks CanClose; with view flag 256 the
// application ends when the window is destroyed.
class TWindow : public TVue
{
public:
  // x, y, width, height: the window's place on the screen (or in the parent
  // view's window); parent: the owner view, or null for a top-level frame.
  TWindow(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& title, TVue* parent);
  ~TWindow() override;
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  bool IsA(int32_t id) const override;
  uint32_t WndProc(uint32_t message, uint32_t param1, uintptr_t param2) override;

  TVueWidget* Widget() const;
  void SetTitle(const std::string& title);

  // The client view; its widget becomes a child of the frame. Null removes
  // it (its widget is left alone).
  void SetClient(TVue* view);
  TVue* GetClient() const { return m_client; }
  TStatus* CreateStatusBar();
  TStatus* GetStatusBar() const { return m_statusBar.get(); }
  TToolbar* CreateToolBar();
  TToolbar* GetToolBar() const { return m_toolBar.get(); }
  // The menu bar, made on first use.
  QMenuBar* MenuBar();
  // An entry of menu that sends command to this frame.
  QAction* AddCommand(QMenu* menu, uint16_t command, const std::string& text, const QKeySequence& keys);
  void SetBottomBar(TVue* view);
  TVue* GetBottomBar() const { return m_bottomBar; }

  // Slot 23: places the bars and the client in the window.
  virtual void Layout();
  // Slot 24: true when the frame may close.
  virtual bool CanClose();

protected:
  // The part of the window the client gets (after the bars).
  QRect ClientArea() const { return m_clientArea; }

private:
  QPointer<TVueWidget> m_widget;
  QPointer<QMenuBar> m_menuBar; // a child of the window
  TVue* m_client = nullptr;
  TVue* m_bottomBar = nullptr;
  std::unique_ptr<TStatus> m_statusBar;
  std::unique_ptr<TToolbar> m_toolBar;
  QRect m_clientArea;
  bool m_minimised = false;
};
