#include "TPageMemOctree.h"

#include "TPageMem.h"

#include <algorithm>

bool TPageMemOctree::Attach(TPageMem* page, int32_t maxColors, bool measureError)
{
  m_page = page;
  return page && Quantize(maxColors, measureError);
}

bool TPageMemOctree::GetSize(int32_t& width, int32_t& height)
{
  if (!m_page->HasBitmap())
    return false;
  uint32_t w = 0, h = 0;
  m_page->GetSize(w, h);
  width = static_cast<int32_t>(w);
  height = static_cast<int32_t>(h);
  return true;
}

bool TPageMemOctree::GetPixel(int32_t x, int32_t y, OctColour& colour)
{
  const uint32_t rgb = m_page->GetPixel(x, y);
  colour = {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)};
  return true;
}

bool TPageMemOctree::SetPixelIndex(int32_t x, int32_t y, uint8_t index)
{
  return m_page->SetPixelIndex(x, y, index);
}

bool TPageMemOctree::SetPalette(const OctColour* colours, int32_t count)
{
  for (int32_t i = 0; i < std::min(count, 256); ++i)
    if (!m_page->SetPaletteEntry(i, uint32_t{colours[i].red} << 16 | uint32_t{colours[i].green} << 8 |
                                        colours[i].blue))
      return false;
  return true;
}
