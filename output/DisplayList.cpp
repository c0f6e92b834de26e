#include "DisplayList.h"

#include "TPageDevice.h"

#include <array>

namespace {

// Where each kind of attribute waits until something is drawn with it, in
// the order they are handed over: the mapping before the clip it places,
// the defaults before the pen, brush and font that follow them.
enum Slot : size_t {
  kSlotMapping,
  kSlotClip,
  kSlotDefaults,
  kSlotPen,
  kSlotBrush,
  kSlotFont,
  kSlotTextColour,
  kSlotBkColour,
  kSlotBkMode,
  kSlotTextAlign,
  kSlotRop,
  kSlotCount
};

} // namespace

void DisplayList::Replay(TPageDevice& device, int32_t top, int32_t bottom) const
{
  std::array<const Command*, kSlotCount> pending{};
  for (const Command& c : m_commands) {
    switch (c.op) {
    case Op::kMapping:
      pending[kSlotMapping] = &c;
      continue;
    case Op::kClip:
    case Op::kNoClip:
      pending[kSlotClip] = &c;
      continue;
    case Op::kDefaults:
      pending[kSlotDefaults] = &c;
      pending[kSlotPen] = pending[kSlotBrush] = pending[kSlotFont] = nullptr;
      continue;
    case Op::kPen:
      pending[kSlotPen] = &c;
      continue;
    case Op::kBrush:
      pending[kSlotBrush] = &c;
      continue;
    case Op::kFont:
      pending[kSlotFont] = &c;
      continue;
    case Op::kTextColour:
      pending[kSlotTextColour] = &c;
      continue;
    case Op::kBkColour:
      pending[kSlotBkColour] = &c;
      continue;
    case Op::kBkMode:
      pending[kSlotBkMode] = &c;
      continue;
    case Op::kTextAlign:
      pending[kSlotTextAlign] = &c;
      continue;
    case Op::kRop:
      pending[kSlotRop] = &c;
      continue;
    default:
      break;
    }
    if (c.bottom <= top || c.top >= bottom)
      continue;
    for (const Command*& waiting : pending) {
      if (waiting) {
        Apply(device, *waiting);
        waiting = nullptr;
      }
    }
    Draw(device, c);
  }
}

void DisplayList::Apply(TPageDevice& device, const Command& c) const
{
  switch (c.op) {
  case Op::kMapping:
    device.SetMapping(c.a[0], c.a[1], c.a[2], c.a[3], c.a[4], c.a[5]);
    break;
  case Op::kClip:
    device.SetClip(c.a);
    break;
  case Op::kNoClip:
    device.SetClip(nullptr);
    break;
  case Op::kDefaults:
    device.SelectDefaults();
    break;
  case Op::kPen:
    device.SelectPen(m_pens[c.index]);
    break;
  case Op::kBrush:
    device.SelectBrush(m_brushes[c.index]);
    break;
  case Op::kFont:
    device.SelectFont(m_fonts[c.index]);
    break;
  case Op::kTextColour:
    device.SetTextColor(c.extra);
    break;
  case Op::kBkColour:
    device.SetBkColor(c.extra);
    break;
  case Op::kBkMode:
    device.SetBkMode(c.a[0]);
    break;
  case Op::kTextAlign:
    device.SetTextAlign(c.extra);
    break;
  case Op::kRop:
    device.SetROP2(c.a[0]);
    break;
  default:
    break;
  }
}

void DisplayList::Draw(TPageDevice& device, const Command& c) const
{
  const int32_t* a = c.a;
  switch (c.op) {
  case Op::kRectangle:
    device.Rectangle(a[0], a[1], a[2], a[3]);
    break;
  case Op::kRoundRect:
    device.RoundRect(a[0], a[1], a[2], a[3], a[4], a[5]);
    break;
  case Op::kEllipse:
    device.Ellipse(a[0], a[1], a[2], a[3]);
    break;
  case Op::kLine:
    device.Line(a[0], a[1], a[2], a[3]);
    break;
  case Op::kPolygon:
    device.Polygon(&m_points[c.index], a[0]);
    break;
  case Op::kPolyline:
    device.Polyline(&m_points[c.index], a[0]);
    break;
  case Op::kPie:
    device.Pie(a[0], a[1], a[2], a[3], m_points[c.index], m_points[c.index + 1]);
    break;
  case Op::kChord:
    device.Chord(a[0], a[1], a[2], a[3], m_points[c.index], m_points[c.index + 1]);
    break;
  case Op::kArc:
    device.Arc(a[0], a[1], a[2], a[3], m_points[c.index], m_points[c.index + 1]);
    break;
  case Op::kFillRect:
    device.FillRect(a[0], a[1], a[2], a[3], nullptr);
    break;
  case Op::kFillRectBrush:
    device.FillRect(a[0], a[1], a[2], a[3], &m_brushes[c.index]);
    break;
  case Op::kPixel:
    device.SetPixel(a[0], a[1], c.extra);
    break;
  case Op::kText:
    device.TextOut(a[0], a[1], m_texts[c.index], (c.extra & kTextHasClip) ? a + 2 : nullptr,
                   c.extra & ~kTextHasClip);
    break;
  case Op::kEdge:
    device.DrawEdge(a[0], a[1], a[2], a[3]);
    break;
  case Op::kImage: {
    int32_t source[4] = {};
    if (a[5] != 0) {
      const TPoint& from = m_points[static_cast<size_t>(a[4])];
      const TPoint& to = m_points[static_cast<size_t>(a[4]) + 1];
      source[0] = from.x;
      source[1] = from.y;
      source[2] = to.x;
      source[3] = to.y;
    }
    device.DrawImage(a[0], a[1], a[2], a[3], m_images[c.index], a[5] != 0 ? source : nullptr);
    break;
  }
  default:
    break;
  }
}
