#include "TQtPageDevice.h"

#include "EtchedEdge.h"
#include "PixelPolyline.h"

#include "Colors.h"
#include "Geometry.h"
#include "ShapedLine.h"
#include "TBrush.h"
#include "TFont.h"
#include "TPen.h"
#include "TPoint.h"
#include "TextMetrics.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QRawFont>
#include <QString>
#include <QTextLayout>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <string>
#include <unordered_map>

namespace {

// The resolution whose pixels patterns and hairlines are measured in.
constexpr double kReferenceDpi = 96.0;
// Spacing of hatch lines in pixels, as the platform's 8 x 8 hatch patterns.
constexpr double kHatchPixels = 8.0;

// The angle Qt's arc functions take for the point of the ellipse inside box
// that lies on the ray from the centre through p: Qt measures angles on the
// circle that the ellipse is a stretched copy of.
double ArcAngle(const QRectF& box, const QPointF& p)
{
  const QPointF c = box.center();
  const double dx = p.x() - c.x();
  const double dy = c.y() - p.y();
  return std::atan2(dy * box.width(), dx * box.height()) * 180.0 / std::numbers::pi;
}

} // namespace

TQtPageDevice::TQtPageDevice(QPaintDevice* device) : m_ownPainter(std::make_unique<QPainter>())
{
  if (device && m_ownPainter->begin(device)) {
    m_painter = m_ownPainter.get();
    Begin();
  }
}

TQtPageDevice::TQtPageDevice(QPainter* painter)
{
  if (!painter || !painter->isActive())
    return;
  m_painter = painter;
  m_borrowed = true;
  painter->save();
  m_baseTransform = painter->worldTransform();
  if (painter->hasClipping())
    m_baseClip = painter->clipPath();
  Begin();
}

TQtPageDevice::~TQtPageDevice()
{
  if (!m_painter)
    return;
  if (m_borrowed)
    m_painter->restore();
  else
    m_painter->end();
}

bool TQtPageDevice::IsActive() const
{
  return m_painter != nullptr;
}

void TQtPageDevice::SetPictureArea(const QRectF& area)
{
  m_pictureArea = area;
}

void TQtPageDevice::Begin()
{
  // On fine vector and print devices a device pixel is tiny: one-pixel
  // lines, dash lengths and hatch spacing are measured in pixels of a
  // screen-like resolution there, so a PDF looks like the page on screen.
  // Images keep exact pixels.
  const QPaintEngine* engine = m_painter->paintEngine();
  const QPaintDevice* device = m_painter->device();
  m_pixelScale = 1;
  m_vector = engine && engine->type() != QPaintEngine::Raster;
  if (m_vector && device)
    m_pixelScale = std::max(1, static_cast<int>(std::lround(device->logicalDpiX() / kReferenceDpi)));
  m_painter->setRenderHint(QPainter::Antialiasing, true);
  m_painter->setRenderHint(QPainter::TextAntialiasing, true);
  m_painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
  SelectDefaults();
  SetTextColor(0);
  SetBkColor(MakeColor(255, 255, 255));
  SetBkMode(OPAQUE_);
  SetROP2(R2_COPYPEN_);
}

QList<qreal> TQtPageDevice::DashPattern(uint32_t style)
{
  switch (style) {
  case TPen::kDash:
    return {18, 6};
  case TPen::kDot:
    return {3, 3};
  case TPen::kDashDot:
    return {9, 6, 3, 6};
  default:
    return {9, 3, 3, 3, 3, 3};
  }
}

// ---- mapping ----

void TQtPageDevice::SetMapping(int32_t windowOrgX, int32_t windowOrgY, int32_t windowExtX, int32_t windowExtY,
                               int32_t viewportExtX, int32_t viewportExtY)
{
  m_mapping.Set(windowOrgX, windowOrgY, windowExtX, windowExtY, viewportExtX, viewportExtY);
  if (m_clipActive)
    ApplyClipToPainter();
}

double TQtPageDevice::ScaleX() const
{
  return m_mapping.ScaleX();
}

double TQtPageDevice::ScaleY() const
{
  return m_mapping.ScaleY();
}

QPointF TQtPageDevice::ToDevice(int32_t x, int32_t y) const
{
  return m_mapping.ToDevice(x, y);
}

