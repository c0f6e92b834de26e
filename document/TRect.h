#pragma once

#include "ClassTable.h"
#include "TPoint.h"
#include "TStreamable.h"

#include <cstdint>

// An integer rectangle in the page's logical units. Width and height are
// right - left and bottom - top without absolute value, so they are only
// non-negative for a normalised rectangle. Like the platform's rectangles,
// the right and bottom edges lie outside the rectangle for hit tests and
// intersections.
class TRect : public TStreamable
{
public:
  static constexpr int32_t kVersion = 0;

  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  TRect() { classId = kTRect; }
  TRect(const TRect& other) = default;
  // Assignment copies the coordinates only; an object keeps its class.
  TRect& operator=(const TRect& other);
  // The coordinates as given, not reordered.
  TRect(int32_t l, int32_t t, int32_t r, int32_t b);
  // The rectangle spanned by two corners, normalised.
  TRect(TPoint a, TPoint b);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;

  // Hit test: left <= x < right and top <= y < bottom.
  virtual bool Contains(int32_t x, int32_t y) const;
  // Moves the rectangle; false when both deltas are 0.
  virtual bool Offset(int32_t dx, int32_t dy);
  // Moves the right and bottom edges, never past left and top; true when
  // either edge moved.
  virtual bool Resize(int32_t dx, int32_t dy);

  void Assign(const TRect& other);
  void Normalize();
  int32_t Width() const;
  int32_t Height() const;
  // (left + width / 2, top + height / 2), halves rounded toward zero.
  TPoint Center() const;
  bool IsEmpty() const { return right <= left || bottom <= top; }

  // True when this rectangle lies within other (edges may touch).
  bool IsInside(const TRect& other) const;
  // True when the two rectangles share at least one point (right and bottom
  // edges excluded; empty rectangles never intersect).
  bool Intersects(const TRect& other) const;
  // This becomes the smallest rectangle holding both. An empty rectangle
  // adds nothing; when both are empty the result is all zero.
  void Union(const TRect& other);
  // Compares areas (computed in 64 bits, so large rectangles compare right).
  bool IsSmallerThan(const TRect& other) const;
  void Inflate(int32_t n = 1);
  void Deflate(int32_t n = 1);

  // Side bits of Overhang.
  enum : int32_t { kOverTop = 1, kOverRight = 2, kOverBottom = 4, kOverLeft = 8 };
  // How far this rectangle sticks out of other on each side (0 where it does
  // not); returns the mask of the sides that stick out.
  int32_t Overhang(const TRect& other, int32_t& dLeft, int32_t& dRight, int32_t& dTop,
                   int32_t& dBottom) const;
  // Moves (x, y) to the nearest point of the rectangle, edges included.
  void ClampPoint(int32_t& x, int32_t& y) const;
};
