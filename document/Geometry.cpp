#include "Geometry.h"

#include <cmath>
#include <limits>
#include <numbers>

int32_t SaturateInt32(int64_t value)
{
  if (value > std::numeric_limits<int32_t>::max())
    return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min())
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

int32_t RoundHalfAway(double value)
{
  if (std::isnan(value))
    return 0;
  // std::round rounds halves away from zero; clamp before converting so that
  // out-of-range values cannot invoke undefined behaviour.
  const double r = std::round(value);
  if (r >= static_cast<double>(std::numeric_limits<int32_t>::max()))
    return std::numeric_limits<int32_t>::max();
  if (r <= static_cast<double>(std::numeric_limits<int32_t>::min()))
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(r);
}

TPoint RotatePoint(TPoint p, TPoint centre, double angleDegrees)
{
  const double a = angleDegrees * std::numbers::pi / 180.0;
  const double c = std::cos(a);
  const double s = std::sin(a);
  const double dx = static_cast<double>(static_cast<int64_t>(p.x) - centre.x);
  const double dy = static_cast<double>(static_cast<int64_t>(p.y) - centre.y);
  // The offsets are rounded before the centre is added (rounding the sum
  // would move halves the other way on one side of the centre); the sums are
  // exact in double and saturate only at the end.
  return {RoundHalfAway(centre.x + std::round(dx * c + dy * s)),
          RoundHalfAway(centre.y + std::round(dy * c - dx * s))};
}
