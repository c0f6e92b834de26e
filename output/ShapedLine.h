#pragma once

#include <QFont>
#include <QPointF>
#include <QString>
#include <QTextLayout>

class QPainter;

// A line of text shaped once, to be measured and drawn.
class ShapedLine
{
public:
  ShapedLine(const QString& text, const QFont& font);

  double Width() const { return m_line.isValid() ? m_line.horizontalAdvance() : 0; }

  // Draws the line in the painter's pen colour with its baseline's left end
  // at origin, as QPainter::drawText does. Qt fills glyphs too large for its
  // glyph cache as one outline per line, which the rasterizer takes in
  // bands, every band walking the whole outline: a line of large glyphs
  // costs many times what its glyphs cost one by one. Such lines are filled
  // here glyph by glyph, from kept outlines; the glyphs of a line do not
  // overlap, so the pixels are the same.
  void Draw(QPainter& painter, const QPointF& origin) const;

private:
  QTextLayout m_layout;
  QTextLine m_line;
};
