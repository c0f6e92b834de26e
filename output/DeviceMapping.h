#pragma once

#include <QPointF>

#include <cstdint>

// How a page's logical units land on device pixels: logical (x, y) shows at
// ((x - windowOrgX) * viewportExtX / windowExtX, ...), rounded half away from
// zero, so that edges fall on whole pixels at every zoom. Every device that
// draws pixels, and every one that must know where they will fall, maps
// through this.
class DeviceMapping
{
public:
  void Set(int32_t windowOrgX, int32_t windowOrgY, int32_t windowExtX, int32_t windowExtY,
           int32_t viewportExtX, int32_t viewportExtY);

  QPointF ToDevice(int32_t x, int32_t y) const;
  double ScaleX() const { return static_cast<double>(m_viewportExtX) / m_windowExtX; }
  double ScaleY() const { return static_cast<double>(m_viewportExtY) / m_windowExtY; }

private:
  int32_t m_windowOrgX = 0, m_windowOrgY = 0;
  int32_t m_windowExtX = 1, m_windowExtY = 1;
  int32_t m_viewportExtX = 1, m_viewportExtY = 1;
};
