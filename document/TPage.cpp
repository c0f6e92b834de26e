#include "TPage.h"

#include "ClassTable.h"
#include "Geometry.h"
#include "TData.h"
#include "TPen.h"
#include "TextMetrics.h"

#include <QImage>

#include <algorithm>
#include <new>

namespace {

// Paper defaults of a document without (or with an old) "VEKT Papier" line.
constexpr int32_t kDefaultPaperWidth = 800;
constexpr int32_t kDefaultPaperHeight = 1000;
constexpr float kDefaultUnitFactor = 0.01f;
constexpr int32_t kDefaultDecimals = 2;
constexpr int32_t kDefaultUnitsPerInch = 100;
constexpr int32_t kPaperSectionVersion = -3;

// Radial points of pies and arcs lie this far from the centre.
constexpr int32_t kRadialDistance = 200;

// Shape id of round markers (radio buttons).
constexpr int32_t kRoundMarker = 3840;

// At most n bytes of text, all when n is not between 1 and the length; a
// cut never splits a UTF-8 character.
std::string_view FirstBytes(std::string_view text, int32_t n)
{
  if (n < 1 || static_cast<size_t>(n) >= text.size())
    return text;
  size_t end = static_cast<size_t>(n);
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
    --end;
  return text.substr(0, end);
}

// The caller's points, or a copy moved by the origin offset; empty (draw
// nothing) when the copy cannot be made.
class MovedPoints
{
public:
  MovedPoints(const TPoint* points, int32_t count, TPoint offset) : m_points(points)
  {
    if (offset.x == 0 && offset.y == 0)
      return;
    m_copy.reset(new (std::nothrow) TPoint[static_cast<size_t>(count)]);
    m_points = m_copy.get();
    for (int32_t i = 0; m_copy && i < count; ++i)
      m_copy[i] = {SaturateInt32(int64_t{points[i].x} + offset.x),
                   SaturateInt32(int64_t{points[i].y} + offset.y)};
  }
  const TPoint* Points() const { return m_points; }

private:
  const TPoint* m_points;
  std::unique_ptr<TPoint[]> m_copy;
};

} // namespace

TPage::TPage()
{
  classId = kTPage;
  ComputeMapping();
}

TPage::TPage(const TPage& other) : TStreamable(other)
{
  CopyData(other);
  ComputeMapping();
}

TPage& TPage::operator=(const TPage& other)
{
  if (this != &other) {
    CopyData(other);
    ApplyMapping();
  }
  return *this;
}

TPage::~TPage()
{
  Release();
}

void TPage::CopyData(const TPage& o)
{
  m_paperSizeCode = o.m_paperSizeCode;
  m_orientation = o.m_orientation;
  m_unitsPerInch = o.m_unitsPerInch;
  m_zoom = o.m_zoom;
  m_extentDivisor = o.m_extentDivisor;
  m_unitFactor = o.m_unitFactor;
  m_decimals = o.m_decimals;
  m_numberFormat = o.m_numberFormat;
  m_useResolution = o.m_useResolution;
  m_visibleLayers = o.m_visibleLayers;
  m_drawingLayers = o.m_drawingLayers;
  m_protectedLayers = o.m_protectedLayers;
  m_originX = o.m_originX;
  m_originY = o.m_originY;
  m_pixelsPerInchX = o.m_pixelsPerInchX;
  m_pixelsPerInchY = o.m_pixelsPerInchY;
  m_paperWidth = o.m_paperWidth;
  m_paperHeight = o.m_paperHeight;
  m_scrollX = o.m_scrollX;
  m_scrollY = o.m_scrollY;
  m_viewWidth = o.m_viewWidth;
  m_viewHeight = o.m_viewHeight;
  m_scrollStepX = o.m_scrollStepX;
  m_scrollStepY = o.m_scrollStepY;
  m_clipActive = o.m_clipActive;
  m_clipRect = o.m_clipRect;
  m_sizeMode = o.m_sizeMode;
  m_dragMode = o.m_dragMode;
}

