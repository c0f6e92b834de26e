#pragma once

#include "DeviceMapping.h"
#include "DisplayList.h"
#include "TPageDevice.h"

#include <QFont>

#include <cstdint>
#include <string_view>

// A page device that draws nothing and records every call into a display
// list, to be replayed onto pixel devices later (see DisplayList). It
// answers what a page asks of its device (text extents, whether a curve is
// kept) as a pixel device showing the same mapping would, so that what is
// recorded is what that device would have been given.
class DisplayRecorder final : public TPageDevice
{
public:
  // width and height: the device's size in pixels, for SetPixel's answer.
  DisplayRecorder(DisplayList& into, int32_t width, int32_t height);

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
  using Op = DisplayList::Op;
  using Command = DisplayList::Command;

  Command& Add(Op op);
  // A drawing call over logical rows y0..y1 (either order), widened by
  // reach device pixels on both sides.
  Command& AddDrawing(Op op, int32_t y0, int32_t y1, double reach);
  // A drawing call over device rows top..bottom.
  Command& AddRows(Op op, double top, double bottom);
  // How far beyond its geometry the selected pen can ink, in device pixels
  // (half its width for round ends and joins, with room for antialiasing).
  double PenReach() const;
  void SetFontMetrics(const QFont& font, double escapement);
  // A drawing call whose first four arguments are a box (or a line's two
  // ends), reaching reach device pixels beyond it; AddShape with the
  // selected pen's reach.
  Command& AddBox(Op op, int32_t l, int32_t t, int32_t r, int32_t b, double reach);
  Command& AddShape(Op op, int32_t l, int32_t t, int32_t r, int32_t b);
  void AddPoints(Op op, const TPoint* points, int32_t count);
  void AddArc(Op op, int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end);

  DisplayList& m_list;
  int32_t m_width;
  int32_t m_height;
  DeviceMapping m_mapping;
  int32_t m_penWidth = 1; // logical units
  QFont m_font;
  double m_escapement = 0.0;
  double m_ascent = 0.0, m_descent = 0.0; // of m_font, logical units
  uint32_t m_textAlign = 0;
};
