#include "Colors.h"

QColor ToQColor(uint32_t bgr)
{
  if (bgr == kNoColor)
    return QColor(0, 0, 0, 0);
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

uint32_t FromQColor(const QColor& colour)
{
  if (!colour.isValid() || colour.alpha() == 0)
    return kNoColor;
  const QColor rgb = colour.toRgb();
  return MakeColor(static_cast<uint8_t>(rgb.red()), static_cast<uint8_t>(rgb.green()),
                   static_cast<uint8_t>(rgb.blue()));
}
