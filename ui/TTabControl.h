#pragma once

#include "TVue.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <string>

class QTabBar;
class QWidget;

// A tab strip (control id 32284) whose tabs stand for views: each tab
// keeps a pointer to its view (not owned).
class TTabControl : public TVue
{
public:
  static constexpr int32_t kControlId = 32284;

  explicit TTabControl(QWidget* parentWidget);
  ~TTabControl() override;
  TTabControl(const TTabControl&) = delete;
  TTabControl& operator=(const TTabControl&) = delete;

  bool IsA(int32_t id) const override;
  QTabBar* Widget() const;

  // Adds a tab for view at the end; its index.
  int32_t Add(TVue* view, const std::string& title);
  int32_t Count() const;
  // Null for an index out of range.
  TVue* ViewAt(int32_t index) const;
  // -1 when view has no tab.
  int32_t IndexOf(const TVue* view) const;
  bool SetTitle(const TVue* view, const std::string& title);
  bool Remove(const TVue* view);
  void RemoveAll();
  // -1 when there is no tab.
  int32_t GetSelected() const;
  void SetSelected(int32_t index);
  // Told whenever the selected tab changes (-1: none left).
  void OnSelected(std::function<void(int32_t index)> handler) { m_onSelected = std::move(handler); }
  // Told when the user asks to close a tab: its close button, or a middle
  // click on it. The tab stays until the handler takes it away.
  void OnCloseRequested(std::function<void(int32_t index)> handler) { m_onClose = std::move(handler); }
  // Asks for the tab at index to close, as the user does.
  void RequestClose(int32_t index);

private:
  QPointer<QTabBar> m_widget;
  std::function<void(int32_t)> m_onSelected;
  std::function<void(int32_t)> m_onClose;
  std::unique_ptr<QObject> m_middleClick;
};
