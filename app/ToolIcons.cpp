#include "ToolIcons.h"

#include "CommandIds.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <QPolygonF>

#include <cmath>
#include <functional>
#include <numbers>

namespace {

// Every picture is drawn on a 24 x 24 grid and rendered at these scales.
constexpr int kGrid = 24;
constexpr int kScales[] = {1, 2};

const QColor kInkOnLight(0x2c, 0x3e, 0x50);
const QColor kInkOnDark(0xdd, 0xe5, 0xee);
const QColor kAccentOnLight(0x2f, 0x6f, 0xb8);
const QColor kAccentOnDark(0x5b, 0x9b, 0xe0);
const QColor kAccentLight(0xd3, 0xe4, 0xf6);
const QColor kPaper(Qt::white);
const QColor kRed(0xc6, 0x3a, 0x2f);
const QColor kGreen(0x2e, 0x8b, 0x57);
const QColor kAmber(0xe9, 0xb2, 0x3c);
const QColor kAmberLight(0xf7, 0xd6, 0x85);
const QColor kGrey(0xe3, 0xe6, 0xea);

// The outlines: dark on a light desktop, light on a dark one, so that
// every picture stands out from the toolbar it sits on.
bool DarkDesktop()
{
  return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

QColor Ink()
{
  return DarkDesktop() ? kInkOnDark : kInkOnLight;
}

// The blue of arrows and highlights, lighter on a dark desktop.
QColor Accent()
{
  return DarkDesktop() ? kAccentOnDark : kAccentOnLight;
}

QPen Stroke(const QColor& colour, qreal width = 1.5)
{
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet of paper with a folded top-right corner.
void Page(QPainter& p, const QRectF& r, qreal fold = 4)
{
  const QPolygonF sheet({r.topLeft(), QPointF(r.right() - fold, r.top()), QPointF(r.right(), r.top() + fold),
                         r.bottomRight(), r.bottomLeft()});
  p.setPen(Stroke(Ink()));
  p.setBrush(kPaper);
  p.drawPolygon(sheet);
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold),
                            QPointF(r.right(), r.top() + fold)}));
}

// A filled arrowhead whose tip is at tip, pointing along the direction
// from `from` to tip.
void ArrowHead(QPainter& p, QPointF from, QPointF tip, qreal length, const QColor& colour)
{
  const qreal angle = std::atan2(tip.y() - from.y(), tip.x() - from.x());
  const qreal spread = 0.45;
  const QPointF a(tip.x() - length * std::cos(angle - spread), tip.y() - length * std::sin(angle - spread));
  const QPointF b(tip.x() - length * std::cos(angle + spread), tip.y() - length * std::sin(angle + spread));
  p.setPen(Stroke(colour, 1));
  p.setBrush(colour);
  p.drawPolygon(QPolygonF({tip, a, b}));
}

// A round badge in the bottom-right corner (new, close).
void Badge(QPainter& p, const QColor& colour, bool cross)
{
  const QPointF c(17.5, 17.5);
  p.setPen(Stroke(kPaper, 1.2));
  p.setBrush(colour);
  p.drawEllipse(c, 5.5, 5.5);
  p.setPen(Stroke(kPaper, 1.8));
  const qreal d = cross ? 2.3 : 3;
  if (cross) {
    p.drawLine(c + QPointF(-d, -d), c + QPointF(d, d));
    p.drawLine(c + QPointF(-d, d), c + QPointF(d, -d));
  } else {
    p.drawLine(c + QPointF(-d, 0), c + QPointF(d, 0));
    p.drawLine(c + QPointF(0, -d), c + QPointF(0, d));
  }
}

// A vertex handle of an edited curve.
void Handle(QPainter& p, QPointF at)
{
  p.setPen(Stroke(Ink(), 1));
  p.setBrush(Accent());
  p.drawRect(QRectF(at - QPointF(1.8, 1.8), QSizeF(3.6, 3.6)));
}

void Floppy(QPainter& p, QPointF at, qreal size, const QColor& body)
{
  const qreal s = size / 17;
  p.setPen(Stroke(Ink(), 1.3));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(at, QSizeF(size, size)), 1.5, 1.5);
  p.setBrush(kGrey);
  p.drawRect(QRectF(at + QPointF(3.5 * s, 0), QSizeF(9 * s, 5.5 * s)));
  p.setBrush(kPaper);
  p.drawRect(QRectF(at + QPointF(3 * s, 9.5 * s), QSizeF(11 * s, 7.5 * s)));
}

void DrawNew(QPainter& p)
{
  Page(p, QRectF(4.5, 2.5, 13, 18));
  Badge(p, kGreen, false);
}

