#include "TWindow.h"

#include "ClassTable.h"
#include "Colors.h"
#include "Messages.h"
#include "TStatus.h"
#include "TToolbar.h"
#include "TVueWidget.h"
#include "ViewRegistry.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QToolBar>

TWindow::TWindow(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& title,
                 TVue* parentView)
{
  classId = kTWindow;
  SetParent(parentView);
  QWidget* ownerWidget = ViewWidget(parentView);
  m_widget = new TVueWidget(*this, ownerWidget);
  m_widget->setWindowTitle(QString::fromStdString(title));
  m_widget->setGeometry(x, y, width, height);
  // Frames have a solid background: the workspace colour.
  brush.SetStyle(TBrush::kSolid);
  brush.SetColor(FromQColor(m_widget->palette().color(QPalette::Mid)));
}

TWindow::~TWindow()
{
  // The bars and the window go first, while this is still a frame.
  m_toolBar.reset();
  m_statusBar.reset();
  if (m_client && ViewWidget(m_client) && ViewWidget(m_client)->parentWidget() == m_widget)
    ViewWidget(m_client)->setParent(nullptr);
  if (m_bottomBar && ViewWidget(m_bottomBar) && ViewWidget(m_bottomBar)->parentWidget() == m_widget)
    ViewWidget(m_bottomBar)->setParent(nullptr);
  UnbindView(this);
  delete m_widget.data();
}

bool TWindow::IsA(int32_t id) const
{
  return id == kTWindow || TVue::IsA(id);
}

TVueWidget* TWindow::Widget() const
{
  return m_widget.data();
}

void TWindow::SetTitle(const std::string& title)
{
  if (m_widget)
    m_widget->setWindowTitle(QString::fromStdString(title));
}

void TWindow::SetClient(TVue* view)
{
  m_client = view;
  if (view) {
    view->SetParent(this);
    if (QWidget* widget = ViewWidget(view); widget && m_widget) {
      widget->setParent(m_widget);
      widget->show();
    }
  }
  Layout();
}

TStatus* TWindow::CreateStatusBar()
{
  if (!m_statusBar) {
    m_statusBar = std::make_unique<TStatus>(m_widget);
    m_statusBar->SetParent(this);
    m_statusBar->Widget()->show();
    Layout();
  }
  return m_statusBar.get();
}

TToolbar* TWindow::CreateToolBar()
{
  if (!m_toolBar) {
    m_toolBar = std::make_unique<TToolbar>(this, m_widget);
    m_toolBar->Widget()->show();
    Layout();
  }
  return m_toolBar.get();
}

QMenuBar* TWindow::MenuBar()
{
  if (!m_menuBar && m_widget) {
    m_menuBar = new QMenuBar(m_widget);
    m_menuBar->show();
    Layout();
  }
  return m_menuBar.data();
}

QAction* TWindow::AddCommand(QMenu* menu, uint16_t command, const std::string& text, const QKeySequence& keys)
{
  if (!menu)
    return nullptr;
  QAction* action = menu->addAction(QString::fromStdString(text));
  action->setData(command);
  action->setShortcut(keys);
  // Queued: a command that runs a modal procedure then runs from the event
  // loop, not inside the menu's own mouse handling.
  QObject::connect(
      action, &QAction::triggered, menu, [this, command] { WndProc(WM_COMMAND_, command, 0); },
      Qt::QueuedConnection);
  return action;
}

void TWindow::SetBottomBar(TVue* view)
{
  m_bottomBar = view;
  if (view) {
    if (QWidget* widget = ViewWidget(view); widget && m_widget) {
      widget->setParent(m_widget);
      widget->show();
    }
  }
  Layout();
}

namespace {

// The height a bar asks for, within the limits it was given.
int BarHeight(const QWidget* bar)
{
  return bar->sizeHint().expandedTo(bar->minimumSize()).boundedTo(bar->maximumSize()).height();
}

} // namespace

void TWindow::Layout()
{
  if (!m_widget)
    return;
  QRect area = m_widget->rect();
  if (m_menuBar) {
    const int height = BarHeight(m_menuBar);
    m_menuBar->setGeometry(area.left(), area.top(), area.width(), height);
    area.setTop(area.top() + height);
  }
  if (m_toolBar && m_toolBar->Widget()) {
    const int height = BarHeight(m_toolBar->Widget());
    m_toolBar->Widget()->setGeometry(area.left(), area.top(), area.width(), height);
    area.setTop(area.top() + height);
  }
  for (QWidget* bar : {m_statusBar ? m_statusBar->Widget() : nullptr, ViewWidget(m_bottomBar)}) {
    if (!bar)
      continue;
    const int height = BarHeight(bar);
    bar->setGeometry(area.left(), area.bottom() + 1 - height, area.width(), height);
    area.setBottom(area.bottom() - height);
  }
  m_clientArea = area;
  if (QWidget* client = ViewWidget(m_client))
    client->setGeometry(area);
}

bool TWindow::CanClose()
{
  return true;
}

uint32_t TWindow::WndProc(uint32_t message, uint32_t param1, uintptr_t param2)
{
  switch (message) {
  case WM_SIZE_:
    lastMessage = message;
    if (param2 == 1) {
      m_minimised = true;
    } else if (m_minimised) {
      // Back from the task bar: the size is the one laid out before.
      m_minimised = false;
    } else {
      Layout();
    }
    return 0;
  case WM_CLOSE_:
    lastMessage = message;
    // Handled (non-zero) means refused.
    return CanClose() ? 0 : 1;
  case WM_DESTROY_:
    lastMessage = message;
    if (viewFlags & kQuitOnDestroy)
      QCoreApplication::quit();
    return 0;
  case WM_KEYDOWN_:
  case WM_CHAR_:
    lastMessage = message;
    return m_client ? m_client->WndProc(message, param1, param2) : 0;
  case MSG_SET_STATUS:
    lastMessage = message;
    if (!m_statusBar)
      return 0;
    m_statusBar->SetText(param2 ? reinterpret_cast<const char*>(param2) : "");
    return 1;
  default:
    return TVue::WndProc(message, param1, param2);
  }
}
