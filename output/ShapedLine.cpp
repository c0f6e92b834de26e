#include "ShapedLine.h"

#include "GlyphOutlines.h"

#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <QTextOption>
#include <QTransform>

#include <cmath>

namespace {

// Qt draws glyphs up to this size in device pixels from its glyph cache and
// fills larger ones as outlines.
constexpr double kLargestCachedGlyph = 64;

} // namespace

ShapedLine::ShapedLine(const QString& text, const QFont& font) : m_layout(text, font)
{
  QTextOption option;
  option.setTextDirection(Qt::LeftToRight);
  m_layout.setTextOption(option);
  m_layout.beginLayout();
  m_line = m_layout.createLine();
  m_layout.endLayout();
}

void ShapedLine::Draw(QPainter& painter, const QPointF& origin) const
{
  if (!m_line.isValid())
    return;
  const QFont& font = m_layout.font();
  const double scale = std::sqrt(std::abs(painter.combinedTransform().determinant()));
  // Outlines are for pixels only: on a PDF, an SVG or a printer text stays
  // text (searchable, selectable, with its font), however large it is there.
  const QPaintEngine* engine = painter.paintEngine();
  const bool pixels = engine && engine->type() == QPaintEngine::Raster;
  // Underline and strike-out are Qt's to draw, across the whole line.
  if (!pixels || font.pixelSize() * scale < kLargestCachedGlyph || font.underline() || font.strikeOut()) {
    painter.drawText(origin, m_layout.text());
    return;
  }
  // Glyph positions lie on the line's baseline, its ascent below the top.
  const QPointF top = origin - QPointF(0, m_line.ascent());
  const QBrush ink = painter.pen().brush();
  // Glyphs wholly outside what the painter may touch are not filled at all
  // (a band of a picture drawn on its own meets many lines that only reach
  // into it); compared in device pixels, where a band is a band even under
  // a turned text's transform.
  const QTransform toDevice = painter.combinedTransform();
  QRectF visible;
  if (const QPaintDevice* device = painter.device())
    visible = QRectF(0, 0, device->width(), device->height());
  if (painter.hasClipping())
    visible &= toDevice.mapRect(painter.clipBoundingRect());
  for (const QGlyphRun& run : m_line.glyphRuns()) {
    const QRawFont rawFont = run.rawFont();
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
      // Where Qt puts a glyph: its position cut to 1/64 pixel.
      const QPointF at = top + positions[i];
      const QPointF snapped(std::trunc(at.x() * 64) / 64, std::trunc(at.y() * 64) / 64);
      const QPainterPath& outline = GlyphOutline(rawFont, glyphs[i]);
      if (!toDevice.mapRect(outline.controlPointRect().translated(snapped)).intersects(visible))
        continue;
      painter.fillPath(outline.translated(snapped), ink);
    }
  }
}
