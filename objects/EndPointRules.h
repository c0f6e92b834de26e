#pragma once

#include "TPoint.h"

#include <cstdint>

class TData;
class TPage;
class TRect;

// Rules shared by the objects drawn from their end points (lines, arrows,
// dimension lines).

// The point distance units from `from` in the direction of `towards` (in
// whole degrees) turned by turnDegrees, counter-clockwise on the page, each
// coordinate rounded half away from zero; towards equal to from counts as
// the direction 0. The strokes of an open head are two such points at +30
// and -30 degrees, aimed back along the shaft.
TPoint PointToward(TPoint from, TPoint towards, int32_t distance, int32_t turnDegrees);

// Whether an end point may move by (a, b) while it is dragged alone inside
// the rectangle bounds (a TRect, may be null): 2 when there is no movement,
// 0 without bounds or when the end would leave them, otherwise 1. Only that
// end matters: the rectangle rule of TData would refuse a first drag towards
// the left or the top while the object is no wider than its head.
uint32_t MayMoveEndPoint(TPoint end, int32_t a, int32_t b, const void* bounds);

// GetRect of such an object for the modes it answers itself: 3, the start
// and the displacement to the end; 9, the two ends; 5, the drawing bounds.
// False for the other modes, which the base answers.
bool EndPointRect(const TData& object, TPoint start, TPoint end, int32_t mode, TRect& out);

// The reference cross of such an object while it is dragged: on the start
// while it is moved, on the end while it is sized.
void DrawDragCross(const TData& object, TPage* page, TPoint start, TPoint end);
