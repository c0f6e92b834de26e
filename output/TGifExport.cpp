#include "TGifExport.h"

#include "TPageMem.h"

bool TGifExport::GetLine(uint8_t* row, uint32_t y)
{
  return m_page->GetRow8(row, static_cast<int32_t>(y));
}

bool TGifExport::GetPalette(uint8_t* rgb)
{
  m_page->GetPalette(nullptr, rgb);
  return true;
}
