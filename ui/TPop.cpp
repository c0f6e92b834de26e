#include "TPop.h"

#include "ClassTable.h"

#include <QAction>
#include <QMenu>

TPop::TPop() : m_menu(std::make_unique<QMenu>())
{
  classId = kTPop;
}

TPop::~TPop() = default;

bool TPop::IsA(int32_t id) const
{
  return id == kTPop || TVue::IsA(id);
}

void TPop::Build(const std::string& title, const std::vector<TUserInput::MenuItem>& items)
{
  m_menu->clear();
  if (!title.empty()) {
    m_menu->addAction(QString::fromStdString(title))->setEnabled(false);
    m_menu->addSeparator();
  }
  for (const TUserInput::MenuItem& item : items) {
    if (item.command == 0) {
      m_menu->addSeparator();
      continue;
    }
    QAction* action = m_menu->addAction(QString::fromStdString(item.text));
    action->setData(item.command);
    action->setCheckable(item.checked);
    action->setChecked(item.checked);
    action->setEnabled(item.enabled);
  }
}

uint16_t TPop::Track(const QPoint& globalPosition)
{
  const QAction* chosen = m_menu->exec(globalPosition);
  return chosen ? static_cast<uint16_t>(chosen->data().toUInt()) : 0;
}
