#include "TPngExport.h"

#include "TPageMem.h"

#include <algorithm>
#include <cstring>

bool TPngExport::GetLine(uint8_t* row, uint32_t y, uint32_t width, uint32_t bits)
{
  uint32_t pageWidth = 0, pageHeight = 0;
  m_page->GetSize(pageWidth, pageHeight);
  if (width != pageWidth)
    return false;
  if (bits == 24)
    return m_page->GetRow24(row, static_cast<int32_t>(y));
  if (bits == 8)
    return m_page->GetRow8(row, static_cast<int32_t>(y));
  return false;
}

bool TPngExport::GetPalette(uint8_t* rgb, uint32_t count)
{
  uint8_t all[3 * 256];
  m_page->GetPalette(nullptr, all);
  std::memcpy(rgb, all, 3 * std::min<uint32_t>(count, 256));
  return true;
}