void DrawOpen(QPainter& p)
{
  p.setPen(Stroke(Ink(), 1.3));
  p.setBrush(kAmber);
  p.drawPolygon(QPolygonF({{2.5, 5.5}, {9, 5.5}, {11, 7.5}, {19.5, 7.5}, {19.5, 19.5}, {2.5, 19.5}}));
  p.setBrush(kAmberLight);
  p.drawPolygon(QPolygonF({{6, 11}, {22.5, 11}, {19.5, 19.5}, {2.5, 19.5}}));
}

void DrawClose(QPainter& p)
{
  Page(p, QRectF(4.5, 2.5, 13, 18));
  Badge(p, kRed, true);
}

void DrawSave(QPainter& p)
{
  Floppy(p, QPointF(3.5, 3.5), 17, Accent());
}

void DrawSaveAll(QPainter& p)
{
  Floppy(p, QPointF(8, 2), 13.5, kAccentLight);
  Floppy(p, QPointF(2.5, 8.5), 13.5, Accent());
}

void DrawMove(QPainter& p)
{
  const QPointF c(12, 12);
  p.setPen(Stroke(Ink(), 1.6));
  p.drawLine(QPointF(3.5, 12), QPointF(20.5, 12));
  p.drawLine(QPointF(12, 3.5), QPointF(12, 20.5));
  for (QPointF tip : {QPointF(2, 12), QPointF(22, 12), QPointF(12, 2), QPointF(12, 22)})
    ArrowHead(p, c, tip, 5, Ink());
  p.setPen(Stroke(Ink(), 1));
  p.setBrush(Accent());
  p.drawEllipse(c, 2.2, 2.2);
}

void DrawCopyPaste(QPainter& p)
{
  Page(p, QRectF(3, 2.5, 11, 14), 3);
  Page(p, QRectF(9.5, 7.5, 11.5, 14), 3);
  p.setPen(Stroke(Accent(), 1.2));
  for (qreal y : {12.5, 15.0, 17.5})
    p.drawLine(QPointF(12, y), QPointF(18, y));
}

void DrawDelete(QPainter& p)
{
  p.setPen(Stroke(Ink(), 1.4));
  p.setBrush(kGrey);
  p.drawPolygon(QPolygonF({{6, 7}, {18, 7}, {16.8, 21}, {7.2, 21}}));
  p.drawLine(QPointF(10, 10), QPointF(10.3, 18));
  p.drawLine(QPointF(14, 10), QPointF(13.7, 18));
  p.setPen(Stroke(kRed, 1.8));
  p.drawLine(QPointF(4, 6), QPointF(20, 6));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({{9.5, 6}, {9.5, 3.5}, {14.5, 3.5}, {14.5, 6}}));
}

// The turning arrow of undo; redo is its mirror image.
void DrawUndo(QPainter& p)
{
  const QRectF arc(5.5, 6.5, 14, 13);
  QPainterPath path;
  path.arcMoveTo(arc, -40);
  path.arcTo(arc, -40, 220);
  p.setPen(Stroke(Accent(), 2));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  const QPointF end = path.currentPosition();
  ArrowHead(p, end + QPointF(0, -2), end + QPointF(0, 4.5), 6, Accent());
}

void DrawRedo(QPainter& p)
{
  p.translate(kGrid, 0);
  p.scale(-1, 1);
  DrawUndo(p);
}

void DrawText(QPainter& p)
{
  p.setPen(Qt::NoPen);
  p.setBrush(Ink());
  p.drawRect(QRectF(4.5, 3.5, 15, 3.2));
  p.drawRect(QRectF(4.5, 3.5, 2, 5.5));
  p.drawRect(QRectF(17.5, 3.5, 2, 5.5));
  p.drawRect(QRectF(10.3, 3.5, 3.4, 16.5));
  p.drawRect(QRectF(8, 18.5, 8, 2));
}

void DrawLine(QPainter& p)
{
  p.setPen(Stroke(Ink(), 1.8));
  p.drawLine(QPointF(4.5, 19.5), QPointF(19.5, 4.5));
  Handle(p, QPointF(4.5, 19.5));
  Handle(p, QPointF(19.5, 4.5));
}

void DrawPolyline(QPainter& p)
{
  const QPolygonF points({{3, 19}, {8, 6.5}, {14.5, 15.5}, {21, 5}});
  p.setPen(Stroke(Ink(), 1.8));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(points);
  for (QPointF at : points)
    Handle(p, at);
}

void DrawRectangle(QPainter& p)
{
  p.setPen(Stroke(Accent(), 1.8));
  p.setBrush(kAccentLight);
  p.drawRect(QRectF(3.5, 6, 17, 12));
}

