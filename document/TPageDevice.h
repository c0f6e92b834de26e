#pragma once

#include "TPoint.h"

#include <cstdint>
#include <string_view>

class QImage;
class TBrush;
class TData;
class TFont;
class TPen;

// The backend a TPage draws through. TPage applies the page conventions
// (origin offset, zoom mapping, radial points of pies and arcs, the "both
// corners inside" rule of FillRect) and hands the result to its device in
// logical units; the device turns those platform-neutral drawing calls into
// pixels (TQtPageDevice over any QPaintDevice) or into metafile records.
//
// Coordinates given to a device are logical units of the page, origin offset
// already added. Rectangles are (left, top, right, bottom) with the right and
// bottom edge excluded from the shape, as on the platform the format comes from.
class TPageDevice
{
public:
  virtual ~TPageDevice() = default;

  // Mapping: logical (x, y) shows at device
  // ((x - windowOrgX) * viewportExtX / windowExtX, (y - windowOrgY) * viewportExtY / windowExtY).
  virtual void SetMapping(int32_t windowOrgX, int32_t windowOrgY, int32_t windowExtX, int32_t windowExtY,
                          int32_t viewportExtX, int32_t viewportExtY) = 0;
  // Limits drawing to a logical rectangle; null removes the limit.
  virtual void SetClip(const int32_t* ltrb) = 0;

  virtual void SelectPen(const TPen& pen) = 0;
  virtual void SelectBrush(const TBrush& brush) = 0;
  virtual void SelectFont(const TFont& font) = 0;
  // The stock black cosmetic pen, the null brush and the default font.
  virtual void SelectDefaults() = 0;
  virtual void SetTextColor(uint32_t colour) = 0;
  virtual void SetBkColor(uint32_t colour) = 0;
  virtual void SetBkMode(int32_t mode) = 0;      // 1 transparent, 2 opaque
  virtual void SetTextAlign(uint32_t align) = 0; // TA_* flags
  virtual void SetROP2(int32_t rop) = 0;         // R2_* codes

  virtual void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) = 0;
  virtual void RoundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW, int32_t cornerH) = 0;
  virtual void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) = 0;
  virtual void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
  virtual void Polygon(const TPoint* points, int32_t count) = 0;
  virtual void Polyline(const TPoint* points, int32_t count) = 0;
  // Pie, chord and arc run counter-clockwise from the start radial point to
  // the end radial point.
  virtual void Pie(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end) = 0;
  virtual void Chord(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end) = 0;
  virtual void Arc(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end) = 0;
  // Fills [l, r) x [t, b) with the brush (the selected one when null).
  virtual void FillRect(int32_t l, int32_t t, int32_t r, int32_t b, const TBrush* brush) = 0;
  virtual bool SetPixel(int32_t x, int32_t y, uint32_t colour) = 0;
  // options: 4 clips the text to clip (ETO_CLIPPED); 2 fills clip first (ETO_OPAQUE).
  virtual void TextOut(int32_t x, int32_t y, std::string_view utf8, const int32_t* clipLtrb,
                       uint32_t options) = 0;
  // Width and height of the text in logical units with the selected font.
  virtual void GetTextExtent(std::string_view utf8, int32_t& width, int32_t& height) = 0;
  virtual void DrawEdge(int32_t l, int32_t t, int32_t r, int32_t b) = 0;

  // Draws the pixels source (left, top, right, bottom in image pixels,
  // within the image) of image stretched over [l, r) x [t, b).
  virtual void DrawImage(int32_t l, int32_t t, int32_t r, int32_t b, const QImage& image,
                         const int32_t* source) = 0;

  // A quadratic Bezier curve, for devices that keep curves as curves; false
  // when the caller is to draw its own samples instead.
  virtual bool QuadraticCurve(TPoint /*start*/, TPoint /*control*/, TPoint /*end*/) { return false; }

  // ---- structure ----
  // Devices that keep the drawing's structure (a vector file that editors
  // open as objects and layers) hear where each layer and object begins
  // and ends; pixel devices ignore it.
  virtual void BeginLayer(uint16_t /*layer*/) {}
  virtual void BeginObject(const TData& /*object*/) {}
  virtual void EndObject() {}
  // A symbol instance whose members are drawn relative to (x, y) while
  // layers are painted. kDrawMembers: draw them as usual. kDefine: draw
  // them once, all of them (no culling), as the shared definition, then
  // call EndSymbol, which places the instance. kPlaced: the instance is
  // placed by reference to a definition made before; draw nothing.
  enum class SymbolUse { kDrawMembers, kDefine, kPlaced };
  virtual SymbolUse BeginSymbol(std::string_view /*name*/, uint16_t /*layers*/, int32_t /*x*/, int32_t /*y*/)
  {
    return SymbolUse::kDrawMembers;
  }
  virtual void EndSymbol() {}
};

// Text alignment flags and raster operations, as stored and passed around.
enum : uint32_t {
  TA_LEFT_ = 0,
  TA_RIGHT_ = 2,
  TA_CENTER_ = 6,
  TA_TOP_ = 0,
  TA_BOTTOM_ = 8,
  TA_BASELINE_ = 24,
};

enum : int32_t {
  R2_BLACK_ = 1,
  R2_NOT_ = 6,
  R2_XORPEN_ = 7,
  R2_NOTXORPEN_ = 10,
  R2_COPYPEN_ = 13,
  R2_WHITE_ = 16,
};

enum : int32_t {
  TRANSPARENT_ = 1,
  OPAQUE_ = 2,
};

enum : uint32_t {
  ETO_OPAQUE_ = 2,
  ETO_CLIPPED_ = 4,
};