// ---- stored forms ----

TInStream& TPage::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTPage, version))
    return is;
  int32_t sizeCode = m_paperSizeCode, orientation = m_orientation, unitsPerInch = m_unitsPerInch;
  int32_t zoom = m_zoom, useResolution = m_useResolution, originX = m_originX, originY = m_originY;
  int32_t paperWidth = m_paperWidth, paperHeight = m_paperHeight, scrollX = m_scrollX, scrollY = m_scrollY;
  int32_t viewWidth = m_viewWidth, viewHeight = m_viewHeight;
  int32_t stepX = m_scrollStepX, stepY = m_scrollStepY;
  float factor = m_unitFactor;
  int32_t decimals = m_decimals;
  uint16_t format = m_numberFormat;
  is >> sizeCode >> orientation >> unitsPerInch >> zoom >> useResolution >> originX >> originY >>
      paperWidth >> paperHeight >> scrollX >> scrollY >> viewWidth >> viewHeight >> stepX >> stepY;
  if (version >= 1)
    is >> factor >> decimals >> format;

  m_paperSizeCode = sizeCode;
  m_orientation = orientation;
  m_useResolution = useResolution;
  m_originX = originX;
  m_originY = originY;
  m_paperWidth = paperWidth;
  m_paperHeight = paperHeight;
  m_scrollX = scrollX;
  m_scrollY = scrollY;
  m_viewWidth = viewWidth;
  m_viewHeight = viewHeight;
  m_scrollStepX = stepX;
  m_scrollStepY = stepY;
  m_unitFactor = factor;
  m_decimals = decimals;
  m_numberFormat = format;
  // Through the setters, so a damaged record cannot leave a unit size or a
  // zoom the page would never hold otherwise; the zoom also re-maps.
  SetUnitsPerInch(unitsPerInch);
  SetZoom(zoom);
  EndFirstLine(is, version, kVersion);
  return is;
}

TOutStream& TPage::Write(TOutStream& os) const
{
  WriteHeader(os, kTPage, kVersion);
  for (int32_t v : {m_paperSizeCode, m_orientation, m_unitsPerInch, m_zoom, m_useResolution, m_originX,
                    m_originY, m_paperWidth, m_paperHeight, m_scrollX, m_scrollY, m_viewWidth, m_viewHeight,
                    m_scrollStepX, m_scrollStepY})
    os << ' ' << v;
  os << ' ' << m_unitFactor << ' ' << m_decimals << ' ' << m_numberFormat << '\n';
  return os;
}

void TPage::WritePaperSection(TOutStream& os) const
{
  os << kPaperSectionVersion << ' ' << m_paperWidth << ' ' << m_paperHeight << ' ' << m_paperSizeCode << ' '
     << m_orientation << ' ' << m_unitFactor << ' ' << m_decimals << ' ' << m_unitsPerInch << ' '
     << m_numberFormat << ' ' << m_sizeMode << '\n';
}

void TPage::ReadPaperSection(TInStream& is, bool present)
{
  int32_t width = kDefaultPaperWidth, height = kDefaultPaperHeight;
  int32_t sizeCode = 1, orientation = 1;
  float factor = kDefaultUnitFactor;
  int32_t decimals = kDefaultDecimals, unitsPerInch = kDefaultUnitsPerInch;
  uint16_t format = kFormatDecimal, sizeMode = 0;
  if (present) {
    // The oldest layout starts with the width; later ones with a negative
    // version, and each version appends fields.
    int32_t first = 0;
    if (is >> first) {
      if (first >= 0) {
        width = first;
        is >> height >> sizeCode >> orientation;
      } else {
        is >> width >> height >> sizeCode >> orientation >> factor >> decimals >> unitsPerInch;
        if (first < -1)
          is >> format;
        if (first < -2)
          is >> sizeMode;
      }
    }
  }
  SetPaperSize(width, height);
  m_paperSizeCode = sizeCode;
  m_orientation = orientation;
  m_unitFactor = factor;
  m_decimals = decimals;
  SetUnitsPerInch(unitsPerInch);
  m_numberFormat = format;
  m_sizeMode = sizeMode;
}

