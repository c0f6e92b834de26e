#pragma once

#include <cstdint>
#include <vector>

// The etched groove of a dialog frame drawn on a page: a sunken outer line
// (dark above and left, light below and right) around a raised inner one,
// as bands one unit (pixel or metafile unit) thick.
struct EdgeBand
{
  int32_t x, y, width, height;
  bool shadow; // the dark colour, else the light one
};
inline constexpr uint32_t kEdgeShadowRgb = 0x808080; // 0xRRGGBB
inline constexpr uint32_t kEdgeHighlightRgb = 0xFFFFFF;

// The bands of a groove around the box at (x, y) of w x h units; none when
// the box is too small to show one.
std::vector<EdgeBand> EtchedEdge(int32_t x, int32_t y, int32_t w, int32_t h);
