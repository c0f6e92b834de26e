#include "TBrush.h"

#include "Colors.h"

uint32_t TBrush::GetColor() const
{
  return m_style == kHollow ? kNoColor : m_colour;
}

void TBrush::SetColor(uint32_t colour)
{
  if (colour == m_colour)
    return;
  m_colour = colour;
  m_dirty = true;
}

void TBrush::SetStyle(uint32_t style)
{
  if (style == m_style)
    return;
  m_style = style;
  m_dirty = true;
}

void TBrush::SetHatch(int32_t hatch)
{
  if (hatch == m_hatch)
    return;
  m_hatch = hatch;
  m_dirty = true;
}

TInStream& TBrush::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTBrush, version))
    return is;
  uint32_t style = m_style, colour = m_colour;
  uint32_t hatch = static_cast<uint32_t>(m_hatch);
  is >> style >> colour >> hatch;
  SetStyle(style);
  SetColor(colour);
  SetHatch(static_cast<int32_t>(hatch));
  EndFirstLine(is, version, kVersion);
  return is;
}

TOutStream& TBrush::Write(TOutStream& os) const
{
  WriteHeader(os, kTBrush, kVersion);
  os << ' ' << m_style << ' ' << m_colour << ' ' << static_cast<uint32_t>(m_hatch) << '\n';
  return os;
}

void TBrush::FromHandle(const QBrush& brush)
{
  SetColor(FromQColor(brush.color()));
  switch (brush.style()) {
  case Qt::NoBrush:
    SetStyle(kHollow);
    return;
  case Qt::HorPattern:
    SetHatch(kHorizontal);
    break;
  case Qt::VerPattern:
    SetHatch(kVertical);
    break;
  case Qt::FDiagPattern:
    SetHatch(kForwardDiagonal);
    break;
  case Qt::BDiagPattern:
    SetHatch(kBackwardDiagonal);
    break;
  case Qt::CrossPattern:
    SetHatch(kCross);
    break;
  case Qt::DiagCrossPattern:
    SetHatch(kDiagonalCross);
    break;
  default:
    SetStyle(kSolid);
    return;
  }
  SetStyle(kHatched);
}

const QBrush& TBrush::GetHandle() const
{
  if (!m_dirty)
    return m_handle;
  Qt::BrushStyle style = Qt::SolidPattern;
  if (m_style == kHollow) {
    style = Qt::NoBrush;
  } else if (m_style == kHatched) {
    switch (m_hatch) {
    case kHorizontal:
      style = Qt::HorPattern;
      break;
    case kVertical:
      style = Qt::VerPattern;
      break;
    case kForwardDiagonal:
      style = Qt::FDiagPattern;
      break;
    case kBackwardDiagonal:
      style = Qt::BDiagPattern;
      break;
    case kCross:
      style = Qt::CrossPattern;
      break;
    case kDiagonalCross:
      style = Qt::DiagCrossPattern;
      break;
    default:
      break;
    }
  }
  m_handle = QBrush(ToQColor(m_colour), style);
  m_dirty = false;
  return m_handle;
}
