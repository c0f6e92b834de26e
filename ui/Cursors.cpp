#include "Cursors.h"

#include "TClient.h"

#include <QPainter>
#include <QPixmap>
#include <QString>

namespace {

constexpr int kSize = 32;
constexpr int kHot = 15;

// Draws a cursor shape twice: a white halo so it shows on dark drawings,
// then the black shape over it.
QCursor Drawn(void (*shape)(QPainter&))
{
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap));
  shape(painter);
  painter.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap));
  shape(painter);
  painter.end();
  return QCursor(pixmap, kHot, kHot);
}

// A cross-hair open in the middle, so the point under it stays visible.
void CrossHair(QPainter& p, int gap)
{
  p.drawLine(kHot, kHot - 11, kHot, kHot - gap);
  p.drawLine(kHot, kHot + gap, kHot, kHot + 11);
  p.drawLine(kHot - 11, kHot, kHot - gap, kHot);
  p.drawLine(kHot + gap, kHot, kHot + 11, kHot);
}

// Picking: a small pick box on the cross-hair.
void PickShape(QPainter& p)
{
  CrossHair(p, 5);
  p.drawRect(kHot - 3, kHot - 3, 6, 6);
}

// Rectangle selection: the cross-hair with a corner of a frame below right.
void SelectShape(QPainter& p)
{
  CrossHair(p, 3);
  p.drawLine(kHot + 5, kHot + 5, kHot + 14, kHot + 5);
  p.drawLine(kHot + 5, kHot + 5, kHot + 5, kHot + 14);
}

// The view's own cursor: a fine cross-hair with a small circle marking the
// point.
void ZeroShape(QPainter& p)
{
  CrossHair(p, 4);
  p.drawEllipse(kHot - 2, kHot - 2, 4, 4);
}

} // namespace

QCursor ResourceCursor(std::string_view name)
{
  const QString n = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  if (n.compare(QLatin1String("KARWI_CurseurMain"), Qt::CaseInsensitive) == 0) {
    static const QCursor cursor = Drawn(PickShape);
    return cursor;
  }
  if (n.compare(QLatin1String("KARWI_CurseurSelect"), Qt::CaseInsensitive) == 0) {
    static const QCursor cursor = Drawn(SelectShape);
    return cursor;
  }
  if (n.compare(QLatin1String("KARWI_CurseurZero"), Qt::CaseInsensitive) == 0) {
    static const QCursor cursor = Drawn(ZeroShape);
    return cursor;
  }
  return QCursor(Qt::ArrowCursor);
}

QCursor ViewCursor(int32_t cursorId)
{
  switch (cursorId) {
  case TClient::kCursorCross:
    return QCursor(Qt::CrossCursor);
  case TClient::kCursorPick:
    return ResourceCursor("KARWI_CurseurMain");
  case TClient::kCursorSelect:
    return ResourceCursor("KARWI_CurseurSelect");
  case TClient::kCursorWait:
    return QCursor(Qt::WaitCursor);
  default:
    return QCursor(Qt::ArrowCursor);
  }
}
