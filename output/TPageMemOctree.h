#pragma once

#include "TOctree.h"

class TPageMem;

// Reduces the colours of a memory page: the palette and every pixel's
// index go into the page's indexed view (see TPageMem::AllocIndexed).
class TPageMemOctree : public TOctree
{
public:
  // Stores the page and reduces it; false for a null page or a failed
  // reduction.
  bool Attach(TPageMem* page, int32_t maxColors = 256, bool measureError = false);

protected:
  bool GetSize(int32_t& width, int32_t& height) override;
  bool GetPixel(int32_t x, int32_t y, OctColour& colour) override;
  bool SetPixelIndex(int32_t x, int32_t y, uint8_t index) override;
  bool SetPalette(const OctColour* colours, int32_t count) override;

private:
  TPageMem* m_page = nullptr;
};
