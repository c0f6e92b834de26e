#pragma once

#include <cstdint>

// A point in the page's logical units.
struct TPoint
{
  int32_t x = 0;
  int32_t y = 0;

  friend bool operator==(const TPoint&, const TPoint&) = default;
};
