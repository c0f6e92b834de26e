#pragma once

#include "TVue.h"

#include <QIcon>
#include <QPointer>

#include <string>

class QToolBar;
class QWidget;

// A frame's toolbar. Each button sends its command id to the owner view as
// a command message (WndProc 273, from the event loop). Its tooltip is asked from the owner
// view when it is about to show: Message(32269, command, buffer size,
// buffer) answering non-zero with the text in the buffer; otherwise the
// button's own tip is shown.
class TToolbar : public TVue
{
public:
  static constexpr int32_t kTipSize = 256;

  TToolbar(TVue* owner, QWidget* parentWidget);
  ~TToolbar() override;
  TToolbar(const TToolbar&) = delete;
  TToolbar& operator=(const TToolbar&) = delete;

  bool IsA(int32_t id) const override;
  void AddButton(uint16_t command, const QIcon& icon, const std::string& tip);
  void AddSeparator();
  void Clear();
  void EnableCommand(uint16_t command, bool enable);
  QToolBar* Widget() const;
  // The tooltip of a button as it would show now.
  std::string TipFor(uint16_t command) const;

private:
  TVue* m_owner;
  QPointer<QToolBar> m_widget;
};
