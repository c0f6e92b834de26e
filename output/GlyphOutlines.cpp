#include "GlyphOutlines.h"

#include <QTransform>

#include <cstddef>
#include <unordered_map>

namespace {

// Outlines of large glyphs kept at most; a long session only ever empties
// the store.
constexpr size_t kMaxGlyphOutlines = 4096;
// The size, in pixels, of the copy of a font that outlines are taken from.
constexpr double kOutlineSize = 2048;

struct RawFontHash
{
  size_t operator()(const QRawFont& font) const { return qHash(font); }
};

// The copy of font that hands out its outlines. A font's outlines at its
// own size come out a 64th of a pixel apart depending on what the font
// drew before (which glyphs it has rendered, at which transforms), so two
// threads, or one thread at two moments, would fill the same glyph a
// little differently. A copy made for nothing but outlines has no such
// history, and at this size its rounding is far below a pixel once scaled.
const QRawFont& OutlineSource(const QRawFont& font)
{
  thread_local std::unordered_map<QRawFont, QRawFont, RawFontHash> sources;
  if (auto found = sources.find(font); found != sources.end())
    return found->second;
  if (sources.size() >= kMaxGlyphOutlines)
    sources.clear();
  QRawFont source = font;
  source.setPixelSize(kOutlineSize);
  return sources.emplace(font, std::move(source)).first->second;
}

} // namespace

const QPainterPath& GlyphOutline(const QRawFont& font, quint32 glyph)
{
  struct Key
  {
    QRawFont font;
    quint32 glyph;
    bool operator==(const Key& other) const { return glyph == other.glyph && font == other.font; }
  };
  struct KeyHash
  {
    size_t operator()(const Key& key) const { return qHash(key.font, key.glyph); }
  };
  // One store per thread that draws: the fonts of other threads are not to
  // be touched.
  thread_local std::unordered_map<Key, QPainterPath, KeyHash> outlines;
  Key key{font, glyph};
  if (auto found = outlines.find(key); found != outlines.end())
    return found->second;
  if (outlines.size() >= kMaxGlyphOutlines)
    outlines.clear();
  const double scale = font.pixelSize() / kOutlineSize;
  QPainterPath outline = QTransform::fromScale(scale, scale).map(OutlineSource(font).pathForGlyph(glyph));
  outline.setFillRule(Qt::WindingFill);
  return outlines.emplace(std::move(key), std::move(outline)).first->second;
}
