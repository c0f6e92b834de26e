#pragma once

#include "TPoint.h"

#include <cstdint>

// Integer geometry shared by every object: all rounding to logical units and
// all turning of points go through these, so every object agrees on where a
// turned or scaled point lands.

// Clamps a wide intermediate result into the int32 coordinate range.
int32_t SaturateInt32(int64_t value);

// Rounds half away from zero (2.5 -> 3, -2.5 -> -3), saturating to the int32
// range; NaN gives 0.
int32_t RoundHalfAway(double value);

// Turns p about centre by angleDegrees, counter-clockwise on the page (whose y
// axis points down): with d = p - centre,
//   x' = cx + round(dx cos a + dy sin a),  y' = cy + round(dy cos a - dx sin a).
TPoint RotatePoint(TPoint p, TPoint centre, double angleDegrees);