void TPage::CopyPaperSettings(const TPage& from)
{
  m_paperSizeCode = from.m_paperSizeCode;
  m_orientation = from.m_orientation;
  m_unitFactor = from.m_unitFactor;
  m_decimals = from.m_decimals;
  m_numberFormat = from.m_numberFormat;
  m_unitsPerInch = from.m_unitsPerInch;
  SetPaperSize(from.m_paperWidth, from.m_paperHeight);
}

// ---- page data ----

void TPage::SetUnitsPerInch(int32_t n)
{
  if (n <= 0)
    return;
  m_unitsPerInch = n;
  SetZoom(m_zoom);
}

void TPage::SetZoom(int32_t percent)
{
  // A metafile keeps the paper as its window; the zoom plays no part there.
  if (m_kind != kMetafile)
    m_zoom = std::clamp(percent, 1, 1000);
  ApplyMapping();
}

void TPage::SetPixelsPerInch(int32_t x, int32_t y)
{
  m_pixelsPerInchX = x;
  m_pixelsPerInchY = y;
  ApplyMapping();
}

void TPage::SetPaperSize(int32_t w, int32_t h)
{
  m_paperWidth = w;
  m_paperHeight = h;
  ApplyMapping();
}

void TPage::SetScroll(int32_t x, int32_t y)
{
  m_scrollX = x;
  m_scrollY = y;
  ApplyMapping();
}

void TPage::SetClipRect(const TRect* r)
{
  m_clipActive = r != nullptr;
  if (r)
    m_clipRect = *r;
  ApplyClip();
}

bool TPage::GetClipRect(TRect& r) const
{
  if (m_clipActive)
    r = m_clipRect;
  return m_clipActive;
}

void TPage::SetPaintClipFromDevice(int32_t l, int32_t t, int32_t r, int32_t b)
{
  TRect clip(ToLogicalX(l), ToLogicalY(t), ToLogicalX(r), ToLogicalY(b));
  clip.Offset(m_scrollX, m_scrollY);
  SetClipRect(&clip);
}

void TPage::ApplyClip()
{
  if (!m_device)
    return;
  if (!m_clipActive) {
    m_device->SetClip(nullptr);
    return;
  }
  const int32_t ltrb[4] = {m_clipRect.left, m_clipRect.top, m_clipRect.right, m_clipRect.bottom};
  m_device->SetClip(ltrb);
}

// ---- mapping ----

void TPage::ComputeMapping()
{
  if (m_kind == kMetafile) {
    // The player supplies the viewport; logical and device units agree here.
    m_windowExtX = m_viewportExtX = std::max(m_paperWidth, 1);
    m_windowExtY = m_viewportExtY = std::max(m_paperHeight, 1);
    return;
  }
  const int64_t base = m_useResolution ? m_unitsPerInch : 100;
  int64_t wx = int64_t{m_paperWidth} * 100 / m_zoom;
  int64_t wy = int64_t{m_paperHeight} * 100 / m_zoom;
  int32_t divisor = 1;
  while (wx > kMaxExtent || wy > kMaxExtent) {
    wx /= 2;
    wy /= 2;
    divisor *= 2;
  }
  m_extentDivisor = divisor;
  m_windowExtX = std::max<int32_t>(static_cast<int32_t>(wx), 1);
  m_windowExtY = std::max<int32_t>(static_cast<int32_t>(wy), 1);
  m_viewportExtX = std::max(MulDivRound(m_paperWidth, m_pixelsPerInchX, base * divisor), 1);
  m_viewportExtY = std::max(MulDivRound(m_paperHeight, m_pixelsPerInchY, base * divisor), 1);
}

void TPage::ApplyMapping()
{
  ComputeMapping();
  if (m_device)
    m_device->SetMapping(m_scrollX, m_scrollY, m_windowExtX, m_windowExtY, m_viewportExtX, m_viewportExtY);
}

