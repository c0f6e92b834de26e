#include "DeviceMapping.h"

#include "Geometry.h"

void DeviceMapping::Set(int32_t windowOrgX, int32_t windowOrgY, int32_t windowExtX, int32_t windowExtY,
                        int32_t viewportExtX, int32_t viewportExtY)
{
  m_windowOrgX = windowOrgX;
  m_windowOrgY = windowOrgY;
  m_windowExtX = windowExtX != 0 ? windowExtX : 1;
  m_windowExtY = windowExtY != 0 ? windowExtY : 1;
  m_viewportExtX = viewportExtX;
  m_viewportExtY = viewportExtY;
}

QPointF DeviceMapping::ToDevice(int32_t x, int32_t y) const
{
  const double dx = static_cast<double>(int64_t{x} - m_windowOrgX) * m_viewportExtX / m_windowExtX;
  const double dy = static_cast<double>(int64_t{y} - m_windowOrgY) * m_viewportExtY / m_windowExtY;
  return QPointF(RoundHalfAway(dx), RoundHalfAway(dy));
}
