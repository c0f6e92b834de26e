#include "GlyphOutlines.h"

#include <cstddef>
#include <unordered_map>

namespace {

// Outlines of large glyphs kept at most; a long session only ever empties
// the store.
constexpr size_t kMaxGlyphOutlines = 4096;

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
  static std::unordered_map<Key, QPainterPath, KeyHash> outlines;
  Key key{font, glyph};
  if (auto found = outlines.find(key); found != outlines.end())
    return found->second;
  if (outlines.size() >= kMaxGlyphOutlines)
    outlines.clear();
  QPainterPath outline = font.pathForGlyph(glyph);
  outline.setFillRule(Qt::WindingFill);
  return outlines.emplace(std::move(key), std::move(outline)).first->second;
}
