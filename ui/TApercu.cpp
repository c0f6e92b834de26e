#include "TApercu.h"

#include "PageBinding.h"
#include "TData.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// Room left round the picture, in pixels.
constexpr int kMargin = 8;

} // namespace

TApercu::TApercu(TData& object, const TPage& page, QWidget* parent)
    : QDialog(parent), m_object(object), m_page(page)
{
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_page.SetDrawingLayers(0xFFFF);
}

void TApercu::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (!BindPage(m_page, &painter, TPage::kPaint))
    return;
  int32_t left, top, right, bottom;
  m_page.DeviceToPage(kMargin, kMargin, left, top);
  m_page.DeviceToPage(width() - kMargin, height() - kMargin, right, bottom);
  const TRect room(left, top, right, bottom);
  if (!m_fitted && !room.IsEmpty()) {
    m_object.SetRect(room, kRectFit);
    m_fitted = true;
  }
  m_object.Paint(&m_page, TData::kPaintViewer);
  m_page.Release();
}

void TApercu::keyPressEvent(QKeyEvent*)
{
  accept();
}

void TApercu::mousePressEvent(QMouseEvent* event)
{
  if (event->button() == Qt::LeftButton)
    m_dragFrom = event->position().toPoint();
}

void TApercu::mouseMoveEvent(QMouseEvent* event)
{
  if (m_dragFrom.isNull() || !(event->buttons() & Qt::LeftButton))
    return;
  const QPoint at = event->position().toPoint();
  // The picture grows by twice the pointer's way, as it keeps its centre.
  const int32_t dx = 2 * m_page.ToLogicalX(at.x() - m_dragFrom.x());
  const int32_t dy = 2 * m_page.ToLogicalY(at.y() - m_dragFrom.y());
  if (dx == 0 && dy == 0)
    return;
  if (m_object.Width() + dx > 1 && m_object.Height() + dy > 1)
    m_object.Resize(dx, dy);
  m_dragFrom = at;
  update();
}

void TApercu::mouseReleaseEvent(QMouseEvent* event)
{
  if (event->button() == Qt::RightButton)
    accept();
  else if (event->button() == Qt::LeftButton)
    m_dragFrom = QPoint();
}