int32_t TPage::ToDeviceX(int32_t v) const
{
  return MulDivRound(v, m_viewportExtX, m_windowExtX);
}

int32_t TPage::ToDeviceY(int32_t v) const
{
  return MulDivRound(v, m_viewportExtY, m_windowExtY);
}

int32_t TPage::ToLogicalX(int32_t v) const
{
  return MulDivRound(v, m_windowExtX, m_viewportExtX);
}

int32_t TPage::ToLogicalY(int32_t v) const
{
  return MulDivRound(v, m_windowExtY, m_viewportExtY);
}

void TPage::PageToDevice(int32_t x, int32_t y, int32_t& dx, int32_t& dy) const
{
  dx = ToDeviceX(SaturateInt32(int64_t{x} + m_originX - m_scrollX));
  dy = ToDeviceY(SaturateInt32(int64_t{y} + m_originY - m_scrollY));
}

void TPage::DeviceToPage(int32_t dx, int32_t dy, int32_t& x, int32_t& y) const
{
  x = SaturateInt32(int64_t{ToLogicalX(dx)} + m_scrollX - m_originX);
  y = SaturateInt32(int64_t{ToLogicalY(dy)} + m_scrollY - m_originY);
}

// ---- binding ----

bool TPage::BindBackend(std::unique_ptr<TPageDevice> device, int32_t kind)
{
  if (!device)
    return false;
  return Attach(std::move(device), kind);
}

bool TPage::SpendNestedPaint()
{
  if (m_nestedPaints > kMaxNestedPaints)
    return false;
  return ++m_nestedPaints <= kMaxNestedPaints;
}

bool TPage::Attach(std::unique_ptr<TPageDevice> device, int32_t kind)
{
  // A page draws on one device at a time: the previous one is let go first,
  // restoring whatever it borrowed.
  Release();
  m_device = std::move(device);
  m_nestedPaints = 0;
  m_kind = kind;
  ApplyMapping();
  ApplyClip();
  m_device->SetBkMode(TRANSPARENT_);
  m_brush = TBrush();
  m_device->SelectBrush(m_brush);
  m_textColour = 0;
  return true;
}

void TPage::Release()
{
  if (!m_device)
    return;
  m_device.reset();
  m_kind = kUnbound;
  m_clipActive = false;
  ComputeMapping();
}

bool TPage::RectVisible(const TRect& r) const
{
  TRect area = m_clipActive ? m_clipRect
                            : TRect(m_scrollX, m_scrollY, SaturateInt32(int64_t{m_scrollX} + m_viewWidth),
                                    SaturateInt32(int64_t{m_scrollY} + m_viewHeight));
  area.Offset(SaturateInt32(-int64_t{m_originX}), SaturateInt32(-int64_t{m_originY}));
  return area.Intersects(r);
}

// ---- attributes ----

void TPage::SelectPen(const TPen& pen)
{
  if (m_device)
    m_device->SelectPen(pen);
}

void TPage::SelectBrush(const TBrush& brush)
{
  m_brush = brush;
  if (m_device)
    m_device->SelectBrush(brush);
}

void TPage::SelectFont(const TFont& font)
{
  m_font = font;
  if (m_device)
    m_device->SelectFont(font);
}

void TPage::RestoreDefaults()
{
  // Copies of kept defaults carry their Qt objects along.
  static const TBrush kBrush;
  static const TFont kFont;
  m_brush = kBrush;
  m_font = kFont;
  if (!m_device)
    return;
  m_device->SelectDefaults();
  m_device->SetTextAlign(0);
}

void TPage::SetTextColor(uint32_t colour)
{
  m_textColour = colour;
  if (m_device)
    m_device->SetTextColor(colour);
}

void TPage::SetTextAlign(uint32_t align)
{
  if (m_device)
    m_device->SetTextAlign(align);
}

void TPage::SetBkMode(int32_t mode)
{
  if (m_device)
    m_device->SetBkMode(mode);
}

void TPage::SetBkColor(uint32_t colour)
{
  if (m_device)
    m_device->SetBkColor(colour);
}

