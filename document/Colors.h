#pragma once

#include <QColor>

#include <cstdint>

// Colours are stored as 0x00BBGGRR (red in the low byte). The all-ones value
// means "no colour": a hollow brush or a transparent background.
inline constexpr uint32_t kNoColor = 0xFFFFFFFF;

inline constexpr uint32_t MakeColor(uint8_t red, uint8_t green, uint8_t blue)
{
  return static_cast<uint32_t>(red) | (static_cast<uint32_t>(green) << 8) |
         (static_cast<uint32_t>(blue) << 16);
}

// kNoColor becomes a fully transparent QColor; the top byte of any other
// value is ignored.
QColor ToQColor(uint32_t bgr);
// A transparent or invalid QColor gives kNoColor; alpha is otherwise dropped.
uint32_t FromQColor(const QColor& colour);
