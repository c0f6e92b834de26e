#pragma once

#include "TPoint.h"

#include <cstdint>
#include <limits>

// Integer geometry shared by every object: all rounding to logical units and
// all turning of points go through these, so every object agrees on where a
// turned or scaled point lands.

// Clamps a wide intermediate result into the int32 coordinate range. Inline:
// every coordinate computation goes through it, hit tests of whole pages too.
inline int32_t SaturateInt32(int64_t value)
{
  if (value > std::numeric_limits<int32_t>::max())
    return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min())
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

// a - b, saturated: the move that brings b to a, safe for any two stored
// coordinates.
inline int32_t SaturatedDifference(int32_t a, int32_t b)
{
  return SaturateInt32(int64_t{a} - b);
}

// p moved by (dx, dy), each coordinate saturated.
inline TPoint OffsetPoint(TPoint p, int32_t dx, int32_t dy)
{
  return {SaturateInt32(int64_t{p.x} + dx), SaturateInt32(int64_t{p.y} + dy)};
}

// Rounds half away from zero (2.5 -> 3, -2.5 -> -3), saturating to the int32
// range; NaN gives 0.
int32_t RoundHalfAway(double value);

// Turns p about centre by angleDegrees, counter-clockwise on the page (whose y
// axis points down): with d = p - centre,
//   x' = cx + round(dx cos a + dy sin a),  y' = cy + round(dy cos a - dx sin a).
TPoint RotatePoint(TPoint p, TPoint centre, double angleDegrees);

// False when no turn about pivot can bring p into the rectangle (l, t)-(r, b):
// p lies farther from pivot than the rectangle's farthest corner can, with a
// unit to spare for the rounding of RotatePoint. A cheap test to make before
// turning a point back into a turned box; never false for a point that
// turns into it.
bool MayTurnInto(TPoint p, TPoint pivot, int32_t l, int32_t t, int32_t r, int32_t b);

// a * b / c with a 64-bit intermediate, rounded half away from zero and
// saturated to the int32 range (the platform's rounded multiply-divide);
// 0 when c is 0.
int32_t MulDivRound(int64_t a, int64_t b, int64_t c);

// The hit test of every stroked segment: does (px, py) touch the segment
// a-b drawn with a stroke of the given width (0 counts as 1)? The tolerance
// is width / 2 + 1 units: the point must lie in the segment's bounding box
// grown by the tolerance (right and bottom exclusive), then near an end or,
// by Heron's formula on the triangle point-a-b, near the line itself.
bool HitSegment(int32_t px, int32_t py, TPoint a, TPoint b, int32_t width);

// The direction from one point to another in whole degrees, counter-clockwise
// on the page (y grows downwards), in 0..359; 0 when the points coincide.
int32_t DirectionDegrees(TPoint from, TPoint to);