void DrawRoundRect(QPainter& p)
{
  p.setPen(Stroke(Accent(), 1.8));
  p.setBrush(kAccentLight);
  p.drawRoundedRect(QRectF(3.5, 6, 17, 12), 4.5, 4.5);
}

void DrawCircle(QPainter& p)
{
  p.setPen(Stroke(Accent(), 1.8));
  p.setBrush(kAccentLight);
  p.drawEllipse(QPointF(12, 12), 8.5, 8.5);
}

void DrawImage(QPainter& p)
{
  const QRectF frame(2.5, 4.5, 19, 15);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xcf, 0xe8, 0xfb));
  p.drawRect(frame);
  p.setBrush(kGreen);
  p.drawPolygon(QPolygonF({{2.5, 19.5}, {9, 10.5}, {13, 15}, {16, 12}, {21.5, 19.5}}));
  p.setBrush(kAmber);
  p.drawEllipse(QPointF(16.5, 8.5), 2, 2);
  p.setPen(Stroke(Ink(), 1.4));
  p.setBrush(Qt::NoBrush);
  p.drawRect(frame);
}

void DrawBezier(QPainter& p)
{
  const QPointF start(3, 19.5), control(12, 2.5), end(21, 19.5);
  p.setPen(QPen(Accent(), 1, Qt::DashLine));
  p.drawPolyline(QPolygonF({start, control, end}));
  QPainterPath curve(start);
  curve.quadTo(control, end);
  p.setPen(Stroke(Ink(), 1.8));
  p.setBrush(Qt::NoBrush);
  p.drawPath(curve);
  p.setPen(Stroke(Ink(), 1));
  p.setBrush(kPaper);
  p.drawEllipse(control, 2, 2);
  Handle(p, start);
  Handle(p, end);
}

void DrawPolygon(QPainter& p)
{
  p.setPen(Stroke(Accent(), 1.8));
  p.setBrush(kAccentLight);
  p.drawPolygon(QPolygonF({{12, 3}, {21, 9.5}, {17.5, 20.5}, {6.5, 20.5}, {3, 9.5}}));
}

void DrawSinusoid(QPainter& p)
{
  p.setPen(QPen(Accent(), 1, Qt::DotLine));
  p.drawLine(QPointF(2, 12), QPointF(22, 12));
  QPolygonF wave;
  for (int i = 0; i <= 40; ++i) {
    const qreal x = 2 + i * 0.5;
    wave << QPointF(x, 12 - 7 * std::sin((x - 2) / 20 * 2 * std::numbers::pi));
  }
  p.setPen(Stroke(Ink(), 1.8));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(wave);
}

void DrawSymbol(QPainter& p)
{
  QPolygonF star;
  for (int i = 0; i < 10; ++i) {
    const qreal radius = i % 2 == 0 ? 9.5 : 4;
    const qreal angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
    star << QPointF(12 + radius * std::cos(angle), 12.8 + radius * std::sin(angle));
  }
  p.setPen(Stroke(QColor(0x9a, 0x6b, 0x12), 1.3));
  p.setBrush(kAmber);
  p.drawPolygon(star);
}

void DrawDimension(QPainter& p)
{
  p.setPen(Stroke(Ink(), 1.3));
  p.drawLine(QPointF(3.5, 5), QPointF(3.5, 20));
  p.drawLine(QPointF(20.5, 5), QPointF(20.5, 20));
  p.setPen(Stroke(Accent(), 1.4));
  p.drawLine(QPointF(6, 14), QPointF(18, 14));
  ArrowHead(p, QPointF(12, 14), QPointF(4, 14), 5, Accent());
  ArrowHead(p, QPointF(12, 14), QPointF(20, 14), 5, Accent());
  p.setPen(Stroke(Ink(), 1.3));
  p.drawLine(QPointF(9, 9.5), QPointF(15, 9.5));
}

void DrawArrow(QPainter& p)
{
  p.setPen(Stroke(Ink(), 1.8));
  p.drawLine(QPointF(4, 20), QPointF(16.5, 7.5));
  ArrowHead(p, QPointF(4, 20), QPointF(20.5, 3.5), 8, Ink());
}

void DrawTime(QPainter& p)
{
  const QPointF c(12, 12);
  p.setPen(Stroke(Ink(), 1.5));
  p.setBrush(kPaper);
  p.drawEllipse(c, 9, 9);
  for (int i = 0; i < 12; i += 3) {
    const qreal a = i * std::numbers::pi / 6;
    p.drawLine(c + QPointF(7 * std::sin(a), -7 * std::cos(a)),
               c + QPointF(8.2 * std::sin(a), -8.2 * std::cos(a)));
  }
  p.setPen(Stroke(Ink(), 1.7));
  p.drawLine(c, QPointF(12, 6));
  p.setPen(Stroke(Accent(), 1.7));
  p.drawLine(c, QPointF(16.5, 14.5));
}

