#include "TRect.h"

#include "Geometry.h"

#include <algorithm>

TRect::TRect(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b)
{
  classId = kTRect;
}

TRect::TRect(TPoint a, TPoint b) : left(a.x), top(a.y), right(b.x), bottom(b.y)
{
  classId = kTRect;
  Normalize();
}

TRect& TRect::operator=(const TRect& other)
{
  Assign(other);
  return *this;
}

void TRect::Assign(const TRect& other)
{
  left = other.left;
  top = other.top;
  right = other.right;
  bottom = other.bottom;
}

TInStream& TRect::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTRect, version))
    return is;
  is >> left >> top >> right >> bottom;
  EndFirstLine(is, version, kVersion);
  return is;
}

TOutStream& TRect::Write(TOutStream& os) const
{
  WriteHeader(os, kTRect, kVersion);
  os << ' ' << left << ' ' << top << ' ' << right << ' ' << bottom << '\n';
  return os;
}

bool TRect::Contains(int32_t x, int32_t y) const
{
  return x >= left && x < right && y >= top && y < bottom;
}

bool TRect::Offset(int32_t dx, int32_t dy)
{
  if (dx == 0 && dy == 0)
    return false;
  left = SaturateInt32(int64_t{left} + dx);
  right = SaturateInt32(int64_t{right} + dx);
  top = SaturateInt32(int64_t{top} + dy);
  bottom = SaturateInt32(int64_t{bottom} + dy);
  return true;
}

bool TRect::Resize(int32_t dx, int32_t dy)
{
  const int32_t newRight = std::max(left, SaturateInt32(int64_t{right} + dx));
  const int32_t newBottom = std::max(top, SaturateInt32(int64_t{bottom} + dy));
  const bool changed = newRight != right || newBottom != bottom;
  right = newRight;
  bottom = newBottom;
  return changed;
}

void TRect::Normalize()
{
  if (right < left)
    std::swap(left, right);
  if (bottom < top)
    std::swap(top, bottom);
}

int32_t TRect::Width() const
{
  return SaturateInt32(int64_t{right} - left);
}

int32_t TRect::Height() const
{
  return SaturateInt32(int64_t{bottom} - top);
}

TPoint TRect::Center() const
{
  // Integer division truncates toward zero, which is the rounding wanted.
  return {SaturateInt32(left + (int64_t{right} - left) / 2),
          SaturateInt32(top + (int64_t{bottom} - top) / 2)};
}

bool TRect::IsInside(const TRect& other) const
{
  return left >= other.left && top >= other.top && right <= other.right && bottom <= other.bottom;
}

bool TRect::Intersects(const TRect& other) const
{
  return std::max(left, other.left) < std::min(right, other.right) &&
         std::max(top, other.top) < std::min(bottom, other.bottom);
}

void TRect::Union(const TRect& other)
{
  if (other.IsEmpty()) {
    if (IsEmpty())
      Assign(TRect());
    return;
  }
  if (IsEmpty()) {
    Assign(other);
    return;
  }
  left = std::min(left, other.left);
  top = std::min(top, other.top);
  right = std::max(right, other.right);
  bottom = std::max(bottom, other.bottom);
}

bool TRect::IsSmallerThan(const TRect& other) const
{
  const int64_t mine = (int64_t{right} - left) * (int64_t{bottom} - top);
  const int64_t theirs = (int64_t{other.right} - other.left) * (int64_t{other.bottom} - other.top);
  return mine < theirs;
}

void TRect::Inflate(int32_t n)
{
  left = SaturateInt32(int64_t{left} - n);
  top = SaturateInt32(int64_t{top} - n);
  right = SaturateInt32(int64_t{right} + n);
  bottom = SaturateInt32(int64_t{bottom} + n);
}

void TRect::Deflate(int32_t n)
{
  Inflate(SaturateInt32(-int64_t{n}));
}

int32_t TRect::Overhang(const TRect& other, int32_t& dLeft, int32_t& dRight, int32_t& dTop,
                        int32_t& dBottom) const
{
  dLeft = left < other.left ? SaturateInt32(int64_t{other.left} - left) : 0;
  dTop = top < other.top ? SaturateInt32(int64_t{other.top} - top) : 0;
  dRight = right > other.right ? SaturateInt32(int64_t{right} - other.right) : 0;
  dBottom = bottom > other.bottom ? SaturateInt32(int64_t{bottom} - other.bottom) : 0;
  int32_t mask = 0;
  if (dLeft)
    mask |= kOverLeft;
  if (dTop)
    mask |= kOverTop;
  if (dRight)
    mask |= kOverRight;
  if (dBottom)
    mask |= kOverBottom;
  return mask;
}

void TRect::ClampPoint(int32_t& x, int32_t& y) const
{
  x = std::max(left, std::min(x, right));
  y = std::max(top, std::min(y, bottom));
}
