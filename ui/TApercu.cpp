#include "TApercu.h"

#include "PageBinding.h"
#include "TData.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// Room left round the picture, in pixels.
constexpr int kMargin = 8;
constexpr uint8_t kPaintViewer = 32;

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
  if (!room.IsEmpty()) {
    m_object.SetRect(room, kRectFit);
    m_object.Paint(&m_page, kPaintViewer);
  }
  m_page.Release();
}

void TApercu::keyPressEvent(QKeyEvent*)
{
  accept();
}

void TApercu::mouseReleaseEvent(QMouseEvent* event)
{
  if (event->button() == Qt::RightButton)
    accept();
}
