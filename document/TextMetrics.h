#pragma once

#include <QFont>

#include <cstdint>
#include <string_view>

class TFont;

// How text measures, with or without a device to draw on: a page lays out
// its texts the same whether it is bound to a window, an image, a printer or
// nothing at all, so every surface measures through here.

// The font as text is drawn and measured: the font's logical size without
// hinting, so a text measures the same in logical units at every zoom.
// Fonts of the same description share one QFont.
const QFont& TextFont(const TFont& font);

// Width and height (ascent + descent) of a text in logical units; 0 x 0
// without a QGuiApplication (there is no font database then).
void MeasureText(const QFont& textFont, std::string_view utf8, int32_t& width, int32_t& height);

// The text as Qt takes it.
QString ToQString(std::string_view utf8);
