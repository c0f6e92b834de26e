#include "TSvgDevice.h"

#include "EtchedEdge.h"
#include "TQtPageDevice.h"

#include "ClassTable.h"
#include "Colors.h"
#include "Geometry.h"
#include "ShapedLine.h"
#include "TBrush.h"
#include "TData.h"
#include "TFont.h"
#include "TPen.h"
#include "TPoint.h"
#include "TextMetrics.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QRawFont>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

// Hatch lines are this many pixels apart, as the platform's 8 x 8 patterns.
constexpr double kHatchPixels = 8.0;

enum ArcKind { kPie, kChord, kOpen };

// A number as short as it can be written: integers without a point, others
// with at most three decimals.
std::string Num(double v, int decimals = 3)
{
  if (!std::isfinite(v))
    return "0";
  char buffer[64];
  const std::to_chars_result done =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
  if (done.ec != std::errc())
    return "0";
  std::string_view text(buffer, static_cast<size_t>(done.ptr - buffer));
  if (text.find('.') != std::string_view::npos) {
    while (text.back() == '0')
      text.remove_suffix(1);
    if (text.back() == '.')
      text.remove_suffix(1);
  }
  return text == "-0" ? std::string("0") : std::string(text);
}

std::string Colour(uint32_t bgr)
{
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
  return buffer;
}

// Text for an XML attribute or element: markup characters escaped, the
// control characters XML cannot hold dropped, bad UTF-8 mended.
std::string Escape(std::string_view utf8)
{
  const QByteArray clean = ToQString(utf8).toUtf8();
  std::string out;
  out.reserve(static_cast<size_t>(clean.size()));
  for (const char c : clean) {
    switch (c) {
    case '&':
      out += "&amp;";
      break;
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '"':
      out += "&quot;";
      break;
    default:
      if (static_cast<unsigned char>(c) >= 0x20 || c == '\t')
        out += c;
      break;
    }
  }
  return out;
}

// A font name inside a quoted CSS string in the style sheet: face names
// come from documents, so anything that could end the string, the rule or
// the sheet is left out.
std::string CssName(std::string_view utf8)
{
  std::string out;
  for (const char c : utf8)
    if (static_cast<unsigned char>(c) >= 0x20 &&
        std::string_view("'\"\\{};<>&").find(c) == std::string_view::npos)
      out += c;
  return out;
}

// A name usable as an XML id: letters, digits, '-', '_' and '.' kept,
// anything else '_', never starting with a digit or punctuation.
std::string IdOf(std::string_view name)
{
  std::string id;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    id += (std::isalnum(u) && u < 0x80) || c == '-' || c == '_' || c == '.' ? c : '_';
  }
  if (id.empty() || !std::isalpha(static_cast<unsigned char>(id[0])))
    id.insert(0, "_");
  return id;
}

// The short names ids start with, by kind of object.
const char* KindName(const TData& object)
{
  switch (object.ClassId()) {
  case kTDataRectangle:
  case kTPolyRectangle:
    return "rect";
  case kTDataLine:
    return "line";
  case kTDataFleche:
    return "arrow";
  case kTDataCercle:
    return "circle";
  case kTDataPolygone:
    return "polygon";
  case kTDataPolyLine:
    return "polyline";
  case kTDataBezier:
    return "bezier";
  case kTDataSin:
    return "sine";
  case kTDataDim:
    return "dim";
  case kTDataTexte:
    return "text";
  case kTDataTexteRpt:
  case kTDataTexteHeure:
  case kTDataTexteDate:
  case kTDataTexteNomFichier:
    return "field";
  case kTDataImage:
    return "image";
  case kTDataGroup:
    return "group";
  case kTDataSymbol:
    return "symbol";
  default:
    return "object";
  }
}

// The angle, counter-clockwise in degrees, of the point of the ellipse in
// the box (cx, cy, rx, ry) on the ray from its centre through p, measured
// on the circle the ellipse is stretched from.
double ArcAngle(double cx, double cy, double rx, double ry, double px, double py)
{
  return std::atan2((cy - py) * rx, (px - cx) * ry);
}

} // namespace

TSvgDevice::TSvgDevice(int32_t width, int32_t height, int32_t unitsPerInch, bool metric)
    : m_width(std::max(width, 1)), m_height(std::max(height, 1)), m_unitsPerInch(std::max(unitsPerInch, 1)),
      m_metric(metric)
{
  for (int i = 0; i < 8; ++i)
    m_layers[static_cast<size_t>(i)].name = "Layer " + std::to_string(i + 1);
  SelectDefaults();
}

TSvgDevice::~TSvgDevice() = default;

void TSvgDevice::SetTitle(std::string_view utf8)
{
  m_title = utf8;
}

