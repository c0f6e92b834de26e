#include "TextMetrics.h"

#include "Geometry.h"
#include "TFont.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QString>

#include <cstddef>
#include <string>
#include <unordered_map>

namespace {

// The fonts text has been drawn or measured in, by their description.
// Objects that share a font share one QFont, so the font is looked up in
// the font database once, not for every text that is painted. A long
// session of scaled texts only ever empties it. Each thread that draws
// keeps its own: a QFont loads its glyphs lazily and may not be shared
// between threads.
class TextFontCache
{
public:
  const QFont& Get(const TFont& font)
  {
    const TLogFont& r = font.Record();
    // The numeric fields lie before the face name, without padding.
    m_key.assign(reinterpret_cast<const char*>(&r), offsetof(TLogFont, faceName));
    m_key.append(r.FaceName());
    if (auto found = m_fonts.find(m_key); found != m_fonts.end())
      return found->second;
    if (m_fonts.size() >= kMaxFonts)
      m_fonts.clear();
    QFont made = font.GetHandle();
    made.setHintingPreference(QFont::PreferNoHinting);
    return m_fonts.emplace(m_key, made).first->second;
  }

private:
  static constexpr size_t kMaxFonts = 512;
  std::unordered_map<std::string, QFont> m_fonts;
  std::string m_key;
};

} // namespace

const QFont& TextFont(const TFont& font)
{
  // Without the application there is no font database, and no text is
  // measured or drawn.
  if (!qGuiApp) {
    static const QFont kNone;
    return kNone;
  }
  thread_local TextFontCache cache;
  return cache.Get(font);
}

void MeasureText(const QFont& textFont, std::string_view utf8, int32_t& width, int32_t& height)
{
  width = height = 0;
  // Font metrics come from the font database, which needs a QGuiApplication.
  if (utf8.empty() || !qGuiApp)
    return;
  const QFontMetricsF metrics(textFont);
  width = RoundHalfAway(metrics.horizontalAdvance(ToQString(utf8)));
  height = RoundHalfAway(metrics.ascent() + metrics.descent());
}

QString ToQString(std::string_view utf8)
{
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
