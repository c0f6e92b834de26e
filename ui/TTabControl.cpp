#include "TTabControl.h"

#include "ClassTable.h"
#include "ViewRegistry.h"

#include <QMouseEvent>
#include <QTabBar>

namespace {

// A middle click on a tab asks for it to close, as in every tabbed program.
class MiddleClickClose : public QObject
{
public:
  explicit MiddleClickClose(TTabControl& tabs) : m_tabs(tabs) {}

protected:
  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (event->type() == QEvent::MouseButtonRelease) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      auto* bar = static_cast<QTabBar*>(watched);
      if (mouse->button() == Qt::MiddleButton) {
        const int index = bar->tabAt(mouse->position().toPoint());
        if (index >= 0) {
          m_tabs.RequestClose(index);
          return true;
        }
      }
    }
    return QObject::eventFilter(watched, event);
  }

private:
  TTabControl& m_tabs;
};

} // namespace

TTabControl::TTabControl(QWidget* parentWidget)
{
  classId = kTTabControl;
  m_widget = new QTabBar(parentWidget);
  m_widget->setExpanding(false);
  m_widget->setDocumentMode(true);
  QObject::connect(m_widget, &QTabBar::currentChanged, m_widget, [this](int index) {
    if (m_onSelected)
      m_onSelected(index);
  });
  m_widget->setTabsClosable(true);
  // Queued: the handler may take the tab, and the bar with it, away.
  QObject::connect(
      m_widget, &QTabBar::tabCloseRequested, m_widget, [this](int index) { RequestClose(index); },
      Qt::QueuedConnection);
  m_middleClick = std::make_unique<MiddleClickClose>(*this);
  m_widget->installEventFilter(m_middleClick.get());
  BindViewWidget(this, m_widget);
}

TTabControl::~TTabControl()
{
  UnbindView(this);
  m_onSelected = nullptr;
  m_onClose = nullptr;
  if (m_widget)
    m_widget->removeEventFilter(m_middleClick.get());
  delete m_widget.data();
}

bool TTabControl::IsA(int32_t id) const
{
  return id == kTTabControl || TVue::IsA(id);
}

QTabBar* TTabControl::Widget() const
{
  return m_widget.data();
}

int32_t TTabControl::Add(TVue* view, const std::string& title)
{
  if (!m_widget)
    return -1;
  const int index = m_widget->addTab(QString::fromStdString(title));
  m_widget->setTabData(index, QVariant::fromValue(static_cast<void*>(view)));
  return index;
}

int32_t TTabControl::Count() const
{
  return m_widget ? m_widget->count() : 0;
}

TVue* TTabControl::ViewAt(int32_t index) const
{
  if (!m_widget || index < 0 || index >= m_widget->count())
    return nullptr;
  return static_cast<TVue*>(m_widget->tabData(index).value<void*>());
}

int32_t TTabControl::IndexOf(const TVue* view) const
{
  for (int32_t i = 0; i < Count(); ++i) {
    if (ViewAt(i) == view)
      return i;
  }
  return -1;
}

bool TTabControl::SetTitle(const TVue* view, const std::string& title)
{
  const int32_t index = IndexOf(view);
  if (index < 0)
    return false;
  m_widget->setTabText(index, QString::fromStdString(title));
  return true;
}

bool TTabControl::Remove(const TVue* view)
{
  const int32_t index = IndexOf(view);
  if (index < 0)
    return false;
  m_widget->removeTab(index);
  return true;
}

void TTabControl::RemoveAll()
{
  while (Count() > 0)
    m_widget->removeTab(Count() - 1);
}

int32_t TTabControl::GetSelected() const
{
  return m_widget ? m_widget->currentIndex() : -1;
}

void TTabControl::SetSelected(int32_t index)
{
  if (m_widget && index >= 0 && index < m_widget->count())
    m_widget->setCurrentIndex(index);
}

void TTabControl::RequestClose(int32_t index)
{
  if (m_onClose && index >= 0 && index < Count())
    m_onClose(index);
}