void TSvgDevice::SetLayer(int index, std::string_view utf8Name, bool visible)
{
  if (index < 0 || index >= 8)
    return;
  Layer& layer = m_layers[static_cast<size_t>(index)];
  if (!utf8Name.empty())
    layer.name = utf8Name;
  layer.visible = visible;
}

std::string TSvgDevice::Finish()
{
  while (!m_frames.empty())
    EndObject();
  const double inches = m_metric ? 25.4 : 1.0;
  const char* unit = m_metric ? "mm" : "in";
  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\""
      " xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" version=\"1.1\" width=\"" +
      Num(static_cast<double>(m_width) / m_unitsPerInch * inches) + unit + "\" height=\"" +
      Num(static_cast<double>(m_height) / m_unitsPerInch * inches) + unit + "\" viewBox=\"0 0 " +
      std::to_string(m_width) + " " + std::to_string(m_height) + "\">\n";
  if (!m_title.empty())
    svg += "<title>" + Escape(m_title) + "</title>\n";
  size_t size = svg.size() + m_styles.size() + m_defs.size() + m_beforeLayers.size() + 1024;
  for (const Layer& layer : m_layers)
    size += layer.body.size() + layer.name.size() + 128;
  svg.reserve(size);
  svg += "<defs>\n";
  if (!m_styles.empty())
    svg += "<style type=\"text/css\"><![CDATA[\n" + m_styles + "]]></style>\n";
  svg += m_defs;
  svg += "</defs>\n";
  svg += m_beforeLayers;
  // The layers bottom first, as they are painted; an empty one still shows
  // in an editor's list of layers.
  for (int i = 7; i >= 0; --i) {
    const Layer& layer = m_layers[static_cast<size_t>(i)];
    svg += "<g id=\"layer" + std::to_string(i + 1) + "\" inkscape:groupmode=\"layer\" inkscape:label=\"" +
           Escape(layer.name) + "\"" + (layer.visible ? "" : " style=\"display:none\"") + ">\n";
    svg += layer.body;
    svg += "</g>\n";
  }
  svg += "</svg>\n";
  return svg;
}

// ---- coordinates ----

int64_t TSvgDevice::OffsetX() const
{
  return m_frames.empty() ? 0 : m_frames.back().offsetX;
}

int64_t TSvgDevice::OffsetY() const
{
  return m_frames.empty() ? 0 : m_frames.back().offsetY;
}

std::string TSvgDevice::X(int64_t x) const
{
  return std::to_string(x - OffsetX());
}

std::string TSvgDevice::Y(int64_t y) const
{
  return std::to_string(y - OffsetY());
}

double TSvgDevice::PixelUnits() const
{
  return m_pixelUnits;
}

void TSvgDevice::SetPixelUnits(double units)
{
  if (units > 0 && std::isfinite(units))
    m_pixelUnits = units;
}

void TSvgDevice::SetMapping(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t)
{
  // The file keeps logical units; its viewer does the mapping.
}

void TSvgDevice::SetClip(const int32_t* ltrb)
{
  m_clipActive = ltrb != nullptr;
  if (ltrb)
    std::copy(ltrb, ltrb + 4, m_clip);
}

std::string TSvgDevice::ClipAttribute()
{
  // A shared definition is never clipped (it shows wherever it is used),
  // and the paper clips by itself.
  if (!m_clipActive)
    return {};
  for (const Frame& frame : m_frames)
    if (frame.kind == Frame::kDefinition)
      return {};
  if (m_clip[0] <= 0 && m_clip[1] <= 0 && m_clip[2] >= m_width && m_clip[3] >= m_height)
    return {};
  const int64_t l = std::min(m_clip[0], m_clip[2]), r = std::max(m_clip[0], m_clip[2]);
  const int64_t t = std::min(m_clip[1], m_clip[3]), b = std::max(m_clip[1], m_clip[3]);
  const std::string rect =
      "x=\"" + X(l) + "\" y=\"" + Y(t) + "\" width=\"" + Num(r - l) + "\" height=\"" + Num(b - t) + "\"";
  auto found = m_clips.find(rect);
  if (found == m_clips.end()) {
    const std::string id = "clip" + std::to_string(m_clips.size() + 1);
    found = m_clips.emplace(rect, id).first;
    m_defs += "<clipPath id=\"" + id + "\"><rect " + rect + "/></clipPath>\n";
  }
  return " clip-path=\"url(#" + found->second + ")\"";
}

// ---- attributes ----

void TSvgDevice::SelectPen(const TPen& pen)
{
  m_penStyle = pen.GetStyle();
  m_penNull = m_penStyle == TPen::kNull;
  m_penWidth = pen.GetHandle().widthF() == 0 ? 0 : pen.GetWidth();
  m_penColour = pen.GetColor();
}

