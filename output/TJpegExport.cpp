#include "TJpegExport.h"

#include "TPageMem.h"

bool TJpegExport::GetLine(uint8_t* row, uint32_t y, uint32_t width, uint32_t bits)
{
  uint32_t pageWidth = 0, pageHeight = 0;
  m_page->GetSize(pageWidth, pageHeight);
  if (bits != 24 || width != pageWidth)
    return false;
  return m_page->GetRow24(row, static_cast<int32_t>(y));
}
