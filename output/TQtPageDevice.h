#pragma once

#include "DeviceMapping.h"
#include "TPageDevice.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

class QPainter;
class QPaintDevice;

// The page backend over a QPainter on any paint device (an image, the view's
// page cache, a printer, a PDF or SVG generator).
//
// Logical coordinates are mapped to device pixels here and rounded, as the
// platform the page conventions come from does, so edges land on whole
// pixels at every zoom and antialiasing only softens slanted and curved
// edges. Shapes are then built in device space: fills cover [left, right) x
// [top, bottom), a pen's centre line runs through the centres of the edge
// pixels, and an inside-frame pen is moved inwards by half its width. Pens
// and hatches are therefore sized in device pixels where the platform does
// so (hairlines, cosmetic dashes, 8-pixel hatch patterns), and text is drawn
// under a transform so that it scales exactly with the zoom.
class TQtPageDevice final : public TPageDevice
{
public:
  // Opens a painter of its own on device; IsActive tells whether it can paint.
  explicit TQtPageDevice(QPaintDevice* device);
  // Borrows painter: its state is saved now and restored by the destructor.
  explicit TQtPageDevice(QPainter* painter);
  ~TQtPageDevice() override;
  TQtPageDevice(const TQtPageDevice&) = delete;
  TQtPageDevice& operator=(const TQtPageDevice&) = delete;

  bool IsActive() const;

  // The whole picture this device draws a part of (a band of it), in the
  // coordinates of the painter as it was at binding, when that is more than
  // the device: a long dashed outline is cut to the picture, not to the
  // device, so that every part of the picture cuts it alike.
  void SetPictureArea(const QRectF& area);

  // Dash lengths in pixels of the one-pixel styled pens (dash, dot,
  // dash-dot, dash-dot-dot), the pattern every thin styled line is drawn
  // with; anything else gets the dash-dot-dot pattern.
  static QList<qreal> DashPattern(uint32_t style);

  void SetMapping(int32_t windowOrgX, int32_t windowOrgY, int32_t windowExtX, int32_t windowExtY,
                  int32_t viewportExtX, int32_t viewportExtY) override;
  void SetClip(const int32_t* ltrb) override;

  void SelectPen(const TPen& pen) override;
  void SelectBrush(const TBrush& brush) override;
  void SelectFont(const TFont& font) override;
  void SelectDefaults() override;
  void SetTextColor(uint32_t colour) override;
  void SetBkColor(uint32_t colour) override;
  void SetBkMode(int32_t mode) override;
  void SetTextAlign(uint32_t align) override;
  void SetROP2(int32_t rop) override;

  void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override;
  void RoundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW, int32_t cornerH) override;
  void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override;
  void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void Polygon(const TPoint* points, int32_t count) override;
  void Polyline(const TPoint* points, int32_t count) override;
  void Pie(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end) override;
  void Chord(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end) override;
  void Arc(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end) override;
  void FillRect(int32_t l, int32_t t, int32_t r, int32_t b, const TBrush* brush) override;
  bool SetPixel(int32_t x, int32_t y, uint32_t colour) override;
  void TextOut(int32_t x, int32_t y, std::string_view utf8, const int32_t* clipLtrb,
               uint32_t options) override;
  void GetTextExtent(std::string_view utf8, int32_t& width, int32_t& height) override;
  void DrawEdge(int32_t l, int32_t t, int32_t r, int32_t b) override;
  void DrawImage(int32_t l, int32_t t, int32_t r, int32_t b, const QImage& image,
                 const int32_t* source) override;

private:
  enum class ArcKind { kPie, kChord, kOpen };

  void Begin();
  // The one place where logical coordinates become device pixels.
  QPointF ToDevice(int32_t x, int32_t y) const;
  double ScaleX() const;
  double ScaleY() const;
  // Device rectangle of a logical one, normalised: the area a fill covers.
  QRectF DeviceBox(int32_t l, int32_t t, int32_t r, int32_t b) const;
  // Where the selected pen's centre line runs for a shape filling box.
  QRectF StrokeBox(const QRectF& box) const;
  // Width of the selected pen in whole device pixels (1 for hairlines).
  int PenPixels() const;
  // Dashed and dotted pens no wider than one logical unit draw as one-pixel
  // dashes of fixed pixel lengths at every zoom.
  bool CosmeticDashes() const;
  // Offset from a pixel's corner to the centre line of the selected pen.
  double PenOffset() const;
  QPen DevicePen() const;
  bool HasPen() const;
  // Fills fill with brush (the selected one when null) and strokes outline
  // with the selected pen.
  void DrawShape(const QPainterPath& fill, const QPainterPath& outline, const QBrush* brush = nullptr);
  void FillHatch(const QPainterPath& area, const QBrush& brush);
  void StrokePath(const QPainterPath& path);
  bool StrokeDashesInView(const QPainterPath& path, const QPen& pen);
  // A closed shape that shape() builds inside a box, filled and outlined.
  void DrawClosed(const QRectF& box, const std::function<QPainterPath(const QRectF&)>& shape);
  void DrawArcShape(ArcKind kind, int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end);
  // The arc of the ellipse inside box between the rays from its centre
  // through from and to.
  static QPainterPath ArcPath(ArcKind kind, const QRectF& box, const QPointF& from, const QPointF& to);
  // Points shifted onto the pen's centre line; an open hairline also covers
  // its first point and stops short of its last, as the platform draws lines.
  QPolygonF StrokePoints(const TPoint* points, int32_t count, bool open) const;
  void ApplyRop();
  void ApplyClipToPainter();

  std::unique_ptr<QPainter> m_ownPainter;
  QPainter* m_painter = nullptr;
  bool m_borrowed = false;
  // Device pixels per pixel of the reference resolution (1 on images).
  int m_pixelScale = 1;
  // Drawing into a vector file (PDF, SVG, a printer) rather than pixels.
  bool m_vector = false;
  // The borrowed painter's clip at binding; SetClip narrows it, never widens it.
  std::optional<QPainterPath> m_baseClip;
  QTransform m_baseTransform; // the borrowed painter's at binding
  std::optional<QRectF> m_pictureArea;

  // mapping
  DeviceMapping m_mapping;
  bool m_clipActive = false;
  int32_t m_clip[4] = {};

  // selected attributes
  QPen m_pen;
  uint32_t m_penStyle = 0;
  QBrush m_brush;
  QFont m_font;
  double m_escapement = 0.0; // degrees, counter-clockwise
  QColor m_textColour = Qt::black;
  QColor m_bkColour = Qt::white;
  int32_t m_bkMode = OPAQUE_;
  uint32_t m_textAlign = 0;
  int32_t m_rop = R2_COPYPEN_;
};
