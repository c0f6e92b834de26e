#include "EtchedEdge.h"

std::vector<EdgeBand> EtchedEdge(int32_t x, int32_t y, int32_t w, int32_t h)
{
  if (w < 2 || h < 2)
    return {};
  std::vector<EdgeBand> bands = {
      {x, y, w - 1, 1, true},
      {x, y, 1, h - 1, true},
      {x, y + h - 1, w, 1, false},
      {x + w - 1, y, 1, h, false},
  };
  if (w < 4 || h < 4)
    return bands;
  bands.insert(bands.end(), {
                                {x + 1, y + 1, w - 3, 1, false},
                                {x + 1, y + 1, 1, h - 3, false},
                                {x + 1, y + h - 2, w - 2, 1, true},
                                {x + w - 2, y + 1, 1, h - 2, true},
                            });
  return bands;
}
