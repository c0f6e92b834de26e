#include "TVueWidget.h"

#include "Cursors.h"
#include "Messages.h"
#include "TVue.h"
#include "ViewRegistry.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

// Posted messages and the flush of what a modal procedure left queued
// travel as events of these types.
const QEvent::Type kPostedMessage = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kFlushQueue = static_cast<QEvent::Type>(QEvent::registerEventType());

class PostedMessageEvent : public QEvent
{
public:
  PostedMessageEvent(uint32_t posted, uint32_t first, uintptr_t second)
      : QEvent(kPostedMessage), message(posted), param1(first), param2(second)
  {
  }
  uint32_t message;
  uint32_t param1;
  uintptr_t param2;
};

uint32_t SizeParam(const QSize& size)
{
  return MakePointParam(std::min(size.width(), 32767), std::min(size.height(), 32767));
}

} // namespace

uint32_t VirtualKeyOf(int key)
{
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
    return static_cast<uint32_t>(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
    return VK_F1_ + static_cast<uint32_t>(key - Qt::Key_F1);
  switch (key) {
  case Qt::Key_Backspace:
    return VK_BACK_;
  case Qt::Key_Tab:
  case Qt::Key_Backtab:
    return VK_TAB_;
  case Qt::Key_Return:
  case Qt::Key_Enter:
    return VK_RETURN_;
  case Qt::Key_Shift:
    return VK_SHIFT_;
  case Qt::Key_Control:
    return VK_CONTROL_;
  case Qt::Key_Escape:
    return VK_ESCAPE_;
  case Qt::Key_Space:
    return VK_SPACE_;
  case Qt::Key_PageUp:
    return VK_PRIOR_;
  case Qt::Key_PageDown:
    return VK_NEXT_;
  case Qt::Key_End:
    return VK_END_;
  case Qt::Key_Home:
    return VK_HOME_;
  case Qt::Key_Left:
    return VK_LEFT_;
  case Qt::Key_Up:
    return VK_UP_;
  case Qt::Key_Right:
    return VK_RIGHT_;
  case Qt::Key_Down:
    return VK_DOWN_;
  case Qt::Key_Delete:
    return VK_DELETE_;
  default:
    return 0;
  }
}

uint32_t ModifierBits(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
  uint32_t bits = 0;
  if (buttons & Qt::LeftButton)
    bits |= MK_LBUTTON_;
  if (buttons & Qt::RightButton)
    bits |= MK_RBUTTON_;
  if (modifiers & Qt::ShiftModifier)
    bits |= MK_SHIFT_;
  if (modifiers & Qt::ControlModifier)
    bits |= MK_CONTROL_;
  return bits;
}

TVueWidget::TVueWidget(TVue& view, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), m_view(&view)
{
  setMouseTracking(true);
  BindViewWidget(&view, this);
}

TVueWidget::~TVueWidget()
{
  if (m_waiter)
    m_waiter->loop.quit();
  if (m_view)
    m_view->WndProc(WM_DESTROY_, 0, 0);
}

void TVueWidget::ForgetView()
{
  if (m_view && ViewWidget(m_view) == this)
    UnbindView(m_view);
  m_view = nullptr;
  m_queue.clear();
}

// ---- modal procedures ----

void TVueWidget::BeginModal()
{
  ++m_modalDepth;
}

void TVueWidget::EndModal()
{
  if (m_modalDepth == 0 || --m_modalDepth > 0)
    return;
  if (!m_queue.empty())
    QCoreApplication::postEvent(this, new QEvent(kFlushQueue));
  ModalEnded();
}

bool TVueWidget::DeliverMessage()
{
  if (m_queue.empty())
    return false;
  const Queued message = m_queue.front();
  m_queue.pop_front();
  Deliver(message);
  return true;
}

TVueWidget::Waiter* TVueWidget::SetWaiter(Waiter* waiter)
{
  Waiter* previous = m_waiter;
  m_waiter = waiter;
  // A waiter given back after a nested wait learns of what came meanwhile.
  if (m_waiter && !m_queue.empty()) {
    m_waiter->arrived = true;
    m_waiter->loop.quit();
  }
  return previous;
}

void TVueWidget::PostMessage(uint32_t message, uint32_t param1, uintptr_t param2)
{
  QCoreApplication::postEvent(this, new PostedMessageEvent(message, param1, param2));
}

void TVueWidget::Dispatch(uint32_t message, uint32_t param1, uintptr_t param2)
{
  if (!m_view)
    return;
  if (m_modalDepth == 0) {
    Deliver({message, param1, param2});
    return;
  }
  m_queue.push_back({message, param1, param2});
  if (m_waiter) {
    m_waiter->arrived = true;
    m_waiter->loop.quit();
  }
}

void TVueWidget::Deliver(const Queued& message)
{
  if (!m_view)
    return;
  if (message.message >= WM_MOUSEMOVE_ && message.message <= WM_RBUTTONUP_) {
    m_pointer = QPoint(PointParamX(message.param1), PointParamY(message.param1));
    m_pointerKnown = true;
  }
  m_view->WndProc(message.message, message.param1, message.param2);
}

// ---- pointer and cursor ----

QPoint TVueWidget::PointerPosition() const
{
  return m_pointerKnown ? m_pointer : mapFromGlobal(QCursor::pos());
}

void TVueWidget::PlacePointer(const QPoint& position)
{
  QCursor::setPos(mapToGlobal(position));
  // Where the pointer really is now: some platforms do not let a program
  // move it.
  m_pointer = mapFromGlobal(QCursor::pos());
  m_pointerKnown = true;
}

int32_t TVueWidget::SetViewCursor(int32_t cursorId)
{
  const int32_t previous = m_cursorId;
  m_cursorId = cursorId;
  ApplyCursor();
  return previous;
}

void TVueWidget::ShowPointer(bool show)
{
  m_pointerHidden = !show;
  ApplyCursor();
}

void TVueWidget::ApplyCursor()
{
  if (m_pointerHidden)
    setCursor(Qt::BlankCursor);
  else if (m_cursorId == 0)
    setCursor(OwnCursor());
  else
    setCursor(ViewCursor(m_cursorId));
}

QCursor TVueWidget::OwnCursor() const
{
  return QCursor(Qt::ArrowCursor);
}

// ---- window services ----

void TVueWidget::InvalidateArea(const QRect* area)
{
  if (area)
    update(*area);
  else
    update();
}

void TVueWidget::ScrollChanged(int, int) {}

// ---- events ----

bool TVueWidget::event(QEvent* event)
{
  if (event->type() == kPostedMessage) {
    const auto* posted = static_cast<PostedMessageEvent*>(event);
    Dispatch(posted->message, posted->param1, posted->param2);
    return true;
  }
  if (event->type() == kFlushQueue) {
    while (m_modalDepth == 0 && DeliverMessage()) {
    }
    return true;
  }
  return QWidget::event(event);
}

bool TVueWidget::focusNextPrevChild(bool)
{
  // Tab is a key for the view like any other.
  return false;
}

void TVueWidget::paintEvent(QPaintEvent*)
{
  if (!m_view)
    return;
  // A hollow background brush means the view paints no background.
  const QBrush& background = m_view->GetBrush().GetHandle();
  if (background.style() != Qt::NoBrush) {
    QPainter painter(this);
    painter.fillRect(rect(), background);
  }
  m_view->WndProc(WM_PAINT_, 0, 0);
}

void TVueWidget::resizeEvent(QResizeEvent* event)
{
  QWidget::resizeEvent(event);
  if (m_view)
    m_view->WndProc(WM_SIZE_, SizeParam(ClientSize()), isMinimized() ? 1 : 0);
}

void TVueWidget::closeEvent(QCloseEvent* event)
{
  // A view that handles the close itself refuses it (or has done it).
  if (m_view && m_view->WndProc(WM_CLOSE_, 0, 0) != 0)
    event->ignore();
  else
    event->accept();
}

void TVueWidget::MouseMessage(uint32_t message, const QMouseEvent* event)
{
  const QPoint p = event->position().toPoint();
  Dispatch(message, MakePointParam(p.x(), p.y()), ModifierBits(event->buttons(), event->modifiers()));
}

void TVueWidget::mousePressEvent(QMouseEvent* event)
{
  if (event->button() == Qt::LeftButton)
    MouseMessage(WM_LBUTTONDOWN_, event);
  else if (event->button() == Qt::RightButton)
    MouseMessage(WM_RBUTTONDOWN_, event);
}

void TVueWidget::mouseReleaseEvent(QMouseEvent* event)
{
  if (event->button() == Qt::LeftButton)
    MouseMessage(WM_LBUTTONUP_, event);
  else if (event->button() == Qt::RightButton)
    MouseMessage(WM_RBUTTONUP_, event);
}

void TVueWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
  if (event->button() == Qt::LeftButton)
    MouseMessage(WM_LBUTTONDBLCLK_, event);
  else if (event->button() == Qt::RightButton)
    MouseMessage(WM_RBUTTONDOWN_, event);
}

