#include "DisplayRecorder.h"

#include "TextMetrics.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

// Antialiasing and rounding reach a pixel or two past any geometry.
constexpr double kSlack = 4.0;

int32_t ClampRow(double y)
{
  constexpr double kLow = std::numeric_limits<int32_t>::min();
  constexpr double kHigh = std::numeric_limits<int32_t>::max();
  if (std::isnan(y))
    return 0;
  return static_cast<int32_t>(std::clamp(y, kLow, kHigh));
}

} // namespace

DisplayRecorder::DisplayRecorder(DisplayList& into, int32_t width, int32_t height)
    : m_list(into), m_width(width), m_height(height)
{
  // What a drawing device starts with.
  SetFontMetrics(TextFont(TFont()), 0.0);
}

DisplayList::Command& DisplayRecorder::Add(Op op)
{
  Command& c = m_list.m_commands.emplace_back();
  c.op = op;
  return c;
}

DisplayList::Command& DisplayRecorder::AddDrawing(Op op, int32_t y0, int32_t y1, double reach)
{
  const double a = m_mapping.ToDevice(0, y0).y();
  const double b = m_mapping.ToDevice(0, y1).y();
  return AddRows(op, std::min(a, b) - reach, std::max(a, b) + reach);
}

DisplayList::Command& DisplayRecorder::AddRows(Op op, double top, double bottom)
{
  Command& c = Add(op);
  c.top = ClampRow(std::floor(top));
  c.bottom = ClampRow(std::ceil(bottom) + 1);
  ++m_list.m_drawingCalls;
  return c;
}

double DisplayRecorder::PenReach() const
{
  const double scale = std::max(std::abs(m_mapping.ScaleX()), std::abs(m_mapping.ScaleY()));
  return m_penWidth * scale + kSlack;
}

// ---- mapping and attributes ----

void DisplayRecorder::SetMapping(int32_t windowOrgX, int32_t windowOrgY, int32_t windowExtX,
                                 int32_t windowExtY, int32_t viewportExtX, int32_t viewportExtY)
{
  m_mapping.Set(windowOrgX, windowOrgY, windowExtX, windowExtY, viewportExtX, viewportExtY);
  Command& c = Add(Op::kMapping);
  c.a[0] = windowOrgX;
  c.a[1] = windowOrgY;
  c.a[2] = windowExtX;
  c.a[3] = windowExtY;
  c.a[4] = viewportExtX;
  c.a[5] = viewportExtY;
}

void DisplayRecorder::SetClip(const int32_t* ltrb)
{
  Command& c = Add(ltrb ? Op::kClip : Op::kNoClip);
  if (ltrb)
    std::copy(ltrb, ltrb + 4, c.a);
}

void DisplayRecorder::SelectPen(const TPen& pen)
{
  // The Qt pen is made here, so that replays only read it.
  pen.GetHandle();
  m_list.m_pens.push_back(pen);
  Add(Op::kPen).index = static_cast<uint32_t>(m_list.m_pens.size() - 1);
  m_penWidth = pen.GetWidth();
}

void DisplayRecorder::SelectBrush(const TBrush& brush)
{
  brush.GetHandle();
  m_list.m_brushes.push_back(brush);
  Add(Op::kBrush).index = static_cast<uint32_t>(m_list.m_brushes.size() - 1);
}

void DisplayRecorder::SelectFont(const TFont& font)
{
  font.GetHandle();
  m_list.m_fonts.push_back(font);
  Add(Op::kFont).index = static_cast<uint32_t>(m_list.m_fonts.size() - 1);
  SetFontMetrics(TextFont(font), font.EscapementDegrees());
}

void DisplayRecorder::SetFontMetrics(const QFont& font, double escapement)
{
  m_font = font;
  m_escapement = escapement;
  const QFontMetricsF metrics(m_font);
  m_ascent = metrics.ascent();
  m_descent = metrics.descent();
}

