#include "EndPointRules.h"

#include "CommandIds.h"
#include "Geometry.h"
#include "ObjectPaint.h"
#include "TData.h"
#include "TPage.h"

#include <cmath>
#include <numbers>

TPoint PointToward(TPoint from, TPoint towards, int32_t distance, int32_t turnDegrees)
{
  const double phi = (DirectionDegrees(from, towards) + turnDegrees) * std::numbers::pi / 180.0;
  return {SaturateInt32(int64_t{from.x} + RoundHalfAway(distance * std::cos(phi))),
          SaturateInt32(int64_t{from.y} + RoundHalfAway(-static_cast<double>(distance) * std::sin(phi)))};
}

uint32_t MayMoveEndPoint(TPoint end, int32_t a, int32_t b, const void* bounds)
{
  if (a == 0 && b == 0)
    return 2;
  if (!bounds)
    return 0;
  const TRect& r = *static_cast<const TRect*>(bounds);
  const int64_t x = int64_t{end.x} + a;
  const int64_t y = int64_t{end.y} + b;
  if ((a < 0 && x < r.left) || (b < 0 && y < r.top) || (a > 0 && x > r.right) || (b > 0 && y > r.bottom))
    return 0;
  return 1;
}

bool EndPointRect(const TData& object, TPoint start, TPoint end, int32_t mode, TRect& out)
{
  switch (mode) {
  case kRectPosition:
    out = TRect(start.x, start.y, SaturateInt32(int64_t{end.x} - start.x),
                SaturateInt32(int64_t{end.y} - start.y));
    return true;
  case kRectDrawing:
    out = StrokeBounds(object);
    return true;
  case kRectEndPoints:
    out = TRect(start.x, start.y, end.x, end.y);
    return true;
  default:
    return false;
  }
}

void DrawDragCross(const TData& object, TPage* page, TPoint start, TPoint end)
{
  if (page->GetDragMode() == CM_OBJ_POSITION)
    object.DrawReferenceCross(page, start.x, start.y);
  else if (page->GetDragMode() == CM_OBJ_SIZE)
    object.DrawReferenceCross(page, end.x, end.y);
}
