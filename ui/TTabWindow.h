#pragma once

#include "TWindow.h"

#include <memory>
#include <string>

class TTabControl;

// A frame whose client area holds a tab strip and, under it, the view of
// every tab in the same place; only the view of the selected tab shows, and
// it is the frame's client (it gets the keyboard). The views belong to the
// caller; their widgets become children of the frame.
class TTabWindow : public TWindow
{
public:
  TTabWindow(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& title, TVue* parent);
  ~TTabWindow() override;

  TTabControl& Tabs() const { return *m_tabs; }

  // Adds a tab for view and selects it; its index.
  int32_t AddTab(TVue* view, const std::string& title);
  // Takes the tab of view away (the view and its widget stay the caller's);
  // false when view has no tab.
  bool RemoveTab(TVue* view);
  void RemoveAllTabs();
  bool SelectView(TVue* view);
  // The view of the selected tab, null without tabs.
  TVue* ActiveView() const;
  bool SetTabTitle(TVue* view, const std::string& title);

  void Layout() override;

protected:
  // The selected tab changed (view null: no tab left). The base makes the
  // view the client and shows it.
  virtual void TabChanged(TVue* view);

private:
  void ShowSelected();

  std::unique_ptr<TTabControl> m_tabs;
};
