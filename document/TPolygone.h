#pragma once

#include "ClassTable.h"
#include "TPoint.h"
#include "TRect.h"
#include "TStreamable.h"

#include <cstdint>
#include <vector>

// A list of points with a separate capacity: count points are in use, and
// capacity points are allocated (never fewer than count). Points that
// growing adds are (0, 0). Operations that cannot be carried out (index out
// of range, list full, no memory) return false and change nothing.
class TPolygone : public TStreamable
{
public:
  static constexpr int32_t kVersion = 0;

  // capacity points, all (0, 0) and none in use; with points, the first
  // capacity of them, all in use.
  explicit TPolygone(uint16_t capacity = 0, const TPoint* points = nullptr);
  // The four corners of rect: top left, top right, bottom right, bottom left.
  explicit TPolygone(const TRect& rect);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;

  uint16_t Count() const { return m_count; }
  uint16_t Capacity() const { return static_cast<uint16_t>(m_points.size()); }
  // The points in use, Count() of them (null when there is no array).
  const TPoint* Points() const { return m_points.empty() ? nullptr : m_points.data(); }

  // Reallocates to n points, keeping those in use that still fit. n = 0
  // frees the array and reports false.
  bool SetCapacity(uint16_t n);
  bool GetPoint(uint16_t i, TPoint& out) const;
  // Any index below the capacity; raises the count to i + 1 when needed.
  bool SetPoint(uint16_t i, TPoint p);
  bool Append(TPoint p);
  // Appends a copy of the last point, or (0, 0) to an empty list.
  bool AppendCopyOfLast();
  // Replaces the list by the n points given (1 <= n <= capacity).
  bool SetPoints(const TPoint* points, uint16_t n);
  // Writes the four corners of rect (in the constructor's order) from
  // index i; raises the count to at least i + 4.
  bool SetRectPoints(uint16_t i, const TRect& rect);
  bool RemoveLast();
  void Reverse();
  // Turns the points in use about centre, counter-clockwise on the page.
  void Rotate(TPoint centre, int32_t angleDegrees);
  // The smallest rectangle holding the points in use, widened by one unit
  // where it would be empty, so the bounds always have an area. False, with
  // an all-zero rectangle, when no point is in use.
  bool GetBounds(TRect& out) const;

private:
  std::vector<TPoint> m_points; // size() is the capacity
  uint16_t m_count = 0;
};
