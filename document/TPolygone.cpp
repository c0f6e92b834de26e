#include "TPolygone.h"

#include "Geometry.h"

#include <algorithm>
#include <limits>
#include <new>

TPolygone::TPolygone(uint16_t capacity, const TPoint* points)
{
  classId = kTPolygone;
  SetCapacity(capacity);
  if (points && capacity > 0)
    SetPoints(points, Capacity());
}

TPolygone::TPolygone(const TRect& rect)
{
  classId = kTPolygone;
  SetCapacity(4);
  SetRectPoints(0, rect);
}

bool TPolygone::SetCapacity(uint16_t n)
{
  if (n == 0) {
    std::vector<TPoint>().swap(m_points);
    m_count = 0;
    return false;
  }
  if (n == m_points.size())
    return true;
  try {
    std::vector<TPoint> grown(n);
    std::copy_n(m_points.begin(), std::min<size_t>(m_count, n), grown.begin());
    m_points.swap(grown);
  } catch (const std::bad_alloc&) {
    return false;
  }
  m_count = std::min(m_count, n);
  return true;
}

bool TPolygone::GetPoint(uint16_t i, TPoint& out) const
{
  if (i >= m_count)
    return false;
  out = m_points[i];
  return true;
}

bool TPolygone::SetPoint(uint16_t i, TPoint p)
{
  if (i >= m_points.size())
    return false;
  m_points[i] = p;
  m_count = std::max<uint16_t>(m_count, i + 1);
  return true;
}

bool TPolygone::Append(TPoint p)
{
  if (m_count >= m_points.size())
    return false;
  m_points[m_count++] = p;
  return true;
}

bool TPolygone::AppendCopyOfLast()
{
  return Append(m_count > 0 ? m_points[m_count - 1] : TPoint{});
}

bool TPolygone::SetPoints(const TPoint* points, uint16_t n)
{
  if (!points || n == 0 || n > m_points.size())
    return false;
  std::copy_n(points, n, m_points.begin());
  m_count = n;
  return true;
}

bool TPolygone::SetRectPoints(uint16_t i, const TRect& rect)
{
  if (size_t{i} + 4 > m_points.size())
    return false;
  m_points[i] = {rect.left, rect.top};
  m_points[i + 1] = {rect.right, rect.top};
  m_points[i + 2] = {rect.right, rect.bottom};
  m_points[i + 3] = {rect.left, rect.bottom};
  m_count = std::max<uint16_t>(m_count, i + 4);
  return true;
}

bool TPolygone::RemoveLast()
{
  if (m_count == 0)
    return false;
  --m_count;
  return true;
}

void TPolygone::Reverse()
{
  std::reverse(m_points.begin(), m_points.begin() + m_count);
}

void TPolygone::Rotate(TPoint centre, int32_t angleDegrees)
{
  if (angleDegrees == 0)
    return;
  for (uint16_t i = 0; i < m_count; ++i)
    m_points[i] = RotatePoint(m_points[i], centre, angleDegrees);
}

bool TPolygone::GetBounds(TRect& out) const
{
  if (m_count == 0) {
    out.Assign(TRect());
    return false;
  }
  TRect bounds(m_points[0].x, m_points[0].y, m_points[0].x, m_points[0].y);
  for (uint16_t i = 1; i < m_count; ++i) {
    bounds.left = std::min(bounds.left, m_points[i].x);
    bounds.top = std::min(bounds.top, m_points[i].y);
    bounds.right = std::max(bounds.right, m_points[i].x);
    bounds.bottom = std::max(bounds.bottom, m_points[i].y);
  }
  // Widen a flat extent by one unit, downward at the very top of the range.
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  if (bounds.right == bounds.left) {
    if (bounds.right == kMax)
      --bounds.left;
    else
      ++bounds.right;
  }
  if (bounds.bottom == bounds.top) {
    if (bounds.bottom == kMax)
      --bounds.top;
    else
      ++bounds.bottom;
  }
  out.Assign(bounds);
  return true;
}

TInStream& TPolygone::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTPolygone, version))
    return is;
  uint16_t count = 0;
  is >> count;
  if (is.fail())
    return is;
  // The record replaces the list: points of a longer earlier list must not
  // stay in use behind the ones read.
  m_count = 0;
  // The stored count is not trusted with memory: the points are kept as
  // they are read, so a count the file cannot back costs nothing.
  std::vector<TPoint> read;
  for (uint16_t i = 0; i < count; ++i) {
    TPoint p;
    is >> p.x >> p.y;
    if (is.fail())
      break;
    read.push_back(p);
  }
  if (!read.empty() && read.size() > m_points.size() && !SetCapacity(static_cast<uint16_t>(read.size()))) {
    is.setstate(TInStream::FailBit);
    return is;
  }
  for (size_t i = 0; i < read.size(); ++i)
    SetPoint(static_cast<uint16_t>(i), read[i]);
  if (!is.fail())
    EndFirstLine(is, version, kVersion);
  return is;
}

TOutStream& TPolygone::Write(TOutStream& os) const
{
  WriteHeader(os, kTPolygone, kVersion);
  os << ' ' << m_count << ' ';
  for (uint16_t i = 0; i < m_count; ++i)
    os << m_points[i].x << ' ' << m_points[i].y << ' ';
  os << '\n';
  return os;
}
