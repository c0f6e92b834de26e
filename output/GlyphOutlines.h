#pragma once

#include <QPainterPath>
#include <QRawFont>

// The outline of a glyph of a font, in the font's pixels from the glyph's
// origin, filled as Qt fills glyphs. Reading it from the font file costs
// about as much as filling it, and large text is mostly the same few glyphs
// over and over, so outlines are kept between paints.
const QPainterPath& GlyphOutline(const QRawFont& font, quint32 glyph);