TSvgDevice::Brush TSvgDevice::BrushOf(const TBrush& brush)
{
  return Brush{brush.GetStyle(), brush.GetHatch(), brush.GetColor()};
}

void TSvgDevice::SelectBrush(const TBrush& brush)
{
  m_brush = BrushOf(brush);
}

void TSvgDevice::SelectFont(const TFont& font)
{
  m_font = TextFont(font);
  m_escapement = font.EscapementDegrees();
  m_fontStyle.clear();
  m_rawFont.reset();
}

void TSvgDevice::SelectDefaults()
{
  static const TPen kPen(0, 0, TPen::kSolid);
  static const TFont kFont;
  SelectPen(kPen);
  m_brush = Brush{};
  SelectFont(kFont);
}

void TSvgDevice::SetTextColor(uint32_t colour)
{
  m_textColour = colour;
}

void TSvgDevice::SetBkColor(uint32_t colour)
{
  m_bkColour = colour;
}

void TSvgDevice::SetBkMode(int32_t mode)
{
  m_bkMode = mode;
}

void TSvgDevice::SetTextAlign(uint32_t align)
{
  m_textAlign = align;
}

void TSvgDevice::SetROP2(int32_t)
{
  // Raster operations only ever draw the selection outline on screen.
}

// ---- styles ----

std::string TSvgDevice::ClassOf(const std::string& style)
{
  auto found = m_classes.find(style);
  if (found == m_classes.end()) {
    const std::string name = "s" + std::to_string(m_classes.size() + 1);
    found = m_classes.emplace(style, name).first;
    m_styles += "." + name + "{" + style + "}\n";
  }
  return found->second;
}

std::string TSvgDevice::StrokeStyle() const
{
  if (m_penNull)
    return "stroke:none";
  std::string style = "stroke:" + Colour(m_penColour);
  const double pixel = PixelUnits();
  const bool styled = m_penStyle >= TPen::kDash && m_penStyle <= TPen::kDashDotDot;
  if (styled && m_penWidth <= 1) {
    // Thin styled pens are one-pixel dashes of fixed lengths at every size.
    style += ";stroke-width:" + Num(pixel) + ";stroke-dasharray:";
    const QList<qreal> dashes = TQtPageDevice::DashPattern(m_penStyle);
    for (qsizetype i = 0; i < dashes.size(); ++i)
      style += (i ? "," : "") + Num(dashes[i] * pixel);
    return style;
  }
  if (m_penWidth == 0)
    return style + ";stroke-width:1;vector-effect:non-scaling-stroke";
  style += ";stroke-width:" + std::to_string(m_penWidth);
  if (m_penWidth > pixel)
    style += ";stroke-linecap:round;stroke-linejoin:round";
  if (styled) {
    // Wide styled pens: dashes measured in pen widths.
    static const char* const kPatterns[] = {"4,2", "1,2", "4,2,1,2", "4,2,1,2,1,2"};
    std::string pattern;
    for (const char* c = kPatterns[m_penStyle - TPen::kDash]; *c; ++c)
      pattern += *c == ',' ? "," : std::to_string(int64_t{*c - '0'} * m_penWidth);
    style += ";stroke-dasharray:" + pattern + ";stroke-linecap:butt";
  }
  return style;
}

std::string TSvgDevice::FillStyle(const Brush& brush)
{
  if (brush.style == TBrush::kHollow || brush.colour == kNoColor)
    return "fill:none";
  if (brush.style != TBrush::kHatched)
    return "fill:" + Colour(brush.colour);
  // One small pattern per hatch, colour and background, shared by every
  // shape that uses it; lines as the drawing surface spaces them.
  const int hatch = std::clamp(brush.hatch, 0, 5);
  const bool opaque = m_bkMode == OPAQUE_;
  const std::string key = std::to_string(hatch) + Colour(brush.colour) + (opaque ? Colour(m_bkColour) : "");
  auto found = m_patterns.find(key);
  if (found == m_patterns.end()) {
    const std::string id = "hatch" + std::to_string(m_patterns.size() + 1);
    found = m_patterns.emplace(key, id).first;
    const double s = kHatchPixels * PixelUnits();
    // Where the platform's patterns put their lines in the 8 x 8 pixel
    // tile, the tile starting at the paper's corner.
    const double p = PixelUnits();
    const std::string S = Num(s), H = Num(3.5 * p), V = Num(4.5 * p);
    std::string d;
    if (hatch == TBrush::kHorizontal || hatch == TBrush::kCross)
      d += "M0 " + H + "H" + S;
    if (hatch == TBrush::kVertical || hatch == TBrush::kCross)
      d += "M" + V + " 0V" + S;
    if (hatch == TBrush::kForwardDiagonal || hatch == TBrush::kDiagonalCross)
      d += "M0 0L" + S + " " + S;
    if (hatch == TBrush::kBackwardDiagonal || hatch == TBrush::kDiagonalCross)
      d += "M0 " + S + "L" + S + " 0";
    m_defs += "<pattern id=\"" + id + "\" patternUnits=\"userSpaceOnUse\" width=\"" + S + "\" height=\"" + S +
              "\">";
    if (opaque)
      m_defs += "<rect width=\"" + S + "\" height=\"" + S + "\" fill=\"" + Colour(m_bkColour) + "\"/>";
    // Whole pixels, as the patterns are: a smoothed one-pixel diagonal
    // would be a grey band.
    m_defs += "<path d=\"" + d + "\" fill=\"none\" shape-rendering=\"crispEdges\" stroke=\"" +
              Colour(brush.colour) + "\" stroke-width=\"" + Num(PixelUnits()) + "\"/></pattern>\n";
  }
  return "fill:url(#" + found->second + ")";
}

