#pragma once

#include <QPalette>

// Whether a palette is a dark desktop theme's: its windows darker than
// middle grey. What is drawn in the program's own colours (toolbar
// pictures, the wells of radio buttons) is made lighter then.
inline bool IsDarkPalette(const QPalette& palette)
{
  return palette.color(QPalette::Window).lightness() < 128;
}
