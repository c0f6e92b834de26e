#pragma once

#include "TUserInput.h"
#include "TVue.h"

#include <QPoint>

#include <memory>
#include <string>
#include <vector>

class QMenu;

// A popup menu: a hidden view that owns a menu, builds its items and
// tracks it.
class TPop : public TVue
{
public:
  TPop();
  ~TPop() override;
  TPop(const TPop&) = delete;
  TPop& operator=(const TPop&) = delete;

  bool IsA(int32_t id) const override;

  // A non-empty title heads the menu as a disabled entry over a separator;
  // items with command 0 are separators.
  void Build(const std::string& title, const std::vector<TUserInput::MenuItem>& items);
  // Shows the menu at a screen position and answers the chosen command (0
  // when the menu was closed without a choice).
  uint16_t Track(const QPoint& globalPosition);
  QMenu* Menu() const { return m_menu.get(); }

private:
  std::unique_ptr<QMenu> m_menu;
};