QRectF TQtPageDevice::DeviceBox(int32_t l, int32_t t, int32_t r, int32_t b) const
{
  const QPointF a = ToDevice(l, t);
  const QPointF c = ToDevice(r, b);
  return QRectF(QPointF(std::min(a.x(), c.x()), std::min(a.y(), c.y())),
                QPointF(std::max(a.x(), c.x()), std::max(a.y(), c.y())));
}

void TQtPageDevice::SetClip(const int32_t* ltrb)
{
  m_clipActive = ltrb != nullptr;
  if (ltrb)
    std::copy(ltrb, ltrb + 4, m_clip);
  ApplyClipToPainter();
}

void TQtPageDevice::ApplyClipToPainter()
{
  if (!m_painter)
    return;
  if (m_baseClip)
    m_painter->setClipPath(*m_baseClip);
  else
    m_painter->setClipping(false);
  if (m_clipActive)
    m_painter->setClipRect(DeviceBox(m_clip[0], m_clip[1], m_clip[2], m_clip[3]),
                           m_baseClip ? Qt::IntersectClip : Qt::ReplaceClip);
}

// ---- attributes ----

void TQtPageDevice::SelectPen(const TPen& pen)
{
  m_pen = pen.GetHandle();
  m_penStyle = pen.GetStyle();
}

void TQtPageDevice::SelectBrush(const TBrush& brush)
{
  m_brush = brush.GetHandle();
}

void TQtPageDevice::SelectFont(const TFont& font)
{
  m_font = TextFont(font);
  m_escapement = font.EscapementDegrees();
}

void TQtPageDevice::SelectDefaults()
{
  // Kept, so that their Qt objects are made once, and made before any
  // drawing thread reads them.
  static const TPen kPen = [] {
    TPen pen(0, 0, TPen::kSolid);
    pen.GetHandle();
    return pen;
  }();
  static const TFont kFont = [] {
    TFont font;
    font.GetHandle();
    return font;
  }();
  SelectPen(kPen);
  m_brush = QBrush(Qt::NoBrush);
  SelectFont(kFont);
}

void TQtPageDevice::SetTextColor(uint32_t colour)
{
  m_textColour = ToQColor(colour);
}

void TQtPageDevice::SetBkColor(uint32_t colour)
{
  m_bkColour = ToQColor(colour);
  if (m_painter)
    m_painter->setBackground(m_bkColour);
}

void TQtPageDevice::SetBkMode(int32_t mode)
{
  m_bkMode = mode;
  // Qt fills the gaps of hatch patterns with the background in opaque mode,
  // as the platform does.
  if (m_painter)
    m_painter->setBackgroundMode(mode == OPAQUE_ ? Qt::OpaqueMode : Qt::TransparentMode);
}

void TQtPageDevice::SetTextAlign(uint32_t align)
{
  m_textAlign = align;
}

void TQtPageDevice::SetROP2(int32_t rop)
{
  m_rop = rop;
  ApplyRop();
}

void TQtPageDevice::ApplyRop()
{
  if (!m_painter)
    return;
  // Raster operations exist only on the raster engine (images); elsewhere
  // the drawing is plain.
  const QPaintEngine* engine = m_painter->paintEngine();
  QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
  if (engine && engine->type() == QPaintEngine::Raster) {
    switch (m_rop) {
    case R2_BLACK_:
      mode = QPainter::RasterOp_ClearDestination;
      break;
    case R2_NOT_:
      mode = QPainter::RasterOp_NotDestination;
      break;
    case R2_XORPEN_:
      mode = QPainter::RasterOp_SourceXorDestination;
      break;
    case R2_NOTXORPEN_:
      mode = QPainter::RasterOp_NotSourceXorDestination;
      break;
    case R2_WHITE_:
      mode = QPainter::RasterOp_SetDestination;
      break;
    default:
      break;
    }
  }
  m_painter->setCompositionMode(mode);
  // Exclusive-or drawing must hit whole pixels, or drawing it twice would
  // not restore the image.
  const bool smooth = mode == QPainter::CompositionMode_SourceOver;
  m_painter->setRenderHint(QPainter::Antialiasing, smooth);
  m_painter->setRenderHint(QPainter::TextAntialiasing, smooth);
}

// ---- pens ----