void DisplayRecorder::SelectDefaults()
{
  Add(Op::kDefaults);
  m_penWidth = 1;
  SetFontMetrics(TextFont(TFont()), 0.0);
}

void DisplayRecorder::SetTextColor(uint32_t colour)
{
  Add(Op::kTextColour).extra = colour;
}

void DisplayRecorder::SetBkColor(uint32_t colour)
{
  Add(Op::kBkColour).extra = colour;
}

void DisplayRecorder::SetBkMode(int32_t mode)
{
  Add(Op::kBkMode).a[0] = mode;
}

void DisplayRecorder::SetTextAlign(uint32_t align)
{
  m_textAlign = align;
  Add(Op::kTextAlign).extra = align;
}

void DisplayRecorder::SetROP2(int32_t rop)
{
  Add(Op::kRop).a[0] = rop;
}

// ---- drawing ----

DisplayList::Command& DisplayRecorder::AddBox(Op op, int32_t l, int32_t t, int32_t r, int32_t b, double reach)
{
  Command& c = AddDrawing(op, t, b, reach);
  c.a[0] = l;
  c.a[1] = t;
  c.a[2] = r;
  c.a[3] = b;
  return c;
}

DisplayList::Command& DisplayRecorder::AddShape(Op op, int32_t l, int32_t t, int32_t r, int32_t b)
{
  return AddBox(op, l, t, r, b, PenReach());
}

void DisplayRecorder::Rectangle(int32_t l, int32_t t, int32_t r, int32_t b)
{
  AddShape(Op::kRectangle, l, t, r, b);
}

void DisplayRecorder::RoundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW, int32_t cornerH)
{
  Command& c = AddShape(Op::kRoundRect, l, t, r, b);
  c.a[4] = cornerW;
  c.a[5] = cornerH;
}

void DisplayRecorder::Ellipse(int32_t l, int32_t t, int32_t r, int32_t b)
{
  AddShape(Op::kEllipse, l, t, r, b);
}

void DisplayRecorder::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
  AddShape(Op::kLine, x1, y1, x2, y2);
}

void DisplayRecorder::AddPoints(Op op, const TPoint* points, int32_t count)
{
  if (!points || count <= 0)
    return;
  int32_t low = points[0].y, high = points[0].y;
  for (int32_t i = 1; i < count; ++i) {
    low = std::min(low, points[i].y);
    high = std::max(high, points[i].y);
  }
  Command& c = AddDrawing(op, low, high, PenReach());
  c.index = static_cast<uint32_t>(m_list.m_points.size());
  c.a[0] = count;
  m_list.m_points.insert(m_list.m_points.end(), points, points + count);
}

void DisplayRecorder::Polygon(const TPoint* points, int32_t count)
{
  AddPoints(Op::kPolygon, points, count);
}

void DisplayRecorder::Polyline(const TPoint* points, int32_t count)
{
  AddPoints(Op::kPolyline, points, count);
}

void DisplayRecorder::AddArc(Op op, int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end)
{
  Command& c = AddShape(op, l, t, r, b);
  c.index = static_cast<uint32_t>(m_list.m_points.size());
  m_list.m_points.push_back(start);
  m_list.m_points.push_back(end);
}

void DisplayRecorder::Pie(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end)
{
  AddArc(Op::kPie, l, t, r, b, start, end);
}

void DisplayRecorder::Chord(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end)
{
  AddArc(Op::kChord, l, t, r, b, start, end);
}

void DisplayRecorder::Arc(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end)
{
  AddArc(Op::kArc, l, t, r, b, start, end);
}

void DisplayRecorder::FillRect(int32_t l, int32_t t, int32_t r, int32_t b, const TBrush* brush)
{
  Command& c = AddBox(brush ? Op::kFillRectBrush : Op::kFillRect, l, t, r, b, kSlack);
  if (brush) {
    brush->GetHandle();
    m_list.m_brushes.push_back(*brush);
    c.index = static_cast<uint32_t>(m_list.m_brushes.size() - 1);
  }
}

