#include "TTabWindow.h"

#include "TTabControl.h"
#include "TVueWidget.h"
#include "ViewRegistry.h"

#include <QTabBar>

TTabWindow::TTabWindow(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& title,
                       TVue* parentView)
    : TWindow(x, y, width, height, title, parentView), m_tabs(std::make_unique<TTabControl>(Widget()))
{
  m_tabs->SetParent(this);
  m_tabs->OnSelected([this](int32_t) { ShowSelected(); });
  m_tabs->Widget()->hide();
}

TTabWindow::~TTabWindow()
{
  // The views' widgets are the caller's: they leave the window first.
  for (int32_t i = 0; i < m_tabs->Count(); ++i) {
    QWidget* widget = ViewWidget(m_tabs->ViewAt(i));
    if (widget && widget->parentWidget() == Widget())
      widget->setParent(nullptr);
  }
  m_tabs->OnSelected(nullptr);
  SetClient(nullptr);
}

int32_t TTabWindow::AddTab(TVue* view, const std::string& title)
{
  if (!view)
    return -1;
  view->SetParent(this);
  if (QWidget* widget = ViewWidget(view)) {
    widget->setParent(Widget());
    widget->hide();
  }
  const int32_t index = m_tabs->Add(view, title);
  m_tabs->SetSelected(index);
  ShowSelected();
  return index;
}

bool TTabWindow::RemoveTab(TVue* view)
{
  if (!m_tabs->Remove(view))
    return false;
  if (QWidget* widget = ViewWidget(view))
    widget->hide();
  ShowSelected();
  return true;
}

void TTabWindow::RemoveAllTabs()
{
  for (int32_t i = 0; i < m_tabs->Count(); ++i) {
    if (QWidget* widget = ViewWidget(m_tabs->ViewAt(i)))
      widget->hide();
  }
  m_tabs->RemoveAll();
  ShowSelected();
}

bool TTabWindow::SelectView(TVue* view)
{
  const int32_t index = m_tabs->IndexOf(view);
  if (index < 0)
    return false;
  m_tabs->SetSelected(index);
  ShowSelected();
  return true;
}

TVue* TTabWindow::ActiveView() const
{
  return m_tabs->ViewAt(m_tabs->GetSelected());
}

bool TTabWindow::SetTabTitle(TVue* view, const std::string& title)
{
  return m_tabs->SetTitle(view, title);
}

void TTabWindow::ShowSelected()
{
  TVue* active = ActiveView();
  for (int32_t i = 0; i < m_tabs->Count(); ++i) {
    TVue* view = m_tabs->ViewAt(i);
    if (QWidget* widget = ViewWidget(view); widget && view != active)
      widget->hide();
  }
  TabChanged(active);
}

void TTabWindow::TabChanged(TVue* view)
{
  SetClient(view);
  if (QWidget* widget = ViewWidget(view)) {
    widget->show();
    widget->setFocus(Qt::OtherFocusReason);
  }
}

void TTabWindow::Layout()
{
  TWindow::Layout();
  QTabBar* bar = m_tabs ? m_tabs->Widget() : nullptr;
  if (!bar)
    return;
  // The strip takes the top of the client area; every tab's view the rest.
  QRect area = ClientArea();
  const bool shown = m_tabs->Count() > 0;
  bar->setVisible(shown);
  if (shown) {
    const int height = bar->sizeHint().height();
    bar->setGeometry(area.left(), area.top(), area.width(), height);
    area.setTop(area.top() + height);
  }
  for (int32_t i = 0; i < m_tabs->Count(); ++i) {
    if (QWidget* widget = ViewWidget(m_tabs->ViewAt(i)))
      widget->setGeometry(area);
  }
}
