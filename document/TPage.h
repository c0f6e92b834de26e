#pragma once

#include "TBrush.h"
#include "TFont.h"
#include "TPageDevice.h"
#include "TPoint.h"
#include "TRect.h"
#include "TStreamable.h"

#include <cstdint>
#include <memory>
#include <string_view>

class QImage;
class TData;
class TPen;

// The page of a document and the surface everything draws through.
//
// The page side holds paper size, units, zoom, layer masks, scrolling and
// the visible size. The device side binds the page to a drawing backend
// (a QPainter on a window cache, an image, a printer, a PDF or SVG generator,
// or a metafile recorder), maps logical units to device pixels with the zoom,
// shifts everything by the origin offset and offers the drawing primitives
// that objects call. Drawing while unbound does nothing.
class TPage : public TStreamable
{
public:
  static constexpr int32_t kVersion = 1;
  // Window and viewport extents are kept within this bound by halving.
  static constexpr int32_t kMaxExtent = 30000;

  // How a device was bound; decides how it is released.
  enum Kind : int32_t {
    kUnbound = 0,
    kWindowClient = 1,
    kWindowWhole = 2,
    kCreated = 3,
    kCreatedInfo = 4,
    kPaint = 5,
    kMetafile = 6,
    kPrinter = 7,
    kMemory = 8,
  };

  // Number formats of the page.
  enum NumberFormat : uint16_t {
    kFormatDecimal = 6,
    kFormatInches = 31,
    kFormatFeetInches = 30,
  };

  TPage();
  TPage(const TPage& other);            // page data only; the copy is unbound
  TPage& operator=(const TPage& other); // page data only; binding unchanged
  ~TPage() override;

  // The "TPage" record (defaults file).
  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;

  // The document's "VEKT Papier" line (version -3); reading accepts every
  // older layout and applies defaults first.
  void WritePaperSection(TOutStream& os) const;
  void ReadPaperSection(TInStream& is, bool present);
  void CopyPaperSettings(const TPage& from);

  // ---- page data ----
  int32_t GetPaperSizeCode() const { return m_paperSizeCode; }
  void SetPaperSizeCode(int32_t v) { m_paperSizeCode = v; }
  int32_t GetOrientation() const { return m_orientation; }
  void SetOrientation(int32_t v) { m_orientation = v; }
  int32_t GetUnitsPerInch() const { return m_unitsPerInch; }
  void SetUnitsPerInch(int32_t n); // ignored unless n > 0; re-applies the zoom
  int32_t GetZoom() const { return m_zoom; }
  void SetZoom(int32_t percent); // clamps to 1..1000 and recomputes the mapping
  int32_t GetExtentDivisor() const { return m_extentDivisor; }
  float GetUnitFactor() const { return m_unitFactor; }
  void SetUnitFactor(float f) { m_unitFactor = f; }
  int32_t GetDecimals() const { return m_decimals; }
  void SetDecimals(int32_t d) { m_decimals = d; }
  uint16_t GetNumberFormat() const { return m_numberFormat; }
  void SetNumberFormat(uint16_t f) { m_numberFormat = f; }
  int32_t GetUseResolution() const { return m_useResolution; }
  void SetUseResolution(int32_t v) { m_useResolution = v; }
  uint16_t GetVisibleLayers() const { return m_visibleLayers; }
  void SetVisibleLayers(uint16_t m) { m_visibleLayers = m; }
  uint16_t GetDrawingLayers() const { return m_drawingLayers; }
  void SetDrawingLayers(uint16_t m) { m_drawingLayers = m; }
  uint16_t GetProtectedLayers() const { return m_protectedLayers; }
  void SetProtectedLayers(uint16_t m) { m_protectedLayers = m; }
  void GetOrigin(int32_t& x, int32_t& y) const
  {
    x = m_originX;
    y = m_originY;
  }
  void SetOrigin(int32_t x, int32_t y)
  {
    m_originX = x;
    m_originY = y;
  }
  void GetPixelsPerInch(int32_t& x, int32_t& y) const
  {
    x = m_pixelsPerInchX;
    y = m_pixelsPerInchY;
  }
  void SetPixelsPerInch(int32_t x, int32_t y); // re-applies the zoom
  void GetPaperSize(int32_t& w, int32_t& h) const
  {
    w = m_paperWidth;
    h = m_paperHeight;
  }
  int32_t GetPaperWidth() const { return m_paperWidth; }
  int32_t GetPaperHeight() const { return m_paperHeight; }
  void SetPaperSize(int32_t w, int32_t h); // re-applies the zoom
  void GetScroll(int32_t& x, int32_t& y) const
  {
    x = m_scrollX;
    y = m_scrollY;
  }
  int32_t GetScrollX() const { return m_scrollX; }
  int32_t GetScrollY() const { return m_scrollY; }
  void SetScroll(int32_t x, int32_t y); // re-applies the window origin
  void GetViewSize(int32_t& w, int32_t& h) const
  {
    w = m_viewWidth;
    h = m_viewHeight;
  }
  int32_t GetViewWidth() const { return m_viewWidth; }
  int32_t GetViewHeight() const { return m_viewHeight; }
  void SetViewSize(int32_t w, int32_t h)
  {
    m_viewWidth = w;
    m_viewHeight = h;
  }
  void GetScrollStep(int32_t& x, int32_t& y) const
  {
    x = m_scrollStepX;
    y = m_scrollStepY;
  }
  void SetScrollStep(int32_t x, int32_t y)
  {
    m_scrollStepX = x;
    m_scrollStepY = y;
  }
  uint16_t GetSizeMode() const { return m_sizeMode; }
  void SetSizeMode(uint16_t m) { m_sizeMode = m; }
  // The interactive mode running (a TrackObject mode, 0 when none); objects
  // may draw differently while dragged.
  uint16_t GetDragMode() const { return m_dragMode; }
  void SetDragMode(uint16_t m) { m_dragMode = m; }
  // An explicit clip area in logical units (used by RectVisible too); it
  // limits the bound device as well. Release drops it.
  void SetClipRect(const TRect* r);
  bool GetClipRect(TRect& r) const;
  // For a paint binding: the device rectangle being repainted becomes the
  // clip area, converted to logical units and moved by the scroll position.
  void SetPaintClipFromDevice(int32_t l, int32_t t, int32_t r, int32_t b);