bool TQtPageDevice::HasPen() const
{
  return m_pen.style() != Qt::NoPen;
}

bool TQtPageDevice::CosmeticDashes() const
{
  return m_penStyle >= TPen::kDash && m_penStyle <= TPen::kDashDotDot && m_pen.widthF() <= 1.0;
}

int TQtPageDevice::PenPixels() const
{
  if (m_pen.isCosmetic() || CosmeticDashes())
    return m_pixelScale;
  return std::max(m_pixelScale, RoundHalfAway(m_pen.widthF() * ScaleX()));
}

double TQtPageDevice::PenOffset() const
{
  return PenPixels() % 2 != 0 ? 0.5 : 0.0;
}

QPen TQtPageDevice::DevicePen() const
{
  QPen pen = m_pen;
  const int pixels = PenPixels();
  pen.setWidth(pixels);
  pen.setCosmetic(false);
  if (CosmeticDashes())
    pen.setDashPattern(DashPattern(m_penStyle));
  // Pens wider than a pixel have round ends and joins; one-pixel lines end
  // flat, so a line covers its first point and not its last.
  if (pixels > 1) {
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
  } else {
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
  }
  return pen;
}

QRectF TQtPageDevice::StrokeBox(const QRectF& box) const
{
  double l, t, r, b;
  if (m_penStyle == TPen::kInsideFrame) {
    const double inset = PenPixels() / 2.0;
    l = box.left() + inset;
    t = box.top() + inset;
    r = box.right() - inset;
    b = box.bottom() - inset;
  } else {
    // The outline runs through the first and the last pixel inside the box.
    const double offset = PenOffset();
    l = box.left() + offset;
    t = box.top() + offset;
    r = box.right() - 1 + offset;
    b = box.bottom() - 1 + offset;
  }
  if (r < l)
    l = r = (l + r) / 2;
  if (b < t)
    t = b = (t + b) / 2;
  return QRectF(QPointF(l, t), QPointF(r, b));
}

QPolygonF TQtPageDevice::StrokePoints(const TPoint* points, int32_t count, bool open) const
{
  QPolygonF poly;
  poly.reserve(count);
  const double offset = PenOffset();
  for (int32_t i = 0; i < count; ++i)
    poly << ToDevice(points[i].x, points[i].y) + QPointF(offset, offset);
  if (!open || poly.size() < 2 || PenPixels() != 1)
    return poly;
  // Move both ends half a pixel back along their segment: the first pixel
  // is then covered whole and the last one not at all.
  auto pullBack = [](QPointF& end, const QPointF& from) {
    const QPointF d = end - from;
    const double length = std::hypot(d.x(), d.y());
    if (length > 0)
      end -= d * (0.5 / length);
  };
  pullBack(poly.first(), poly[0] - (poly[1] - poly[0]));
  pullBack(poly.last(), poly[poly.size() - 2]);
  return poly;
}

// ---- shapes ----

void TQtPageDevice::DrawShape(const QPainterPath& fill, const QPainterPath& outline, const QBrush* brush)
{
  if (!m_painter)
    return;
  const QBrush& b = brush ? *brush : m_brush;
  if (b.style() != Qt::NoBrush && !fill.isEmpty()) {
    if (m_pixelScale > 1 && b.style() >= Qt::HorPattern && b.style() <= Qt::DiagCrossPattern) {
      FillHatch(fill, b);
    } else {
      m_painter->setPen(Qt::NoPen);
      m_painter->setBrush(b);
      m_painter->drawPath(fill);
    }
  }
  if (HasPen() && !outline.isEmpty())
    StrokePath(outline);
}

