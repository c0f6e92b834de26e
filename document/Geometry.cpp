#include "Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

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

bool MayTurnInto(TPoint p, TPoint pivot, int32_t l, int32_t t, int32_t r, int32_t b)
{
  // Along the axes the distance is never more than the true distance, and
  // the farthest corner's axis sum never less than its true distance.
  auto farthest = [](int64_t from, int64_t low, int64_t high) {
    return std::max(std::abs(low - from), std::abs(high - from));
  };
  const int64_t reach = farthest(pivot.x, l, r) + farthest(pivot.y, t, b) + 1;
  return std::abs(int64_t{p.x} - pivot.x) <= reach && std::abs(int64_t{p.y} - pivot.y) <= reach;
}

int32_t MulDivRound(int64_t a, int64_t b, int64_t c)
{
  if (c == 0)
    return 0;
  // The product of two int32 values fits in 63 bits; halves are rounded away
  // from zero by adding half the divisor to the magnitude.
  const int64_t product = a * b;
  const bool negative = (product < 0) != (c < 0);
  const uint64_t n = product < 0 ? 0 - static_cast<uint64_t>(product) : static_cast<uint64_t>(product);
  const uint64_t d = c < 0 ? 0 - static_cast<uint64_t>(c) : static_cast<uint64_t>(c);
  const uint64_t q = (n + d / 2) / d;
  if (negative)
    return q > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()) + 1
               ? std::numeric_limits<int32_t>::min()
               : static_cast<int32_t>(0 - q);
  return q > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max()
                                                                        : static_cast<int32_t>(q);
}

bool HitSegment(int32_t px, int32_t py, TPoint a, TPoint b, int32_t width)
{
  if (width <= 0)
    width = 1;
  const int64_t t = width / 2 + 1;
  const int64_t minX = std::min(a.x, b.x) - t, maxX = static_cast<int64_t>(std::max(a.x, b.x)) + t;
  const int64_t minY = std::min(a.y, b.y) - t, maxY = static_cast<int64_t>(std::max(a.y, b.y)) + t;
  if (px < minX || px >= maxX || py < minY || py >= maxY)
    return false;
  auto dist = [](double x1, double y1, double x2, double y2) { return std::hypot(x2 - x1, y2 - y1); };
  const double len = dist(a.x, a.y, b.x, b.y);
  const double d1 = dist(px, py, a.x, a.y);
  const double d2 = dist(px, py, b.x, b.y);
  const double tol = static_cast<double>(t);
  if (len <= tol || d1 <= tol || d2 <= tol)
    return true;
  const double s = (d1 + len + d2) / 2;
  const double q = s * (s - d1) * (s - len) * (s - d2);
  if (q <= 3)
    return true;
  return RoundHalfAway(2 * std::sqrt(q) / len) <= t;
}

int32_t DirectionDegrees(TPoint from, TPoint to)
{
  if (from == to)
    return 0;
  const double dy = static_cast<double>(from.y) - to.y;
  const double dx = static_cast<double>(to.x) - from.x;
  int32_t a = RoundHalfAway(std::atan2(dy, dx) * 57.29577951);
  while (a < 0)
    a += 360;
  return a % 360;
}