std::string TSvgDevice::ShapeAttributes(unsigned paint, const Brush* brush)
{
  std::string style = paint & kFill ? FillStyle(brush ? *brush : m_brush) : "fill:none";
  style += ";";
  style += paint & kStroke ? StrokeStyle() : "stroke:none";
  return " class=\"" + ClassOf(style) + "\"" + ClipAttribute();
}

double TSvgDevice::PenOffset() const
{
  if (m_penNull)
    return 0;
  const bool styled = m_penStyle >= TPen::kDash && m_penStyle <= TPen::kDashDotDot;
  const int32_t width = m_penWidth == 0 || (styled && m_penWidth <= 1) ? 1 : m_penWidth;
  return width % 2 != 0 ? 0.5 : 0.0;
}

TSvgDevice::Box TSvgDevice::ShapeBox(int32_t l, int32_t t, int32_t r, int32_t b) const
{
  Box box{static_cast<double>(std::min(l, r) - OffsetX()), static_cast<double>(std::min(t, b) - OffsetY()),
          static_cast<double>(std::max(l, r) - OffsetX()), static_cast<double>(std::max(t, b) - OffsetY())};
  if (m_penNull)
    return box;
  if (m_penStyle == TPen::kInsideFrame) {
    const double inset = m_penWidth / 2.0;
    box = {box.l + inset, box.t + inset, box.r - inset, box.b - inset};
  } else {
    const double offset = PenOffset();
    box = {box.l + offset, box.t + offset, box.r - 1 + offset, box.b - 1 + offset};
  }
  if (box.r < box.l)
    box.l = box.r = (box.l + box.r) / 2;
  if (box.b < box.t)
    box.t = box.b = (box.t + box.b) / 2;
  return box;
}

std::string TSvgDevice::Points(const TPoint* points, int32_t count) const
{
  const double offset = PenOffset();
  std::string list;
  list.reserve(static_cast<size_t>(count) * 10);
  for (int32_t i = 0; i < count; ++i) {
    if (i)
      list += ' ';
    if (offset == 0) {
      list += X(points[i].x) + "," + Y(points[i].y);
    } else {
      list += Num(static_cast<double>(points[i].x - OffsetX()) + offset) + "," +
              Num(static_cast<double>(points[i].y - OffsetY()) + offset);
    }
  }
  return list;
}

// ---- structure ----

std::string& TSvgDevice::Target()
{
  if (!m_frames.empty())
    return *m_frames.back().out;
  return m_layer >= 0 ? m_layers[static_cast<size_t>(m_layer)].body : m_beforeLayers;
}

void TSvgDevice::Append(Frame& frame, std::string_view element)
{
  std::string& out = *frame.out;
  if (frame.parts++ == 0)
    frame.firstTagEnd = out.size() + element.find_first_of(" />", 1);
  out += element;
}

void TSvgDevice::FlushText(Frame& frame)
{
  if (!frame.text)
    return;
  TextRun run = std::move(*frame.text);
  frame.text.reset();
  run.head += run.spans;
  run.head += "</text>\n";
  Append(frame, run.head);
}

void TSvgDevice::Emit(std::string_view element)
{
  if (m_frames.empty()) {
    Target() += element;
    return;
  }
  Frame& frame = m_frames.back();
  FlushText(frame);
  Append(frame, element);
}

void TSvgDevice::BeginLayer(uint16_t layer)
{
  while (!m_frames.empty())
    EndObject();
  m_layer = -1;
  for (int i = 0; i < 8; ++i)
    if (layer == (1u << i))
      m_layer = i;
}