void TQtPageDevice::FillHatch(const QPainterPath& area, const QBrush& brush)
{
  // Vector and print devices get the hatch as lines of the reference
  // resolution's spacing (their own pattern brushes would be a few device
  // pixels apart, a grey tint at 1200 dpi, or not supported at all).
  const double step = kHatchPixels * m_pixelScale;
  m_painter->save();
  m_painter->setClipPath(area, Qt::IntersectClip);
  if (m_bkMode == OPAQUE_)
    m_painter->fillPath(area, m_bkColour);
  QPen pen(brush.color(), m_pixelScale);
  pen.setCapStyle(Qt::FlatCap);
  m_painter->setPen(pen);
  const QRectF box = area.boundingRect();
  const Qt::BrushStyle style = brush.style();
  auto first = [step](double v) { return std::floor(v / step) * step + step / 2; };
  if (style == Qt::HorPattern || style == Qt::CrossPattern)
    for (double y = first(box.top()); y <= box.bottom(); y += step)
      m_painter->drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
  if (style == Qt::VerPattern || style == Qt::CrossPattern)
    for (double x = first(box.left()); x <= box.right(); x += step)
      m_painter->drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
  // Diagonals: x - y constant runs down to the right, x + y constant up.
  const double h = box.height();
  if (style == Qt::FDiagPattern || style == Qt::DiagCrossPattern)
    for (double c = first(box.left() - box.bottom()); c <= box.right() - box.top(); c += step)
      m_painter->drawLine(QPointF(c + box.top(), box.top()), QPointF(c + box.top() + h, box.bottom()));
  if (style == Qt::BDiagPattern || style == Qt::DiagCrossPattern)
    for (double c = first(box.left() + box.top()); c <= box.right() + box.bottom(); c += step)
      m_painter->drawLine(QPointF(c - box.top(), box.top()), QPointF(c - box.top() - h, box.bottom()));
  m_painter->restore();
}

void TQtPageDevice::StrokePath(const QPainterPath& path)
{
  const QPen pen = DevicePen();
  // A vector file keeps the line as a line: smaller, and still a stroke for
  // whoever edits the file later. Exclusive-or drawing never goes there.
  if (m_vector) {
    m_painter->strokePath(path, pen);
    return;
  }
  // On pixels the outline is turned into an area and filled: Qt's own
  // one-pixel stroking draws each segment apart and leaves the corners of
  // closed outlines partly covered, while the filled outline has its joins
  // and touches every pixel once (which exclusive-or drawing needs).
  if (pen.style() != Qt::SolidLine && StrokeDashesInView(path, pen))
    return;
  QPainterPathStroker stroker(pen);
  m_painter->fillPath(stroker.createStroke(path), pen.brush());
}

bool TQtPageDevice::StrokeDashesInView(const QPainterPath& path, const QPen& pen)
{
  // Qt dashes the whole outline before anything is clipped. An outline far
  // longer than the view (a curve reaching a billion pixels out, at any
  // zoom) is cut to the view first, each piece keeping its dash phase.
  const QPaintDevice* device = m_painter->device();
  const QRectF deviceView = m_pictureArea ? m_baseTransform.mapRect(*m_pictureArea)
                                          : QRectF(0, 0, device->width(), device->height());
  QRectF view = m_painter->combinedTransform().inverted().mapRect(deviceView);
  if (m_painter->hasClipping())
    view &= m_painter->clipBoundingRect();
  const double margin = pen.widthF() + 2;
  view.adjust(-margin, -margin, margin, margin);
  const QRectF bounds = path.controlPointRect();
  if (bounds.width() + bounds.height() <= 4 * (view.width() + view.height()))
    return false;
  const double unit = std::max(1.0, pen.widthF()); // dash lengths are in pen widths
  for (const QPolygonF& polygon : path.toSubpathPolygons()) {
    for (const ViewRun& run : ClipToView(polygon, view)) {
      QPen piece = pen;
      piece.setDashOffset(pen.dashOffset() + run.before / unit);
      QPainterPath part;
      part.addPolygon(run.points);
      QPainterPathStroker stroker(piece);
      m_painter->fillPath(stroker.createStroke(part), pen.brush());
    }
  }
  return true;
}

void TQtPageDevice::DrawClosed(const QRectF& box, const std::function<QPainterPath(const QRectF&)>& shape)
{
  // With a pen the fill stops at the pen's centre line and the pen covers
  // the rest; without one the fill covers the whole box.
  const QPainterPath outline = shape(StrokeBox(box));
  DrawShape(HasPen() ? outline : shape(box), outline);
}

void TQtPageDevice::Rectangle(int32_t l, int32_t t, int32_t r, int32_t b)
{
  DrawClosed(DeviceBox(l, t, r, b), [](const QRectF& box) {
    QPainterPath path;
    path.addRect(box);
    return path;
  });
}

