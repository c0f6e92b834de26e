#include "TBordure.h"

void TBordure::SetType(int32_t type)
{
  // Thickness by type, 0..16.
  static constexpr int32_t kThickness[kMaxType + 1] = {0, 1, 1, 2, 3, 4, 1, 3, kSizingFrameWidth,
                                                       3, 3, 1, 2, 2, 2, 3, 4};
  if (type < 0 || type > kMaxType)
    type = 0;
  m_type = type;
  m_thickness = kThickness[type];
}

TInStream& TBordure::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTBordure, version))
    return is;
  int32_t type = m_type;
  is >> type >> colour1 >> colour2;
  SetType(type);
  EndFirstLine(is, version, kVersion);
  return is;
}

TOutStream& TBordure::Write(TOutStream& os) const
{
  WriteHeader(os, kTBordure, kVersion);
  os << ' ' << m_type << ' ' << colour1 << ' ' << colour2 << '\n';
  return os;
}