  // ---- conversions ----
  // Logical length to device pixels and back with the current mapping (a
  // rounded multiply-divide by the viewport and window extents, which are
  // kept up to date whether or not a device is bound).
  int32_t ToDeviceX(int32_t v) const;
  int32_t ToDeviceY(int32_t v) const;
  int32_t ToLogicalX(int32_t v) const;
  int32_t ToLogicalY(int32_t v) const;
  // Point conversions between page coordinates and device (window) pixels,
  // allowing for scroll position and origin offset.
  void PageToDevice(int32_t x, int32_t y, int32_t& dx, int32_t& dy) const;
  void DeviceToPage(int32_t dx, int32_t dy, int32_t& x, int32_t& y) const;

  // ---- binding ----
  // Binds the page to the device it draws through from now on (a Qt paint
  // device through BindPage of the output library, the metafile recorder);
  // the page owns it until Release.
  bool BindBackend(std::unique_ptr<TPageDevice> device, int32_t kind);
  void Release();
  bool IsBound() const { return m_device != nullptr; }
  int32_t GetKind() const { return m_kind; }
  TPageDevice* Device() const { return m_device.get(); }

  // ---- work bound ----
  // Symbols shown inside symbols can ask for more drawing than any page
  // shows (each level may place the one below many times). Every member a
  // symbol instance draws spends one of kMaxNestedPaints, given anew each
  // time the page is bound to a device; false once they are spent, and
  // NestedPaintLimited then says the paint left something out.
  static constexpr int64_t kMaxNestedPaints = int64_t{1} << 20;
  bool SpendNestedPaint();
  bool NestedPaintLimited() const { return m_nestedPaints > kMaxNestedPaints; }

  // ---- structure ----
  // Paints object as one piece of the drawing (see TPageDevice: devices
  // that keep the structure gather what it draws under its name).
  bool PaintObject(TData& object, uint8_t mode);
  // The layer (one bit) painted from now on.
  void BeginLayer(uint16_t layer);
  // A symbol instance whose members draw relative to (x, y) in page
  // coordinates; EndSymbol follows kDefine.
  TPageDevice::SymbolUse BeginSymbol(std::string_view name, int32_t x, int32_t y);
  void EndSymbol();

  // ---- visible area ----
  bool RectVisible(const TRect& r) const;

  // ---- attributes ----
  void SelectPen(const TPen& pen);
  void SelectBrush(const TBrush& brush);
  void SelectFont(const TFont& font);
  void RestoreDefaults(); // default pen, brush and font, text alignment 0
  void SetTextColor(uint32_t colour);
  void SetTextAlign(uint32_t align);
  void SetBkMode(int32_t mode);
  void SetBkColor(uint32_t colour);
  void SetROP2(int32_t rop);