bool DisplayRecorder::SetPixel(int32_t x, int32_t y, uint32_t colour)
{
  Command& c = AddDrawing(Op::kPixel, y, y, kSlack);
  c.a[0] = x;
  c.a[1] = y;
  c.extra = colour;
  const QPointF p = m_mapping.ToDevice(x, y);
  return p.x() >= 0 && p.y() >= 0 && p.x() < m_width && p.y() < m_height;
}

void DisplayRecorder::GetTextExtent(std::string_view utf8, int32_t& width, int32_t& height)
{
  MeasureText(m_font, utf8, width, height);
}

void DisplayRecorder::TextOut(int32_t x, int32_t y, std::string_view utf8, const int32_t* clipLtrb,
                              uint32_t options)
{
  // Straight text lies between its top and bottom as the alignment puts
  // them about the anchor; turned text anywhere within a box twice its
  // measured size about the anchor, turned. Both with room for glyphs
  // reaching past the font's metrics.
  const double scale = std::max(std::abs(m_mapping.ScaleX()), std::abs(m_mapping.ScaleY()));
  const double ascent = m_ascent, descent = m_descent;
  const double overshoot = (ascent + descent) / 2 * scale + kSlack;
  double above = 0, below = 0; // device pixels from the anchor
  if (m_escapement == 0.0) {
    if ((m_textAlign & TA_BASELINE_) == TA_BASELINE_) {
      above = ascent;
      below = descent;
    } else if (m_textAlign & TA_BOTTOM_) {
      above = ascent + descent;
    } else {
      below = ascent + descent;
    }
    // Device rows grow downwards unless the mapping turns the page over.
    if (m_mapping.ScaleY() < 0)
      std::swap(above, below);
    above = above * std::abs(m_mapping.ScaleY()) + overshoot;
    below = below * std::abs(m_mapping.ScaleY()) + overshoot;
  } else {
    int32_t width = 0, height = 0;
    MeasureText(m_font, utf8, width, height);
    const double angle = m_escapement * std::numbers::pi / 180.0;
    above = below =
        (std::abs(std::sin(angle)) * (width + height) + std::abs(std::cos(angle)) * 2.0 * height) * scale +
        kSlack;
  }
  const double anchor = m_mapping.ToDevice(0, y).y();
  double top = anchor - above, bottom = anchor + below;
  if (clipLtrb) {
    const double a = m_mapping.ToDevice(0, clipLtrb[1]).y();
    const double b = m_mapping.ToDevice(0, clipLtrb[3]).y();
    top = std::min({top, a - kSlack, b - kSlack});
    bottom = std::max({bottom, a + kSlack, b + kSlack});
  }
  Command& c = AddRows(Op::kText, top, bottom);
  c.a[0] = x;
  c.a[1] = y;
  if (clipLtrb) {
    std::copy(clipLtrb, clipLtrb + 4, c.a + 2);
    options |= DisplayList::kTextHasClip;
  } else {
    options &= ~DisplayList::kTextHasClip;
  }
  c.extra = options;
  c.index = static_cast<uint32_t>(m_list.m_texts.size());
  m_list.m_texts.emplace_back(utf8);
}

void DisplayRecorder::DrawEdge(int32_t l, int32_t t, int32_t r, int32_t b)
{
  AddBox(Op::kEdge, l, t, r, b, kSlack);
}

void DisplayRecorder::DrawImage(int32_t l, int32_t t, int32_t r, int32_t b, const QImage& image,
                                const int32_t* source)
{
  Command& c = AddBox(Op::kImage, l, t, r, b, kSlack);
  c.index = static_cast<uint32_t>(m_list.m_images.size());
  // Shared, not copied: the picture stays as it is while it is replayed.
  m_list.m_images.push_back(image);
  if (source) {
    c.a[4] = static_cast<int32_t>(m_list.m_points.size());
    c.a[5] = 1;
    m_list.m_points.push_back(TPoint{source[0], source[1]});
    m_list.m_points.push_back(TPoint{source[2], source[3]});
  }
}