void TPage::SetROP2(int32_t rop)
{
  if (m_device)
    m_device->SetROP2(rop);
}

// ---- drawing ----

TRect TPage::Moved(const TRect& r) const
{
  TRect moved(r);
  moved.Offset(m_originX, m_originY);
  return moved;
}

TPoint TPage::Moved(int32_t x, int32_t y) const
{
  return {SaturateInt32(int64_t{x} + m_originX), SaturateInt32(int64_t{y} + m_originY)};
}

TPoint TPage::RadialPoint(const TRect& r, double angleDegrees)
{
  const TPoint centre = r.Center();
  return RotatePoint({SaturateInt32(int64_t{centre.x} + kRadialDistance), centre.y}, centre, angleDegrees);
}

void TPage::Rectangle(const TRect& r)
{
  if (!m_device)
    return;
  const TRect m = Moved(r);
  m_device->Rectangle(m.left, m.top, m.right, m.bottom);
}

void TPage::RoundRect(const TRect& r, int32_t rx, int32_t ry)
{
  if (!m_device)
    return;
  const TRect m = Moved(r);
  m_device->RoundRect(m.left, m.top, m.right, m.bottom, SaturateInt32(int64_t{rx} * 2),
                      SaturateInt32(int64_t{ry} * 2));
}

void TPage::Ellipse(const TRect& r)
{
  if (!m_device)
    return;
  const TRect m = Moved(r);
  m_device->Ellipse(m.left, m.top, m.right, m.bottom);
}

void TPage::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
  if (!m_device)
    return;
  const TPoint a = Moved(x1, y1);
  const TPoint b = Moved(x2, y2);
  m_device->Line(a.x, a.y, b.x, b.y);
}

void TPage::Polygon(const TPoint* points, int32_t count)
{
  if (!m_device || !points || count < 1)
    return;
  const MovedPoints moved(points, count, {m_originX, m_originY});
  if (moved.Points())
    m_device->Polygon(moved.Points(), count);
}

void TPage::Polyline(const TPoint* points, int32_t count)
{
  if (!m_device || !points || count < 1)
    return;
  const MovedPoints moved(points, count, {m_originX, m_originY});
  if (moved.Points())
    m_device->Polyline(moved.Points(), count);
}

void TPage::Pie(const TRect& r, double startAngle, double endAngle)
{
  if (!m_device)
    return;
  const TRect m = Moved(r);
  m_device->Pie(m.left, m.top, m.right, m.bottom, RadialPoint(m, startAngle), RadialPoint(m, endAngle));
}

void TPage::Chord(const TRect& r, double startAngle, double endAngle)
{
  if (!m_device)
    return;
  const TRect m = Moved(r);
  m_device->Chord(m.left, m.top, m.right, m.bottom, RadialPoint(m, startAngle), RadialPoint(m, endAngle));
}

void TPage::Arc(const TRect& r, double startAngle, double endAngle)
{
  if (!m_device)
    return;
  const TRect m = Moved(r);
  m_device->Arc(m.left, m.top, m.right, m.bottom, RadialPoint(m, startAngle), RadialPoint(m, endAngle));
}

void TPage::FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const TBrush* brush)
{
  if (!m_device)
    return;
  const TPoint a = Moved(x1, y1);
  const TPoint b = Moved(x2, y2);
  m_device->FillRect(a.x, a.y, SaturateInt32(int64_t{b.x} + 1), SaturateInt32(int64_t{b.y} + 1), brush);
}

void TPage::FillRectBrush(const TRect& r, const TBrush& brush)
{
  if (!m_device)
    return;
  TRect m = Moved(r);
  m.Inflate(1);
  m_device->FillRect(m.left, m.top, m.right, m.bottom, &brush);
}

bool TPage::QuadraticCurve(TPoint start, TPoint control, TPoint end)
{
  return m_device &&
         m_device->QuadraticCurve(Moved(start.x, start.y), Moved(control.x, control.y), Moved(end.x, end.y));
}