void TSvgDevice::BeginObject(const TData& object)
{
  std::string& out = Target();
  Frame frame;
  frame.kind = object.IsA(kTDataGroup) ? Frame::kGroup : Frame::kObject;
  frame.name = KindName(object);
  frame.offsetX = OffsetX();
  frame.offsetY = OffsetY();
  frame.out = &out;
  frame.start = out.size();
  m_frames.push_back(std::move(frame));
}

void TSvgDevice::EndObject()
{
  if (m_frames.empty())
    return;
  if (m_frames.back().kind == Frame::kDefinition) {
    EndSymbol();
    return;
  }
  FlushText(m_frames.back());
  Frame frame = std::move(m_frames.back());
  m_frames.pop_back();
  if (frame.parts == 0)
    return;
  std::string& out = *frame.out;
  std::string id = " id=\"" + frame.name + std::to_string(++m_counts[frame.name]) + "\"";
  if (frame.parts == 1 && frame.kind == Frame::kObject && !frame.firstNamed) {
    // One element: it carries the object's id itself.
    out.insert(frame.firstTagEnd, id);
  } else {
    out.insert(frame.start, "<g" + id + ">\n");
    out += "</g>\n";
  }
  // What the object wrote is one element of the frame around it.
  if (!m_frames.empty() && m_frames.back().out == frame.out) {
    Frame& parent = m_frames.back();
    if (parent.parts++ == 0) {
      parent.firstTagEnd = out.find_first_of(" />", frame.start + 1);
      parent.firstNamed = true;
    }
  }
}

TPageDevice::SymbolUse TSvgDevice::BeginSymbol(std::string_view name, uint16_t layers, int32_t x, int32_t y)
{
  // One definition per symbol and layer, since every layer is painted on
  // its own; most symbols show on one layer only and keep their bare name.
  std::string key(name);
  key += '\n';
  key += std::to_string(layers);
  const auto found = m_definitions.find(key);
  if (found != m_definitions.end()) {
    if (!found->second.empty())
      Emit("<use xlink:href=\"#" + found->second + "\" x=\"" + X(x) + "\" y=\"" + Y(y) + "\"" +
           ClipAttribute() + "/>\n");
    return SymbolUse::kPlaced;
  }
  if (!m_frames.empty())
    FlushText(m_frames.back());
  Frame frame;
  frame.kind = Frame::kDefinition;
  frame.name = IdOf(name);
  frame.definitionKey = std::move(key);
  frame.offsetX = x;
  frame.offsetY = y;
  frame.body = std::make_unique<std::string>();
  frame.out = frame.body.get();
  m_frames.push_back(std::move(frame));
  return SymbolUse::kDefine;
}

void TSvgDevice::EndSymbol()
{
  // Objects left open inside the definition end with it.
  while (!m_frames.empty() && m_frames.back().kind != Frame::kDefinition)
    EndObject();
  if (m_frames.empty())
    return;
  FlushText(m_frames.back());
  Frame frame = std::move(m_frames.back());
  m_frames.pop_back();
  std::string& id = m_definitions[frame.definitionKey];
  if (frame.parts == 0)
    return;
  const int uses = m_usedIds[frame.name]++;
  id = uses == 0 ? frame.name : frame.name + "-" + std::to_string(uses + 1);
  m_defs += "<symbol id=\"" + id + "\" style=\"overflow:visible\">\n";
  m_defs += *frame.body;
  m_defs += "</symbol>\n";
  Emit("<use xlink:href=\"#" + id + "\" x=\"" + X(frame.offsetX) + "\" y=\"" + Y(frame.offsetY) + "\"" +
       ClipAttribute() + "/>\n");
}

// ---- shapes ----

std::string TSvgDevice::BoxAttributes(double x, double y, double width, double height)
{
  return " x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(width) + "\" height=\"" + Num(height) +
         "\"";
}

TSvgDevice::Brush TSvgDevice::SolidBrush(uint32_t colour)
{
  return Brush{TBrush::kSolid, 0, colour};
}

void TSvgDevice::FillBox(int64_t l, int64_t t, int64_t r, int64_t b, const Brush& brush)
{
  Emit("<rect" +
       BoxAttributes(static_cast<double>(std::min(l, r) - OffsetX()),
                     static_cast<double>(std::min(t, b) - OffsetY()), static_cast<double>(std::abs(r - l)),
                     static_cast<double>(std::abs(b - t))) +
       ShapeAttributes(kFill, &brush) + "/>\n");
}

void TSvgDevice::Rectangle(int32_t l, int32_t t, int32_t r, int32_t b)
{
  const Box box = ShapeBox(l, t, r, b);
  Emit("<rect" + BoxAttributes(box.l, box.t, box.r - box.l, box.b - box.t) +
       ShapeAttributes(kStroke | kFill) + "/>\n");
}

