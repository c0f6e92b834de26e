#include "TToolbar.h"

#include "ClassTable.h"
#include "Messages.h"
#include "ViewRegistry.h"

#include <QAction>
#include <QHelpEvent>
#include <QToolBar>
#include <QToolTip>

#include <array>

namespace {

// Shows the tip the owner view gives at the moment the pointer rests.
class TipAsker : public QObject
{
public:
  explicit TipAsker(TToolbar& toolbar) : m_toolbar(toolbar) {}

protected:
  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (event->type() != QEvent::ToolTip || !m_toolbar.Widget())
      return false;
    auto* help = static_cast<QHelpEvent*>(event);
    auto* widget = static_cast<QWidget*>(watched);
    const QPoint inBar = m_toolbar.Widget()->mapFromGlobal(widget->mapToGlobal(help->pos()));
    const QAction* action = m_toolbar.Widget()->actionAt(inBar);
    if (!action || action->isSeparator())
      return false;
    QToolTip::showText(
        help->globalPos(),
        QString::fromStdString(m_toolbar.TipFor(static_cast<uint16_t>(action->data().toUInt()))), widget);
    return true;
  }

private:
  TToolbar& m_toolbar;
};

} // namespace

TToolbar::TToolbar(TVue* view, QWidget* parentWidget) : m_owner(view)
{
  classId = kTToolbar;
  SetParent(view);
  m_widget = new QToolBar(parentWidget);
  m_widget->setMovable(false);
  m_widget->setFloatable(false);
  BindViewWidget(this, m_widget);
}

TToolbar::~TToolbar()
{
  UnbindView(this);
  delete m_widget.data();
}

bool TToolbar::IsA(int32_t id) const
{
  return id == kTToolbar || TVue::IsA(id);
}

QToolBar* TToolbar::Widget() const
{
  return m_widget.data();
}

void TToolbar::AddButton(uint16_t command, const QIcon& icon, const std::string& tip)
{
  if (!m_widget)
    return;
  QAction* action = m_widget->addAction(icon, QString::fromStdString(tip));
  action->setData(command);
  action->setToolTip(QString::fromStdString(tip));
  // Queued, like menu commands: a modal procedure does not run inside the
  // button's mouse handling.
  QObject::connect(
      action, &QAction::triggered, m_widget,
      [this, command] {
        if (m_owner)
          m_owner->WndProc(WM_COMMAND_, command, 0);
      },
      Qt::QueuedConnection);
  if (QWidget* button = m_widget->widgetForAction(action)) {
    auto* asker = new TipAsker(*this);
    asker->setParent(button);
    button->installEventFilter(asker);
  }
}

void TToolbar::AddSeparator()
{
  if (m_widget)
    m_widget->addSeparator();
}

void TToolbar::Clear()
{
  if (m_widget)
    m_widget->clear();
}

void TToolbar::EnableCommand(uint16_t command, bool enable)
{
  if (!m_widget)
    return;
  for (QAction* action : m_widget->actions()) {
    if (!action->isSeparator() && action->data().toUInt() == command)
      action->setEnabled(enable);
  }
}

std::string TToolbar::TipFor(uint16_t command) const
{
  std::array<char, kTipSize> buffer{};
  if (m_owner && m_owner->Message(MSG_TOOLTIP_TEXT, command, kTipSize, buffer.data()) != 0) {
    buffer.back() = '\0';
    return buffer.data();
  }
  if (m_widget) {
    for (const QAction* action : m_widget->actions()) {
      if (!action->isSeparator() && action->data().toUInt() == command)
        return action->toolTip().toStdString();
    }
  }
  return {};
}
