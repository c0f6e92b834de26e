#include "TPen.h"

#include "Colors.h"

TPen::TPen(uint32_t colour, int32_t width, uint32_t style)
{
  classId = kTPen;
  SetColor(colour);
  SetWidth(width);
  SetStyle(style);
}

void TPen::SetColor(uint32_t colour)
{
  if (colour == m_colour)
    return;
  m_colour = colour;
  m_dirty = true;
}

void TPen::SetWidth(int32_t width)
{
  if (width < 0)
    width = 0;
  if (width == m_widthX && width == m_widthY)
    return;
  m_widthX = m_widthY = width;
  m_dirty = true;
}

void TPen::SetStyle(uint32_t style)
{
  if (style > kInsideFrame)
    style = kSolid;
  if (style == m_style)
    return;
  m_style = style;
  m_dirty = true;
}

TInStream& TPen::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTPen, version))
    return is;
  uint32_t style = m_style;
  int32_t widthX = m_widthX, widthY = m_widthY;
  uint32_t colour = m_colour;
  is >> style >> widthX >> widthY >> colour;
  // Through the setters, so a damaged record cannot leave a style or width
  // the pen would never hold otherwise.
  SetStyle(style);
  SetWidth(widthX);
  SetColor(colour);
  EndFirstLine(is, version, kVersion);
  return is;
}

TOutStream& TPen::Write(TOutStream& os) const
{
  WriteHeader(os, kTPen, kVersion);
  os << ' ' << m_style << ' ' << m_widthX << ' ' << m_widthY << ' ' << m_colour << '\n';
  return os;
}

const QPen& TPen::GetHandle() const
{
  if (!m_dirty)
    return m_handle;
  QPen pen(ToQColor(m_colour));
  if (m_widthX == 0) {
    pen.setWidth(0);
    pen.setCosmetic(true);
  } else {
    pen.setWidth(m_widthX);
  }
  switch (m_style) {
  case kDash:
    pen.setStyle(Qt::DashLine);
    break;
  case kDot:
    pen.setStyle(Qt::DotLine);
    break;
  case kDashDot:
    pen.setStyle(Qt::DashDotLine);
    break;
  case kDashDotDot:
    pen.setStyle(Qt::DashDotDotLine);
    break;
  case kNull:
    pen.setStyle(Qt::NoPen);
    break;
  default:
    pen.setStyle(Qt::SolidLine);
    break;
  }
  // Wide pens have round ends and joins; hairlines end flat at their points.
  if (m_widthX > 1) {
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
  } else {
    pen.setCapStyle(Qt::FlatCap);
  }
  m_handle = pen;
  m_dirty = false;
  return m_handle;
}