void TSvgDevice::RoundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW, int32_t cornerH)
{
  const Box box = ShapeBox(l, t, r, b);
  Emit("<rect" + BoxAttributes(box.l, box.t, box.r - box.l, box.b - box.t) + " rx=\"" +
       Num(std::abs(static_cast<double>(cornerW)) / 2) + "\" ry=\"" +
       Num(std::abs(static_cast<double>(cornerH)) / 2) + "\"" + ShapeAttributes(kStroke | kFill) + "/>\n");
}

void TSvgDevice::Ellipse(int32_t l, int32_t t, int32_t r, int32_t b)
{
  const Box box = ShapeBox(l, t, r, b);
  Emit("<ellipse cx=\"" + Num((box.l + box.r) / 2) + "\" cy=\"" + Num((box.t + box.b) / 2) + "\" rx=\"" +
       Num((box.r - box.l) / 2) + "\" ry=\"" + Num((box.b - box.t) / 2) + "\"" +
       ShapeAttributes(kStroke | kFill) + "/>\n");
}

void TSvgDevice::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
  if (m_penNull)
    return;
  const double offset = PenOffset();
  auto at = [offset](int64_t v) { return Num(static_cast<double>(v) + offset); };
  Emit("<line x1=\"" + at(x1 - OffsetX()) + "\" y1=\"" + at(y1 - OffsetY()) + "\" x2=\"" +
       at(x2 - OffsetX()) + "\" y2=\"" + at(y2 - OffsetY()) + "\"" + ShapeAttributes(kStroke) + "/>\n");
}

void TSvgDevice::Polyline(const TPoint* points, int32_t count)
{
  if (m_penNull || count < 2)
    return;
  Emit("<polyline points=\"" + Points(points, count) + "\"" + ShapeAttributes(kStroke) + "/>\n");
}

void TSvgDevice::Polygon(const TPoint* points, int32_t count)
{
  if (count < 1)
    return;
  // Overlapping parts of a polygon are holes, as on every other surface.
  Emit("<polygon points=\"" + Points(points, count) + "\" fill-rule=\"evenodd\"" +
       ShapeAttributes(kStroke | kFill) + "/>\n");
}

bool TSvgDevice::QuadraticCurve(TPoint start, TPoint control, TPoint end)
{
  if (m_penNull)
    return true;
  const TPoint points[3] = {start, control, end};
  std::string list = Points(points, 3);
  // "x,y x,y x,y" becomes "Mx y Qx y x y".
  std::replace(list.begin(), list.end(), ',', ' ');
  const size_t second = list.find(' ', list.find(' ') + 1);
  list.replace(second, 1, "Q");
  Emit("<path d=\"M" + list + "\"" + ShapeAttributes(kStroke) + "/>\n");
  return true;
}

void TSvgDevice::ArcShape(int kind, int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end)
{
  if (kind == kOpen && m_penNull)
    return;
  const Box box = ShapeBox(l, t, r, b);
  const double cx = (box.l + box.r) / 2, cy = (box.t + box.b) / 2;
  const double rx = (box.r - box.l) / 2, ry = (box.b - box.t) / 2;
  const double sx = static_cast<double>(start.x) - OffsetX(), sy = static_cast<double>(start.y) - OffsetY();
  const double ex = static_cast<double>(end.x) - OffsetX(), ey = static_cast<double>(end.y) - OffsetY();
  const double a0 = ArcAngle(cx, cy, rx, ry, sx, sy);
  double sweep = 2 * std::numbers::pi;
  if (start != end) {
    sweep = std::fmod(ArcAngle(cx, cy, rx, ry, ex, ey) - a0, 2 * std::numbers::pi);
    if (sweep <= 0)
      sweep += 2 * std::numbers::pi;
  }
  // Counter-clockwise on the page, whose y axis runs down: SVG's negative
  // sweep. A whole ellipse takes two half arcs.
  auto at = [&](double a) { return Num(cx + rx * std::cos(a)) + " " + Num(cy - ry * std::sin(a)); };
  const std::string radii = Num(rx) + " " + Num(ry);
  std::string d = kind == kPie ? "M" + Num(cx) + " " + Num(cy) + "L" + at(a0) : "M" + at(a0);
  if (sweep >= 2 * std::numbers::pi - 1e-9) {
    d += "A" + radii + " 0 0 0 " + at(a0 + std::numbers::pi);
    d += "A" + radii + " 0 0 0 " + at(a0);
  } else {
    d += "A" + radii + " 0 " + (sweep > std::numbers::pi ? "1" : "0") + " 0 " + at(a0 + sweep);
  }
  if (kind != kOpen)
    d += "Z";
  Emit("<path d=\"" + d + "\"" + ShapeAttributes(kind == kOpen ? kStroke : kStroke | kFill) + "/>\n");
}

void TSvgDevice::Pie(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end)
{
  ArcShape(kPie, l, t, r, b, start, end);
}

