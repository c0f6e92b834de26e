#pragma once

#include "TGifWriter.h"

class TPageMem;

// Writes the indexed view of a memory page (after colour reduction) as GIF.
class TGifExport : public TGifWriter
{
public:
  explicit TGifExport(const TPageMem* page) : m_page(page) {}

  bool GetLine(uint8_t* row, uint32_t y) override;
  bool GetPalette(uint8_t* rgb) override;

private:
  const TPageMem* m_page;
};