  // ---- drawing ----
  void Rectangle(const TRect& r);
  void RoundRect(const TRect& r, int32_t rx, int32_t ry);
  void Ellipse(const TRect& r);
  void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void Polygon(const TPoint* points, int32_t count);
  void Polyline(const TPoint* points, int32_t count);
  // Angles in degrees, counter-clockwise from the positive x axis; equal
  // radial points give the whole ellipse.
  void Pie(const TRect& r, double startAngle, double endAngle);
  void Chord(const TRect& r, double startAngle, double endAngle);
  void Arc(const TRect& r, double startAngle, double endAngle);
  // Fills (x1, y1)-(x2 + 1, y2 + 1): both corners are inside.
  void FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const TBrush* brush = nullptr);
  // Fills the rectangle widened by one unit on every side.
  void FillRectBrush(const TRect& r, const TBrush& brush);
  bool SetPixel(int32_t x, int32_t y, uint32_t colour);
  // At most n bytes of UTF-8 text (all when n is not between 1 and the length).
  void TextOut(int32_t x, int32_t y, std::string_view text, int32_t n = -1);
  void ExtTextOut(int32_t x, int32_t y, std::string_view text, const TRect* clip, uint32_t options);
  // Measures with the selected font, bound or not (unbound it is the font
  // last given to SelectFont); (0, 0) for an empty text.
  void GetTextExtent(std::string_view text, int32_t& width, int32_t& height, int32_t n = -1);
  void DrawEdge(const TRect& r);
  // Draws the part source of image (the whole image when null, in image
  // pixels) stretched over the page rectangle dest.
  void DrawImage(const TRect& dest, const QImage& image, const TRect* source = nullptr);
  // Hands the whole curve to devices that keep curves; false when the
  // caller is to draw its samples.
  bool QuadraticCurve(TPoint start, TPoint control, TPoint end);
  // Check and radio boxes: shape 3840 an ellipse (crossed: a filled inner one),
  // anything else a rectangle (crossed: its diagonals).
  void DrawMarker(const TRect& r, int32_t shape, bool crossed);

  // The start and end radial points used by Pie, Chord and Arc: 200 units
  // from the rectangle's centre at the given angle, rounded half away from zero.
  static TPoint RadialPoint(const TRect& r, double angleDegrees);

protected:
  // Applies the zoom mapping to the bound device.
  void ApplyMapping();

private:
  void CopyData(const TPage& o);
  bool Attach(std::unique_ptr<TPageDevice> device, int32_t kind);
  void ComputeMapping();
  TRect Moved(const TRect& r) const;
  TPoint Moved(int32_t x, int32_t y) const;
  void ApplyClip();

  // page data
  int32_t m_paperSizeCode = 1;
  int32_t m_orientation = 1;
  int32_t m_unitsPerInch = 100;
  int32_t m_zoom = 100;
  int32_t m_extentDivisor = 1;
  float m_unitFactor = 0.01f;
  int32_t m_decimals = 2;
  uint16_t m_numberFormat = kFormatDecimal;
  int32_t m_useResolution = 0;
  uint16_t m_visibleLayers = 0xFFFF;
  uint16_t m_drawingLayers = 0xFFFF;
  uint16_t m_protectedLayers = 0;
  int32_t m_originX = 0, m_originY = 0;
  int32_t m_pixelsPerInchX = 100, m_pixelsPerInchY = 100;
  int32_t m_paperWidth = 800, m_paperHeight = 1000;
  int32_t m_scrollX = 0, m_scrollY = 0;
  int32_t m_viewWidth = 800, m_viewHeight = 1000;
  int32_t m_scrollStepX = 20, m_scrollStepY = 20;
  bool m_clipActive = false;
  TRect m_clipRect;
  uint16_t m_sizeMode = 0;
  uint16_t m_dragMode = 0;
  int64_t m_nestedPaints = 0;

  // device side
  std::unique_ptr<TPageDevice> m_device;
  int32_t m_kind = kUnbound;
  // What is selected, kept for measuring while unbound and for DrawMarker,
  // which draws with the text colour and then puts the brush back.
  TBrush m_brush;
  TFont m_font;
  uint32_t m_textColour = 0;
  // mapping actually applied (for conversions)
  int32_t m_windowExtX = 800, m_windowExtY = 1000;
  int32_t m_viewportExtX = 800, m_viewportExtY = 1000;
};

// The process-wide default page: 800 x 1000 units, factor 1.0, no decimals;
// new documents copy its paper settings.
TPage& DefaultPage();