void TSvgDevice::Chord(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end)
{
  ArcShape(kChord, l, t, r, b, start, end);
}

void TSvgDevice::Arc(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end)
{
  ArcShape(kOpen, l, t, r, b, start, end);
}

void TSvgDevice::FillRect(int32_t l, int32_t t, int32_t r, int32_t b, const TBrush* brush)
{
  FillBox(l, t, r, b, brush ? BrushOf(*brush) : m_brush);
}

bool TSvgDevice::SetPixel(int32_t x, int32_t y, uint32_t colour)
{
  FillBox(x, y, int64_t{x} + 1, int64_t{y} + 1, SolidBrush(colour));
  return true;
}

void TSvgDevice::DrawEdge(int32_t l, int32_t t, int32_t r, int32_t b)
{
  const int64_t x0 = std::min(l, r), y0 = std::min(t, b);
  for (const EdgeBand& band :
       EtchedEdge(static_cast<int32_t>(x0), static_cast<int32_t>(y0), SaturateInt32(std::abs(int64_t{r} - l)),
                  SaturateInt32(std::abs(int64_t{b} - t)))) {
    const uint32_t rgb = band.shadow ? kEdgeShadowRgb : kEdgeHighlightRgb;
    FillBox(band.x, band.y, int64_t{band.x} + band.width, int64_t{band.y} + band.height,
            SolidBrush(MakeColor(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                 static_cast<uint8_t>(rgb))));
  }
}

void TSvgDevice::DrawImage(int32_t l, int32_t t, int32_t r, int32_t b, const QImage& image,
                           const int32_t* source)
{
  if (image.isNull())
    return;
  const QImage part =
      source ? image.copy(QRect(QPoint(source[0], source[1]), QPoint(source[2] - 1, source[3] - 1))) : image;
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!part.save(&buffer, "PNG"))
    return;
  Emit("<image" +
       BoxAttributes(static_cast<double>(std::min(l, r) - OffsetX()),
                     static_cast<double>(std::min(t, b) - OffsetY()), std::abs(static_cast<double>(r) - l),
                     std::abs(static_cast<double>(b) - t)) +
       " preserveAspectRatio=\"none\" xlink:href=\"data:image/png;base64," + png.toBase64().toStdString() +
       "\"" + ClipAttribute() + "/>\n");
}

// ---- text ----

void TSvgDevice::GetTextExtent(std::string_view utf8, int32_t& width, int32_t& height)
{
  MeasureText(m_font, utf8, width, height);
}

std::string TSvgDevice::LetterSpacing(std::string_view utf8)
{
  // The page sets glyphs at their hinted advances without kerning; viewers
  // kern (most do whatever they are asked) and take the advances the font
  // designs. Spread between the characters, the difference keeps each line
  // as long in a viewer as on the page. Measured from the font's own
  // tables: laying every line out twice would cost more than the rest of
  // the file.
  if (!m_rawFont)
    m_rawFont = QRawFont::fromFont(m_font);
  if (!m_rawFont->isValid())
    return {};
  const QList<quint32> glyphs = m_rawFont->glyphIndexesForString(ToQString(utf8));
  if (glyphs.isEmpty())
    return {};
  double difference = 0;
  const QList<QPointF> page = m_rawFont->advancesForGlyphIndexes(glyphs, QRawFont::SeparateAdvances);
  const QList<QPointF> viewer = m_rawFont->advancesForGlyphIndexes(
      glyphs, QRawFont::LayoutFlags(QRawFont::KernedAdvances | QRawFont::UseDesignMetrics));
  for (qsizetype i = 0; i < glyphs.size() && i < page.size() && i < viewer.size(); ++i)
    difference += page[i].x() - viewer[i].x();
  const std::string value = Num(difference / static_cast<double>(glyphs.size()), 2);
  return value == "0" ? std::string() : " letter-spacing=\"" + value + "\"";
}