void TQtPageDevice::RoundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW, int32_t cornerH)
{
  const double rx = std::abs(cornerW * ScaleX()) / 2;
  const double ry = std::abs(cornerH * ScaleY()) / 2;
  DrawClosed(DeviceBox(l, t, r, b), [rx, ry](const QRectF& box) {
    QPainterPath path;
    path.addRoundedRect(box, rx, ry);
    return path;
  });
}

void TQtPageDevice::Ellipse(int32_t l, int32_t t, int32_t r, int32_t b)
{
  DrawClosed(DeviceBox(l, t, r, b), [](const QRectF& box) {
    QPainterPath path;
    path.addEllipse(box);
    return path;
  });
}

void TQtPageDevice::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
  const TPoint points[2] = {{x1, y1}, {x2, y2}};
  Polyline(points, 2);
}

void TQtPageDevice::Polyline(const TPoint* points, int32_t count)
{
  if (!m_painter || count < 2 || !HasPen())
    return;
  QPainterPath path;
  const QPolygonF line = StrokePoints(points, count, true);
  if (!m_vector && m_rop == R2_COPYPEN_) {
    // Pixels need only what they can show. A line that had far more points
    // than pixels is a tangle whose outline would take the stroker ages to
    // build and fill; Qt's own stroking draws it in one pass.
    const QPen pen = DevicePen();
    const QPolygonF thin = ThinForPixels(line, pen.widthF());
    if (thin.size() != line.size()) {
      m_painter->save();
      if (IsTangle(line, pen.widthF())) {
        // Solid wherever it goes: filled column by column.
        for (const QRectF& column : TangleColumns(thin, pen.widthF()))
          m_painter->fillRect(column, pen.brush());
      } else {
        m_painter->setPen(pen);
        m_painter->setBrush(Qt::NoBrush);
        m_painter->drawPolyline(thin);
      }
      m_painter->restore();
      return;
    }
  }
  path.addPolygon(line);
  StrokePath(path);
}

void TQtPageDevice::Polygon(const TPoint* points, int32_t count)
{
  if (count < 1)
    return;
  QPainterPath outline;
  outline.setFillRule(Qt::OddEvenFill);
  outline.addPolygon(StrokePoints(points, count, false));
  outline.closeSubpath();
  if (HasPen()) {
    DrawShape(outline, outline);
    return;
  }
  QPolygonF area;
  area.reserve(count);
  for (int32_t i = 0; i < count; ++i)
    area << ToDevice(points[i].x, points[i].y);
  QPainterPath fill;
  fill.setFillRule(Qt::OddEvenFill);
  fill.addPolygon(area);
  fill.closeSubpath();
  DrawShape(fill, outline);
}

QPainterPath TQtPageDevice::ArcPath(ArcKind kind, const QRectF& box, const QPointF& from, const QPointF& to)
{
  const double startAngle = ArcAngle(box, from);
  // Counter-clockwise from the start to the end; the same point twice is the
  // whole ellipse.
  double sweep = 360.0;
  if (from != to) {
    sweep = std::fmod(ArcAngle(box, to) - startAngle, 360.0);
    if (sweep <= 0)
      sweep += 360.0;
  }
  QPainterPath path;
  if (kind == ArcKind::kPie)
    path.moveTo(box.center());
  else
    path.arcMoveTo(box, startAngle);
  path.arcTo(box, startAngle, sweep);
  if (kind != ArcKind::kOpen)
    path.closeSubpath();
  return path;
}

void TQtPageDevice::DrawArcShape(ArcKind kind, int32_t l, int32_t t, int32_t r, int32_t b, TPoint start,
                                 TPoint end)
{
  const QRectF box = DeviceBox(l, t, r, b);
  const QPointF from = ToDevice(start.x, start.y);
  const QPointF to = ToDevice(end.x, end.y);
  if (kind == ArcKind::kOpen) {
    const QBrush none(Qt::NoBrush);
    DrawShape(QPainterPath(), ArcPath(kind, StrokeBox(box), from, to), &none);
    return;
  }
  DrawClosed(box, [kind, from, to](const QRectF& frame) { return ArcPath(kind, frame, from, to); });
}

void TQtPageDevice::Pie(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end)
{
  DrawArcShape(ArcKind::kPie, l, t, r, b, start, end);
}

void TQtPageDevice::Chord(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end)
{
  DrawArcShape(ArcKind::kChord, l, t, r, b, start, end);
}

