#pragma once

#include "TPageDevice.h"

#include <QFont>
#include <QRawFont>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A drawing surface that writes an SVG document editors open as the
// drawing: one element per drawing object (several parts grouped under the
// object's name), groups as groups, each symbol definition once as a
// `symbol` that every instance uses, each layer as an editor's layer (the
// hidden ones kept, hidden). Coordinates are the page's logical units, the
// page is the view box and the paper keeps its physical size. Styles are
// shared classes and hatches shared patterns, so the file stays close to
// the size of the document itself.
class TSvgDevice final : public TPageDevice
{
public:
  // A paper of width x height logical units, unitsPerInch of them per inch,
  // measured in millimetres or inches.
  TSvgDevice(int32_t width, int32_t height, int32_t unitsPerInch, bool metric);
  ~TSvgDevice() override;
  TSvgDevice(const TSvgDevice&) = delete;
  TSvgDevice& operator=(const TSvgDevice&) = delete;

  void SetTitle(std::string_view utf8);
  // Layer index 0..7 (bit 1 << index): its name, and whether it is shown.
  void SetLayer(int index, std::string_view utf8Name, bool visible);
  // How many logical units one pixel of the page at zoom 100 % is: what
  // hairline dashes and hatch spacing are measured in (1 by default).
  void SetPixelUnits(double units);
  // The whole file, once everything is drawn.
  std::string Finish();

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
  bool QuadraticCurve(TPoint start, TPoint control, TPoint end) override;

  void BeginLayer(uint16_t layer) override;
  void BeginObject(const TData& object) override;
  void EndObject() override;
  SymbolUse BeginSymbol(std::string_view name, uint16_t layers, int32_t x, int32_t y) override;
  void EndSymbol() override;

private:
  // Lines of text written with one style, gathered into one text element.
  struct TextRun
  {
    std::string key; // class, clip and rotation: what the lines must share
    std::string head;
    std::string spans;
    double anchorX = 0, anchorY = 0;
  };
  // What one object, or one symbol definition, has drawn so far. Objects
  // write straight into the buffer of the layer or definition they are in;
  // a definition has a buffer of its own.
  struct Frame
  {
    enum Kind { kObject, kGroup, kDefinition } kind = kObject;
    std::string name;    // object kind, or the definition's id
    int64_t offsetX = 0; // subtracted from every coordinate drawn inside
    int64_t offsetY = 0;
    std::string* out = nullptr;
    size_t start = 0;        // where its elements begin in *out
    size_t firstTagEnd = 0;  // just after the first element's tag name
    int parts = 0;           // elements written so far
    bool firstNamed = false; // the first element is an object's, with its own id
    std::optional<TextRun> text;
    std::string definitionKey; // kDefinition: the (name, layer) it stands for
    std::unique_ptr<std::string> body;
  };
  struct Layer
  {
    std::string name;
    bool visible = true;
    std::string body;
  };
  struct Brush
  {
    uint32_t style = 1; // TBrush::Style
    int32_t hatch = 0;
    uint32_t colour = 0;
  };
  enum Paint : unsigned { kStroke = 1, kFill = 2 };

  std::string X(int64_t x) const;
  std::string Y(int64_t y) const;
  int64_t OffsetX() const;
  int64_t OffsetY() const;
  double PixelUnits() const;
  // The class of a style, made on first use.
  std::string ClassOf(const std::string& style);
  std::string StrokeStyle() const;
  std::string FillStyle(const Brush& brush);
  // The class (and clip) of a shape drawn with the pen, the brush (the
  // selected one when null), or both.
  std::string ShapeAttributes(unsigned paint, const Brush* brush = nullptr);
  std::string ClipAttribute();
  static std::string BoxAttributes(double x, double y, double width, double height);
  static Brush SolidBrush(uint32_t colour);
  static Brush BrushOf(const TBrush& brush);
  // A rectangle filled with brush, no outline: [l, r) x [t, b).
  void FillBox(int64_t l, int64_t t, int64_t r, int64_t b, const Brush& brush);
  // Where elements go now: the innermost frame's buffer, or the layer's.
  std::string& Target();
  // Adds a finished element to the innermost frame (or the layer).
  void Emit(std::string_view element);
  void Append(Frame& frame, std::string_view element);
  void FlushText(Frame& frame);
  // The letter-spacing attribute that makes a line of the selected font
  // as long in a viewer as on the page; empty when none is needed.
  std::string LetterSpacing(std::string_view utf8);
  void ArcShape(int kind, int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end);
  // The box a closed shape covering [l, r) x [t, b) is outlined on (less
  // its offset in a definition): the pen's centre line runs through the
  // middle of the edge units, or half the pen inside for inside-frame
  // pens; without a pen the fill covers the whole box.
  struct Box
  {
    double l, t, r, b;
  };
  Box ShapeBox(int32_t l, int32_t t, int32_t r, int32_t b) const;
  // Shift of a pen's centre line from the points it joins: half a unit for
  // pens an odd number of units wide, so that their edges meet whole units.
  double PenOffset() const;
  std::string Points(const TPoint* points, int32_t count) const;

  int32_t m_width, m_height, m_unitsPerInch;
  bool m_metric;
  double m_pixelUnits = 1.0;
  std::string m_title;
  std::array<Layer, 8> m_layers;
  int m_layer = -1; // being painted; -1 before the first
  std::string m_beforeLayers;
  std::string m_defs;
  std::string m_styles;
  std::map<std::string, std::string> m_classes;
  std::map<std::string, std::string> m_patterns;
  std::map<std::string, std::string> m_clips;
  std::map<std::string, int> m_counts;
  // Definitions made: (name, layer) to their id, empty when nothing showed.
  std::map<std::string, std::string> m_definitions;
  std::map<std::string, int> m_usedIds;
  std::vector<Frame> m_frames;

  // selected attributes
  uint32_t m_penStyle = 0;
  int32_t m_penWidth = 0; // 0: one device pixel
  uint32_t m_penColour = 0;
  bool m_penNull = false;
  Brush m_brush;
  QFont m_font;
  std::string m_fontStyle;           // the font's part of a text's style, made on first use
  std::optional<QRawFont> m_rawFont; // the font's tables, found on first use
  double m_escapement = 0;
  uint32_t m_textColour = 0;
  uint32_t m_bkColour = 0xFFFFFF;
  int32_t m_bkMode = OPAQUE_;
  uint32_t m_textAlign = 0;
  bool m_clipActive = false;
  int32_t m_clip[4] = {};
};