void TSvgDevice::TextOut(int32_t x, int32_t y, std::string_view utf8, const int32_t* clipLtrb,
                         uint32_t options)
{
  if (clipLtrb && (options & ETO_OPAQUE_)) {
    FillBox(clipLtrb[0], clipLtrb[1], clipLtrb[2], clipLtrb[3], SolidBrush(m_bkColour));
  }
  if (utf8.empty())
    return;
  const bool clipped = clipLtrb && (options & ETO_CLIPPED_);
  const bool hadClip = m_clipActive;
  int32_t kept[4];
  std::copy(m_clip, m_clip + 4, kept);
  if (clipped) {
    // The text's own clip, within the one in force.
    int32_t box[4] = {std::min(clipLtrb[0], clipLtrb[2]), std::min(clipLtrb[1], clipLtrb[3]),
                      std::max(clipLtrb[0], clipLtrb[2]), std::max(clipLtrb[1], clipLtrb[3])};
    if (m_clipActive) {
      box[0] = std::max(box[0], std::min(m_clip[0], m_clip[2]));
      box[1] = std::max(box[1], std::min(m_clip[1], m_clip[3]));
      box[2] = std::min(box[2], std::max(m_clip[0], m_clip[2]));
      box[3] = std::min(box[3], std::max(m_clip[1], m_clip[3]));
    }
    SetClip(box);
  }
  const std::string clip = ClipAttribute();
  if (clipped) {
    if (hadClip)
      SetClip(kept);
    else
      SetClip(nullptr);
  }

  const QFontMetricsF metrics(m_font);
  const double ascent = metrics.ascent();
  const double descent = metrics.descent();
  double baseline = ascent;
  if ((m_textAlign & TA_BASELINE_) == TA_BASELINE_)
    baseline = 0;
  else if (m_textAlign & TA_BOTTOM_)
    baseline = -descent;
  // Centred and right-aligned lines keep their anchor in any viewer, however
  // it measures the text.
  const char* anchor = "";
  double share = 0; // of the width left of the anchor
  if ((m_textAlign & TA_CENTER_) == TA_CENTER_) {
    anchor = ";text-anchor:middle";
    share = 0.5;
  } else if (m_textAlign & TA_RIGHT_) {
    anchor = ";text-anchor:end";
    share = 1;
  }

  const double px = static_cast<double>(x) - OffsetX();
  const double py = static_cast<double>(y) - OffsetY();
  const std::string turn =
      m_escapement != 0 ? " transform=\"rotate(" + Num(-m_escapement) + " " + Num(px) + " " + Num(py) + ")\""
                        : "";
  if (m_bkMode == OPAQUE_) {
    // The text cell is filled first, turned with the text.
    const double width = ShapedLine(ToQString(utf8), m_font).Width();
    const Brush fill = SolidBrush(m_bkColour);
    Emit("<rect" + BoxAttributes(px - share * width, py + baseline - ascent, width, ascent + descent) + turn +
         ShapeAttributes(kFill, &fill) + "/>\n");
  }

  if (m_fontStyle.empty()) {
    m_fontStyle = "font-family:'" + CssName(m_font.family().toStdString()) +
                  "';font-size:" + Num(m_font.pixelSize() > 0 ? m_font.pixelSize() : m_font.pointSizeF()) +
                  "px";
    if (m_font.weight() != QFont::Normal)
      m_fontStyle += ";font-weight:" +
                     std::to_string(std::clamp(static_cast<int>(m_font.weight()), 100, 900) / 100 * 100);
    if (m_font.italic())
      m_fontStyle += ";font-style:italic";
    if (m_font.underline() || m_font.strikeOut())
      m_fontStyle += std::string(";text-decoration:") + (m_font.underline() ? "underline" : "") +
                     (m_font.underline() && m_font.strikeOut() ? " " : "") +
                     (m_font.strikeOut() ? "line-through" : "");
  }
  const std::string style = m_fontStyle + ";fill:" + Colour(m_textColour) + anchor;
  const std::string cls = ClassOf(style);
  const std::string key = cls + clip + Num(m_escapement);

  // Lines of one text share one element: the first line's anchor is the
  // text's, and every line is placed in the text's own (turned) frame.
  TextRun* run = nullptr;
  if (!m_frames.empty()) {
    Frame& frame = m_frames.back();
    if (frame.text && frame.text->key != key)
      FlushText(frame);
    if (!frame.text) {
      TextRun fresh;
      fresh.key = key;
      fresh.anchorX = px;
      fresh.anchorY = py;
      fresh.head = "<text xml:space=\"preserve\" class=\"" + cls + "\"" + clip + turn + ">";
      frame.text = std::move(fresh);
    }
    run = &*frame.text;
  }
  double lx = px, ly = py;
  const double ax = run ? run->anchorX : px, ay = run ? run->anchorY : py;
  if (m_escapement != 0) {
    // Into the text's frame: turned back about its anchor.
    const double a = m_escapement * std::numbers::pi / 180.0;
    const double ox = px - ax, oy = py - ay;
    lx = ax + ox * std::cos(a) - oy * std::sin(a);
    ly = ay + ox * std::sin(a) + oy * std::cos(a);
  }
  std::string span = "<tspan x=\"" + Num(lx);
  span += "\" y=\"" + Num(ly + baseline) + "\"" + LetterSpacing(utf8) + ">" + Escape(utf8) + "</tspan>";
  if (run) {
    run->spans += span;
    return;
  }
  Emit("<text xml:space=\"preserve\" class=\"" + cls + "\"" + clip + turn + ">" + span + "</text>\n");
}
