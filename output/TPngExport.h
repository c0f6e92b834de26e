#pragma once

#include "TPngWriter.h"

class TPageMem;

// Writes a memory page as PNG: 24-bit rows or, at 8 bits, its palette
// indices with its palette.
class TPngExport : public TPngWriter
{
public:
  explicit TPngExport(const TPageMem* page) : m_page(page) {}

  bool GetLine(uint8_t* row, uint32_t y, uint32_t width, uint32_t bits) override;
  bool GetPalette(uint8_t* rgb, uint32_t count) override;

private:
  const TPageMem* m_page;
};