void TQtPageDevice::Arc(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end)
{
  DrawArcShape(ArcKind::kOpen, l, t, r, b, start, end);
}

void TQtPageDevice::FillRect(int32_t l, int32_t t, int32_t r, int32_t b, const TBrush* brush)
{
  QPainterPath fill;
  fill.addRect(DeviceBox(l, t, r, b));
  const QBrush handle = brush ? brush->GetHandle() : m_brush;
  DrawShape(fill, QPainterPath(), &handle);
}

bool TQtPageDevice::SetPixel(int32_t x, int32_t y, uint32_t colour)
{
  if (!m_painter)
    return false;
  const QPointF p = ToDevice(x, y);
  m_painter->fillRect(QRectF(p, QSizeF(1, 1)), ToQColor(colour));
  return m_painter->window().contains(p.toPoint());
}

void TQtPageDevice::DrawEdge(int32_t l, int32_t t, int32_t r, int32_t b)
{
  if (!m_painter)
    return;
  const QRect box = DeviceBox(l, t, r, b).toRect();
  for (const EdgeBand& band : EtchedEdge(box.x(), box.y(), box.width(), box.height()))
    m_painter->fillRect(band.x, band.y, band.width, band.height,
                        QColor::fromRgb(band.shadow ? kEdgeShadowRgb : kEdgeHighlightRgb));
}

void TQtPageDevice::DrawImage(int32_t l, int32_t t, int32_t r, int32_t b, const QImage& image,
                              const int32_t* source)
{
  if (!m_painter || image.isNull())
    return;
  const QRectF from =
      source ? QRectF(QPointF(source[0], source[1]), QPointF(source[2], source[3])) : QRectF(image.rect());
  m_painter->save();
  m_painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
  m_painter->drawImage(DeviceBox(l, t, r, b), image, from);
  m_painter->restore();
}

// ---- text ----

void TQtPageDevice::GetTextExtent(std::string_view utf8, int32_t& width, int32_t& height)
{
  MeasureText(m_font, utf8, width, height);
}

void TQtPageDevice::TextOut(int32_t x, int32_t y, std::string_view utf8, const int32_t* clipLtrb,
                            uint32_t options)
{
  if (!m_painter)
    return;
  const ShapedLine line(ToQString(utf8), m_font);
  const QFontMetricsF metrics(m_font);
  const double width = line.Width();
  const double ascent = metrics.ascent();
  const double descent = metrics.descent();

  // Offsets from the anchor in logical units along the text direction.
  double dx = 0;
  if ((m_textAlign & TA_CENTER_) == TA_CENTER_)
    dx = -width / 2;
  else if (m_textAlign & TA_RIGHT_)
    dx = -width;
  double baseline = ascent;
  if ((m_textAlign & TA_BASELINE_) == TA_BASELINE_)
    baseline = 0;
  else if (m_textAlign & TA_BOTTOM_)
    baseline = -descent;

  m_painter->save();
  if (clipLtrb) {
    const QRectF clip = DeviceBox(clipLtrb[0], clipLtrb[1], clipLtrb[2], clipLtrb[3]);
    if (options & ETO_OPAQUE_)
      m_painter->fillRect(clip, m_bkColour);
    if (options & ETO_CLIPPED_)
      m_painter->setClipRect(clip, Qt::IntersectClip);
  }
  // The painter's own background filling is off: the text cell is filled
  // here, turned with the text.
  m_painter->setBackgroundMode(Qt::TransparentMode);
  const QPointF anchor = ToDevice(x, y);
  QTransform transform;
  transform.translate(anchor.x(), anchor.y());
  transform.rotate(-m_escapement);
  transform.scale(ScaleX(), ScaleY());
  m_painter->setTransform(transform, true);
  if (m_bkMode == OPAQUE_) {
    // As a path: Qt's own turned rectangles depend on where the device
    // begins, paths do not.
    QPainterPath cell;
    cell.addRect(QRectF(dx, baseline - ascent, width, ascent + descent));
    m_painter->fillPath(cell, m_bkColour);
  }
  m_painter->setFont(m_font);
  m_painter->setPen(m_textColour);
  line.Draw(*m_painter, QPointF(dx, baseline));
  m_painter->restore();
}