void TVueWidget::mouseMoveEvent(QMouseEvent* event)
{
  MouseMessage(WM_MOUSEMOVE_, event);
}

void TVueWidget::keyPressEvent(QKeyEvent* event)
{
  const uint32_t modifiers = ModifierBits(Qt::NoButton, event->modifiers());
  if (const uint32_t key = VirtualKeyOf(event->key()))
    Dispatch(WM_KEYDOWN_, key, modifiers);
  // The character the key types, as the platform translates it: Escape,
  // Enter and Tab are characters too.
  uint32_t character = 0;
  switch (event->key()) {
  case Qt::Key_Escape:
    character = VK_ESCAPE_;
    break;
  case Qt::Key_Return:
  case Qt::Key_Enter:
    character = VK_RETURN_;
    break;
  case Qt::Key_Tab:
    character = VK_TAB_;
    break;
  case Qt::Key_Backspace:
    character = VK_BACK_;
    break;
  default:
    if (!event->text().isEmpty())
      character = event->text().toUcs4().value(0);
    break;
  }
  if (character != 0)
    Dispatch(WM_CHAR_, character, modifiers);
}

void TVueWidget::leaveEvent(QEvent* event)
{
  // Without a grab the next position the view asks for is the real pointer.
  if (mouseGrabber() != this)
    m_pointerKnown = false;
  QWidget::leaveEvent(event);
}
