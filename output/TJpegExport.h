#pragma once

#include "TJpegWriter.h"

class TPageMem;

// Writes a memory page as JPEG.
class TJpegExport : public TJpegWriter
{
public:
  explicit TJpegExport(const TPageMem* page) : m_page(page) {}

  bool GetLine(uint8_t* row, uint32_t y, uint32_t width, uint32_t bits) override;

private:
  const TPageMem* m_page;
};