bool TPage::PaintObject(TData& object, uint8_t mode)
{
  if (!m_device)
    return object.Paint(this, mode);
  m_device->BeginObject(object);
  const bool painted = object.Paint(this, mode);
  m_device->EndObject();
  return painted;
}

void TPage::BeginLayer(uint16_t layer)
{
  m_drawingLayers = layer;
  if (m_device)
    m_device->BeginLayer(layer);
}

TPageDevice::SymbolUse TPage::BeginSymbol(std::string_view name, int32_t x, int32_t y)
{
  if (!m_device)
    return TPageDevice::SymbolUse::kDrawMembers;
  const TPoint at = Moved(x, y);
  return m_device->BeginSymbol(name, m_drawingLayers, at.x, at.y);
}

void TPage::EndSymbol()
{
  if (m_device)
    m_device->EndSymbol();
}

bool TPage::SetPixel(int32_t x, int32_t y, uint32_t colour)
{
  if (!m_device)
    return false;
  const TPoint p = Moved(x, y);
  return m_device->SetPixel(p.x, p.y, colour);
}

void TPage::TextOut(int32_t x, int32_t y, std::string_view text, int32_t n)
{
  if (!m_device)
    return;
  const TPoint p = Moved(x, y);
  m_device->TextOut(p.x, p.y, FirstBytes(text, n), nullptr, 0);
}

void TPage::ExtTextOut(int32_t x, int32_t y, std::string_view text, const TRect* clip, uint32_t options)
{
  if (!m_device)
    return;
  const TPoint p = Moved(x, y);
  if (!clip) {
    m_device->TextOut(p.x, p.y, text, nullptr, options);
    return;
  }
  const TRect m = Moved(*clip);
  const int32_t ltrb[4] = {m.left, m.top, m.right, m.bottom};
  m_device->TextOut(p.x, p.y, text, ltrb, options);
}

void TPage::GetTextExtent(std::string_view text, int32_t& width, int32_t& height, int32_t n)
{
  const std::string_view part = FirstBytes(text, n);
  width = height = 0;
  if (part.empty())
    return;
  if (m_device)
    m_device->GetTextExtent(part, width, height);
  else
    MeasureText(TextFont(m_font), part, width, height);
}

void TPage::DrawEdge(const TRect& r)
{
  if (!m_device)
    return;
  const TRect m = Moved(r);
  m_device->DrawEdge(m.left, m.top, m.right, m.bottom);
}

void TPage::DrawImage(const TRect& dest, const QImage& image, const TRect* source)
{
  if (!m_device || image.isNull())
    return;
  TRect part(0, 0, image.width(), image.height());
  if (source) {
    // Only pixels the image has can be shown.
    part = TRect(std::max(source->left, 0), std::max(source->top, 0), std::min(source->right, part.right),
                 std::min(source->bottom, part.bottom));
  }
  if (part.IsEmpty())
    return;
  const TRect m = Moved(dest);
  const int32_t from[4] = {part.left, part.top, part.right, part.bottom};
  m_device->DrawImage(m.left, m.top, m.right, m.bottom, image, from);
}

void TPage::DrawMarker(const TRect& r, int32_t shape, bool crossed)
{
  if (shape == kRoundMarker) {
    Ellipse(r);
    if (!crossed)
      return;
    TRect dot(r);
    dot.Deflate(3);
    TBrush fill;
    fill.SetStyle(TBrush::kSolid);
    fill.SetColor(m_textColour);
    const TBrush previous = m_brush;
    SelectBrush(fill);
    Ellipse(dot);
    SelectBrush(previous);
    return;
  }
  Rectangle(r);
  if (!crossed)
    return;
  Line(r.left, r.top, r.right - 1, r.bottom - 1);
  Line(r.left, r.bottom - 1, r.right - 1, r.top);
}

TPage& DefaultPage()
{
  static TPage page = [] {
    TPage p;
    p.SetPaperSize(800, 1000);
    p.SetDecimals(0);
    p.SetUnitFactor(1.0f);
    return p;
  }();
  return page;
}