void DrawDate(QPainter& p)
{
  p.setPen(Stroke(Ink(), 1.3));
  p.setBrush(kPaper);
  p.drawRect(QRectF(3.5, 5, 17, 15.5));
  p.setBrush(kRed);
  p.drawRect(QRectF(3.5, 5, 17, 4.5));
  p.setPen(Stroke(Ink(), 1.6));
  p.drawLine(QPointF(8, 3), QPointF(8, 7));
  p.drawLine(QPointF(16, 3), QPointF(16, 7));
  p.setPen(Qt::NoPen);
  p.setBrush(Accent());
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 3; ++column)
      p.drawRect(QRectF(6 + column * 4.5, 11.5 + row * 4, 2.6, 2.6));
  }
}

void DrawFileName(QPainter& p)
{
  Page(p, QRectF(3.5, 2.5, 13, 18));
  p.setPen(Stroke(Ink(), 1));
  p.setBrush(Accent());
  p.drawRoundedRect(QRectF(7.5, 11.5, 14.5, 7), 2, 2);
  p.setPen(Stroke(kPaper, 1.4));
  p.drawLine(QPointF(10, 15), QPointF(19.5, 15));
}

void DrawProgram(QPainter& p)
{
  p.setPen(Qt::NoPen);
  p.setBrush(Accent());
  p.drawRoundedRect(QRectF(1, 1, 22, 22), 5, 5);
  QPainterPath curve(QPointF(5, 18));
  curve.quadTo(QPointF(12, -2), QPointF(19, 18));
  p.setPen(Stroke(kPaper, 2));
  p.setBrush(Qt::NoBrush);
  p.drawPath(curve);
  p.setPen(Stroke(Ink(), 1));
  p.setBrush(kAmber);
  for (QPointF at : {QPointF(5, 18), QPointF(19, 18)})
    p.drawRect(QRectF(at - QPointF(2, 2), QSizeF(4, 4)));
}

QIcon Render(const std::function<void(QPainter&)>& draw)
{
  QIcon icon;
  for (int scale : kScales) {
    QPixmap pixmap(kGrid * scale, kGrid * scale);
    pixmap.fill(Qt::transparent);
    {
      QPainter painter(&pixmap);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.scale(scale, scale);
      draw(painter);
    }
    pixmap.setDevicePixelRatio(scale);
    icon.addPixmap(pixmap);
  }
  return icon;
}

} // namespace

QIcon ToolIcon(uint16_t command)
{
  void (*draw)(QPainter&) = nullptr;
  switch (command) {
  case CM_NEW:
    draw = DrawNew;
    break;
  case CM_OPEN:
    draw = DrawOpen;
    break;
  case CM_CLOSE:
    draw = DrawClose;
    break;
  case CM_SAVE:
    draw = DrawSave;
    break;
  case CM_SAVE_ALL:
    draw = DrawSaveAll;
    break;
  case CM_MOVE:
    draw = DrawMove;
    break;
  case CM_COPY_PASTE:
    draw = DrawCopyPaste;
    break;
  case CM_DELETE:
    draw = DrawDelete;
    break;
  case CM_UNDO:
    draw = DrawUndo;
    break;
  case CM_REDO:
    draw = DrawRedo;
    break;
  case CM_NEW_TEXT:
    draw = DrawText;
    break;
  case CM_NEW_LINE:
    draw = DrawLine;
    break;
  case CM_NEW_POLYLINE:
    draw = DrawPolyline;
    break;
  case CM_NEW_RECTANGLE:
    draw = DrawRectangle;
    break;
  case CM_NEW_ROUNDRECT:
    draw = DrawRoundRect;
    break;
  case CM_NEW_CIRCLE:
    draw = DrawCircle;
    break;
  case CM_NEW_IMAGE:
    draw = DrawImage;
    break;
  case CM_NEW_BEZIER:
    draw = DrawBezier;
    break;
  case CM_NEW_POLYGON:
    draw = DrawPolygon;
    break;
  case CM_NEW_SINUSOID:
    draw = DrawSinusoid;
    break;
  case CM_NEW_SYMBOL:
    draw = DrawSymbol;
    break;
  case CM_NEW_DIMENSION:
    draw = DrawDimension;
    break;
  case CM_NEW_ARROW:
    draw = DrawArrow;
    break;
  case CM_NEW_TIME:
    draw = DrawTime;
    break;
  case CM_NEW_DATE:
    draw = DrawDate;
    break;
  case CM_NEW_FILENAME:
    draw = DrawFileName;
    break;
  default:
    return QIcon();
  }
  return Render(draw);
}

QIcon ProgramIcon()
{
  return Render(DrawProgram);
}
