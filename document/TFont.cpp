#include "TFont.h"

#include "Geometry.h"
#include "TextEncoding.h"

#include <QFontMetricsF>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

namespace {

// Size at which cell heights and average widths are measured; large enough
// that hinting does not distort the ratios.
constexpr int kMeasureSize = 1000;

// Family bits of pitchAndFamily, used as the hint when the face is missing.
QFont::StyleHint StyleHintOf(uint8_t pitchAndFamily)
{
  switch (pitchAndFamily & 0xF0) {
  case 0x10:
    return QFont::Serif;
  case 0x20:
    return QFont::SansSerif;
  case 0x30:
    return QFont::Monospace;
  case 0x40:
    return QFont::Cursive;
  case 0x50:
    return QFont::Decorative;
  default:
    return QFont::AnyStyle;
  }
}

} // namespace

std::string_view TLogFont::FaceName() const
{
  return std::string_view(faceName, strnlen(faceName, kFaceNameSize - 1));
}

bool TLogFont::operator==(const TLogFont& other) const
{
  return height == other.height && width == other.width && escapement == other.escapement &&
         orientation == other.orientation && weight == other.weight && italic == other.italic &&
         underline == other.underline && strikeOut == other.strikeOut && charSet == other.charSet &&
         outPrecision == other.outPrecision && clipPrecision == other.clipPrecision &&
         quality == other.quality && pitchAndFamily == other.pitchAndFamily && FaceName() == other.FaceName();
}

void TLogFont::SetFaceName(std::string_view text)
{
  // A line break or zero would end the stored name early or break the record
  // line, so the name stops there.
  const size_t stop = text.find_first_of(std::string_view("\r\n\0", 3));
  const std::string utf8 = ToUtf8(text.substr(0, stop));
  size_t n = std::min(utf8.size(), kFaceNameSize - 1);
  // Back off to a character boundary: continuation bytes are 10xxxxxx.
  while (n > 0 && n < utf8.size() && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80)
    --n;
  std::memset(faceName, 0, kFaceNameSize);
  std::memcpy(faceName, utf8.data(), n);
}

TFont::TFont() : TFont(kDefaultHeight, 0) {}

TFont::TFont(int32_t size, int32_t width)
{
  classId = kTFont;
  m_record.height = SaturateInt32(-int64_t{size});
  m_record.width = width;
  m_record.SetFaceName("Arial");
}

TFont::TFont(const TLogFont& record)
{
  classId = kTFont;
  SetRecord(record);
}

void TFont::SetRecord(const TLogFont& record)
{
  m_record = record;
  // The name may have been filled in directly: hold it to the same rules as
  // SetFaceName, so it can always be written on one record line.
  m_record.SetFaceName(record.FaceName());
  m_dirty = true;
}

TInStream& TFont::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTFont, version))
    return is;
  m_dirty = true;
  TLogFont& r = m_record;
  is >> r.height >> r.width >> r.escapement >> r.orientation >> r.weight;
  for (uint8_t* byte : {&r.italic, &r.underline, &r.strikeOut, &r.charSet, &r.outPrecision, &r.clipPrecision,
                        &r.quality, &r.pitchAndFamily})
    is.ReadByteValue(*byte);
  if (is.fail())
    return is;
  // One blank separates the last number from the face name, which runs to
  // the end of the line. An empty name may leave the line feed right there;
  // it must not be taken as the separator, or the name would swallow the
  // next record's line.
  std::string line;
  const int separator = is.peek();
  if (separator >= 0) {
    is.get();
    if (separator != '\n' && !is.AtEnd())
      is.getline(line);
  }
  r.SetFaceName(line);
  return is;
}

TOutStream& TFont::Write(TOutStream& os) const
{
  const TLogFont& r = m_record;
  WriteHeader(os, kTFont, kVersion);
  os << ' ' << r.height << ' ' << r.width << ' ' << r.escapement << ' ' << r.orientation << ' ' << r.weight;
  for (uint8_t byte : {r.italic, r.underline, r.strikeOut, r.charSet, r.outPrecision, r.clipPrecision,
                       r.quality, r.pitchAndFamily})
    os << ' ' << static_cast<uint32_t>(byte);
  os << ' ' << r.FaceName() << '\n';
  return os;
}

const QFont& TFont::GetHandle() const
{
  if (!m_dirty)
    return m_handle;
  const std::string_view face = m_record.FaceName();
  QFont font(QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size())));
  font.setStyleHint(StyleHintOf(m_record.pitchAndFamily));
  font.setFixedPitch((m_record.pitchAndFamily & 0x03) == 1);
  font.setWeight(m_record.weight <= 0 ? QFont::Normal
                                      : static_cast<QFont::Weight>(std::min(m_record.weight, 1000)));
  font.setItalic(m_record.italic != 0);
  font.setUnderline(m_record.underline != 0);
  font.setStrikeOut(m_record.strikeOut != 0);
  // Stored texts were laid out without kerning; keep their measures.
  font.setKerning(false);

  // Metrics come from the font database, which only exists with a
  // QGuiApplication; without one the height is taken as the em size.
  std::optional<QFontMetricsF> reference;
  if (qGuiApp) {
    QFont probe = font;
    probe.setPixelSize(kMeasureSize);
    reference.emplace(probe);
  }
  const int64_t height = m_record.height == 0 ? -kDefaultHeight : m_record.height;
  double emSize = static_cast<double>(height < 0 ? -height : height);
  if (height > 0 && reference) {
    // A positive height is the cell height: scale it to the em size.
    const double cell = reference->ascent() + reference->descent();
    if (cell > 0)
      emSize = emSize * kMeasureSize / cell;
  }
  const int pixelSize = std::max(RoundHalfAway(emSize), 1);
  font.setPixelSize(pixelSize);
  if (m_record.width != 0 && reference) {
    // A width asks for that average character width: stretch the font.
    const double average = reference->averageCharWidth() * pixelSize / kMeasureSize;
    if (average > 0) {
      const double wanted = std::abs(static_cast<double>(m_record.width));
      font.setStretch(std::clamp(RoundHalfAway(100.0 * wanted / average), 1, 4000));
    }
  }
  m_handle = font;
  m_dirty = false;
  return m_handle;
}
