#include "TMetaFileDevice.h"

#include "EtchedEdge.h"
#include "Geometry.h"
#include "TBrush.h"
#include "TFont.h"
#include "TPen.h"
#include "TPoint.h"
#include "TextMetrics.h"
#include "WmfFormat.h"

#include <QImage>

#include <algorithm>
#include <cstring>

namespace {

// The most points one polygon or polyline record can hold.
constexpr int32_t kMaxPoints = 0x7FFF;
// The longest text one record takes, in bytes.
constexpr size_t kMaxText = 0x7FFF;

void PutShort(std::vector<uint8_t>& out, int32_t value)
{
  wmf::PutWord(out, static_cast<uint16_t>(static_cast<int16_t>(value)));
}

// Bytes padded to whole words.
void PutBytes(std::vector<uint8_t>& out, const void* data, size_t size)
{
  const auto* bytes = static_cast<const uint8_t*>(data);
  out.insert(out.end(), bytes, bytes + size);
  if (size % 2 != 0)
    out.push_back(0);
}

} // namespace

TMetaFileDevice::TMetaFileDevice(FILE* stream, int32_t scale) : m_stream(stream), m_scale(std::max(scale, 1))
{
  // Room for the metafile header, written when the recording ends.
  const uint8_t blank[wmf::kHeaderSize] = {};
  m_ok = m_stream && std::fwrite(blank, 1, sizeof blank, m_stream) == sizeof blank;
  m_words = wmf::kHeaderSize / 2;
  std::vector<uint8_t> params;
  wmf::PutWord(params, wmf::kMapAnisotropic);
  Record(wmf::kSetMapMode, params);
  params.clear();
  wmf::PutWord(params, wmf::kPolyFillAlternate);
  Record(wmf::kSetPolyFillMode, params);
  SelectDefaults();
}

TMetaFileDevice::~TMetaFileDevice() = default;

bool TMetaFileDevice::Finish()
{
  if (m_clipped)
    SetClip(nullptr);
  Record(wmf::kEof, {});
  if (!m_ok)
    return false;
  std::vector<uint8_t> header;
  wmf::PutWord(header, 1);      // a metafile in a file of its own
  wmf::PutWord(header, 9);      // header words
  wmf::PutWord(header, 0x0300); // the format version every reader knows
  wmf::PutDword(header, m_words);
  wmf::PutWord(header, ObjectSlots());
  wmf::PutDword(header, m_largest);
  wmf::PutWord(header, 0);
  const long end = std::ftell(m_stream);
  const long start = end - static_cast<long>(m_words) * 2;
  m_ok = end >= 0 && start >= 0 && std::fseek(m_stream, start, SEEK_SET) == 0 &&
         std::fwrite(header.data(), 1, header.size(), m_stream) == header.size() &&
         std::fseek(m_stream, end, SEEK_SET) == 0 && std::fflush(m_stream) == 0;
  return m_ok;
}

// ---- records ----

int16_t TMetaFileDevice::X(int32_t v) const
{
  const int32_t scaled = m_scale == 1 ? v : MulDivRound(v, 1, m_scale);
  return static_cast<int16_t>(std::clamp(scaled, -32768, 32767));
}

int16_t TMetaFileDevice::Len(int32_t v) const
{
  // A length that is not zero stays at least one unit.
  const int16_t scaled = X(v);
  if (v > 0 && scaled == 0)
    return 1;
  if (v < 0 && scaled == 0)
    return -1;
  return scaled;
}

void TMetaFileDevice::Record(uint16_t function, const std::vector<uint8_t>& params)
{
  const uint32_t words = 3 + static_cast<uint32_t>(params.size() + 1) / 2;
  std::vector<uint8_t> head;
  wmf::PutDword(head, words);
  wmf::PutWord(head, function);
  if (m_ok)
    m_ok = std::fwrite(head.data(), 1, head.size(), m_stream) == head.size() &&
           std::fwrite(params.data(), 1, params.size(), m_stream) == params.size() &&
           (params.size() % 2 == 0 || std::fputc(0, m_stream) != EOF);
  m_words += words;
  m_largest = std::max(m_largest, words);
}

void TMetaFileDevice::Words(std::vector<uint8_t>& params, std::initializer_list<int32_t> coordinates) const
{
  for (const int32_t v : coordinates)
    PutShort(params, X(v));
}

void TMetaFileDevice::PointWords(std::vector<uint8_t>& params, const TPoint* points, int32_t count) const
{
  for (int32_t i = 0; i < count; ++i) {
    PutShort(params, X(points[i].x));
    PutShort(params, X(points[i].y));
  }
}

// ---- objects ----

uint16_t TMetaFileDevice::Create(const ObjectRecord& object)
{
  // A reader puts each new object in the lowest free slot: so do we.
  const auto free = std::find(m_slots.begin(), m_slots.end(), false);
  const auto index = static_cast<uint16_t>(free - m_slots.begin());
  if (free == m_slots.end())
    m_slots.push_back(true);
  else
    *free = true;
  Record(object.function, object.params);
  return index;
}

void TMetaFileDevice::Delete(uint16_t index)
{
  std::vector<uint8_t> params;
  wmf::PutWord(params, index);
  Record(wmf::kDeleteObject, params);
  m_slots[index] = false;
}

void TMetaFileDevice::RealizeObject(Kind kind)
{
  Selected& file = m_file[kind];
  if (file.index && file.record == m_want[kind])
    return;
  const uint16_t index = Create(m_want[kind]);
  std::vector<uint8_t> params;
  wmf::PutWord(params, index);
  Record(wmf::kSelectObject, params);
  const std::optional<uint16_t> previous = file.index;
  file = {index, m_want[kind]};
  if (!previous)
    return;
  // The state saved before a clip still names the object: it goes once
  // that state is back and has been replaced.
  if (m_clipped && m_saved[kind].index == previous)
    m_pendingDelete.push_back(*previous);
  else
    Delete(*previous);
}

void TMetaFileDevice::RealizeAttributes()
{
  Attributes& file = m_fileAttributes;
  const Attributes& want = m_wantAttributes;
  std::vector<uint8_t> params;
  auto colour = [&](uint16_t function, uint32_t& have, uint32_t value) {
    if (have == value)
      return;
    have = value;
    params.clear();
    wmf::PutDword(params, value);
    Record(function, params);
  };
  auto word = [&](uint16_t function, auto& have, auto value) {
    if (have == value)
      return;
    have = value;
    params.clear();
    wmf::PutWord(params, static_cast<uint16_t>(value));
    Record(function, params);
  };
  colour(wmf::kSetTextColor, file.textColour, want.textColour);
  colour(wmf::kSetBkColor, file.bkColour, want.bkColour);
  word(wmf::kSetBkMode, file.bkMode, want.bkMode);
  word(wmf::kSetTextAlign, file.textAlign, want.textAlign);
  word(wmf::kSetRop2, file.rop, want.rop);
}

void TMetaFileDevice::Realize(unsigned needs)
{
  if (needs & kNeedPen)
    RealizeObject(kPen);
  if (needs & kNeedBrush)
    RealizeObject(kBrush);
  if (needs & kNeedFont)
    RealizeObject(kFont);
  RealizeAttributes();
}

void TMetaFileDevice::SelectPen(const TPen& pen)
{
  ObjectRecord object{wmf::kCreatePenIndirect, {}};
  wmf::PutWord(object.params, static_cast<uint16_t>(pen.GetStyle()));
  // Width 0 is the one-pixel pen of any device.
  const bool hairline = pen.GetHandle().widthF() == 0;
  PutShort(object.params, hairline ? 0 : Len(pen.GetWidth()));
  PutShort(object.params, 0);
  wmf::PutDword(object.params, pen.GetColor() & 0xFFFFFF);
  m_want[kPen] = std::move(object);
}

void TMetaFileDevice::SelectBrush(const TBrush& brush)
{
  ObjectRecord object{wmf::kCreateBrushIndirect, {}};
  wmf::PutWord(object.params, static_cast<uint16_t>(brush.GetStyle()));
  wmf::PutDword(object.params, brush.GetStyle() == TBrush::kHollow ? 0 : brush.GetColor() & 0xFFFFFF);
  wmf::PutWord(object.params, static_cast<uint16_t>(brush.GetHatch()));
  m_want[kBrush] = std::move(object);
}

void TMetaFileDevice::SelectFont(const TFont& font)
{
  m_font = TextFont(font);
  const TLogFont& f = font.Record();
  ObjectRecord object{wmf::kCreateFontIndirect, {}};
  PutShort(object.params, Len(f.height));
  PutShort(object.params, Len(f.width));
  for (const int32_t v : {f.escapement, f.orientation, f.weight})
    PutShort(object.params, std::clamp(v, -32768, 32767));
  for (const uint8_t b : {f.italic, f.underline, f.strikeOut, f.charSet, f.outPrecision, f.clipPrecision,
                          f.quality, f.pitchAndFamily})
    object.params.push_back(b);
  char face[TLogFont::kFaceNameSize] = {};
  const std::string name = wmf::ToWesternBytes(std::string(f.FaceName()));
  std::memcpy(face, name.data(), std::min(name.size(), sizeof face - 1));
  PutBytes(object.params, face, sizeof face);
  m_want[kFont] = std::move(object);
}

void TMetaFileDevice::SelectDefaults()
{
  static const TPen kBlackPen(0, 0, TPen::kSolid);
  TBrush hollow;
  hollow.SetStyle(TBrush::kHollow);
  SelectPen(kBlackPen);
  SelectBrush(hollow);
  SelectFont(TFont());
}

// ---- attributes ----

void TMetaFileDevice::SetMapping(int32_t windowOrgX, int32_t windowOrgY, int32_t windowExtX,
                                 int32_t windowExtY, int32_t, int32_t)
{
  // The reader maps the window onto the frame it places the picture in.
  const int32_t window[4] = {windowOrgX, windowOrgY, windowExtX, windowExtY};
  if (std::equal(window, window + 4, m_window))
    return;
  std::copy(window, window + 4, m_window);
  std::vector<uint8_t> params;
  Words(params, {windowOrgY, windowOrgX});
  Record(wmf::kSetWindowOrg, params);
  params.clear();
  PutShort(params, Len(windowExtY));
  PutShort(params, Len(windowExtX));
  Record(wmf::kSetWindowExt, params);
}

void TMetaFileDevice::SetClip(const int32_t* ltrb)
{
  std::vector<uint8_t> params;
  if (m_clipped) {
    PutShort(params, -1);
    Record(wmf::kRestoreDc, params);
    m_clipped = false;
    // The saved selections are back; what was selected instead goes.
    for (int kind = 0; kind < kKinds; ++kind) {
      const std::optional<uint16_t> dropped = m_file[kind].index;
      m_file[kind] = m_saved[kind];
      if (dropped && dropped != m_file[kind].index)
        Delete(*dropped);
    }
    m_fileAttributes = m_savedAttributes;
    m_pendingDelete.clear();
  }
  if (!ltrb)
    return;
  Record(wmf::kSaveDc, {});
  std::copy(std::begin(m_file), std::end(m_file), std::begin(m_saved));
  m_savedAttributes = m_fileAttributes;
  m_clipped = true;
  params.clear();
  Words(params, {ltrb[3], ltrb[2], ltrb[1], ltrb[0]});
  Record(wmf::kIntersectClipRect, params);
}

void TMetaFileDevice::SetTextColor(uint32_t colour)
{
  m_wantAttributes.textColour = colour & 0xFFFFFF;
}

void TMetaFileDevice::SetBkColor(uint32_t colour)
{
  m_wantAttributes.bkColour = colour & 0xFFFFFF;
}

void TMetaFileDevice::SetBkMode(int32_t mode)
{
  m_wantAttributes.bkMode = mode;
}

void TMetaFileDevice::SetTextAlign(uint32_t align)
{
  m_wantAttributes.textAlign = align;
}

void TMetaFileDevice::SetROP2(int32_t rop)
{
  m_wantAttributes.rop = rop;
}

// ---- shapes ----

void TMetaFileDevice::Box(uint16_t function, int32_t l, int32_t t, int32_t r, int32_t b)
{
  Realize(kNeedPen | kNeedBrush);
  std::vector<uint8_t> params;
  Words(params, {b, r, t, l});
  Record(function, params);
}

void TMetaFileDevice::Rectangle(int32_t l, int32_t t, int32_t r, int32_t b)
{
  Box(wmf::kRectangle, l, t, r, b);
}

void TMetaFileDevice::Ellipse(int32_t l, int32_t t, int32_t r, int32_t b)
{
  Box(wmf::kEllipse, l, t, r, b);
}

void TMetaFileDevice::RoundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW, int32_t cornerH)
{
  Realize(kNeedPen | kNeedBrush);
  std::vector<uint8_t> params;
  PutShort(params, Len(cornerH));
  PutShort(params, Len(cornerW));
  Words(params, {b, r, t, l});
  Record(wmf::kRoundRect, params);
}

void TMetaFileDevice::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
  Realize(kNeedPen);
  std::vector<uint8_t> params;
  Words(params, {y1, x1});
  Record(wmf::kMoveTo, params);
  params.clear();
  Words(params, {y2, x2});
  Record(wmf::kLineTo, params);
}

void TMetaFileDevice::Polyline(const TPoint* points, int32_t count)
{
  if (count < 2)
    return;
  Realize(kNeedPen);
  // A longer line goes in pieces that share their joining point.
  for (int32_t start = 0; start + 1 < count; start += kMaxPoints - 1) {
    const int32_t n = std::min(count - start, kMaxPoints);
    std::vector<uint8_t> params;
    PutShort(params, n);
    PointWords(params, points + start, n);
    Record(wmf::kPolyline, params);
  }
}

void TMetaFileDevice::Polygon(const TPoint* points, int32_t count)
{
  if (count < 1)
    return;
  Realize(kNeedPen | kNeedBrush);
  // One record holds at most kMaxPoints: a longer outline keeps every
  // step-th point, which no reader can tell from the whole at any size a
  // page shows.
  const int32_t step = (count + kMaxPoints - 1) / kMaxPoints;
  std::vector<uint8_t> params;
  PutShort(params, (count + step - 1) / step);
  for (int32_t i = 0; i < count; i += step)
    PointWords(params, points + i, 1);
  Record(wmf::kPolygon, params);
}

void TMetaFileDevice::ArcRecord(uint16_t function, int32_t l, int32_t t, int32_t r, int32_t b, TPoint start,
                                TPoint end)
{
  Realize(function == wmf::kArc ? kNeedPen : kNeedPen | kNeedBrush);
  std::vector<uint8_t> params;
  Words(params, {end.y, end.x, start.y, start.x, b, r, t, l});
  Record(function, params);
}

void TMetaFileDevice::Pie(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end)
{
  ArcRecord(wmf::kPie, l, t, r, b, start, end);
}

void TMetaFileDevice::Chord(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end)
{
  ArcRecord(wmf::kChord, l, t, r, b, start, end);
}

void TMetaFileDevice::Arc(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end)
{
  ArcRecord(wmf::kArc, l, t, r, b, start, end);
}

void TMetaFileDevice::PatBlt(int32_t l, int32_t t, int32_t r, int32_t b)
{
  Realize(kNeedBrush);
  std::vector<uint8_t> params;
  wmf::PutDword(params, wmf::kPatCopy);
  PutShort(params, X(b) - X(t));
  PutShort(params, X(r) - X(l));
  Words(params, {t, l});
  Record(wmf::kPatBlt, params);
}

void TMetaFileDevice::FillRect(int32_t l, int32_t t, int32_t r, int32_t b, const TBrush* brush)
{
  // The brush is in force for the fill only.
  const ObjectRecord kept = m_want[kBrush];
  if (brush)
    SelectBrush(*brush);
  if (wmf::GetWord(m_want[kBrush].params.data()) != TBrush::kHollow)
    PatBlt(l, t, r, b);
  m_want[kBrush] = kept;
}

void TMetaFileDevice::FillWithColour(const std::vector<std::array<int32_t, 4>>& boxes, uint32_t colour)
{
  TBrush brush;
  brush.SetStyle(TBrush::kSolid);
  brush.SetColor(colour);
  const ObjectRecord kept = m_want[kBrush];
  SelectBrush(brush);
  for (const auto& box : boxes)
    PatBlt(box[0], box[1], box[2], box[3]);
  m_want[kBrush] = kept;
}

void TMetaFileDevice::DrawEdge(int32_t l, int32_t t, int32_t r, int32_t b)
{
  std::vector<std::array<int32_t, 4>> shadow, light;
  for (const EdgeBand& band : EtchedEdge(l, t, r - l, b - t))
    (band.shadow ? shadow : light).push_back({band.x, band.y, band.x + band.width, band.y + band.height});
  auto bgr = [](uint32_t rgb) { return (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF); };
  if (!shadow.empty())
    FillWithColour(shadow, bgr(kEdgeShadowRgb));
  if (!light.empty())
    FillWithColour(light, bgr(kEdgeHighlightRgb));
}

bool TMetaFileDevice::SetPixel(int32_t x, int32_t y, uint32_t colour)
{
  std::vector<uint8_t> params;
  wmf::PutDword(params, colour & 0xFFFFFF);
  Words(params, {y, x});
  Record(wmf::kSetPixel, params);
  return true;
}

// ---- text ----

void TMetaFileDevice::GetTextExtent(std::string_view utf8, int32_t& width, int32_t& height)
{
  MeasureText(m_font, utf8, width, height);
}

void TMetaFileDevice::TextOut(int32_t x, int32_t y, std::string_view utf8, const int32_t* clipLtrb,
                              uint32_t options)
{
  std::string text = wmf::ToWesternBytes(std::string(utf8));
  if (text.size() > kMaxText)
    text.resize(kMaxText);
  const bool withBox = clipLtrb && (options & (ETO_OPAQUE_ | ETO_CLIPPED_)) != 0;
  Realize(kNeedFont);
  std::vector<uint8_t> params;
  Words(params, {y, x});
  PutShort(params, static_cast<int32_t>(text.size()));
  wmf::PutWord(params, static_cast<uint16_t>(withBox ? options & (ETO_OPAQUE_ | ETO_CLIPPED_) : 0));
  if (withBox)
    Words(params, {clipLtrb[0], clipLtrb[1], clipLtrb[2], clipLtrb[3]});
  PutBytes(params, text.data(), text.size());
  Record(wmf::kExtTextOut, params);
}

// ---- images ----

void TMetaFileDevice::DrawImage(int32_t l, int32_t t, int32_t r, int32_t b, const QImage& image,
                                const int32_t* source)
{
  QRect part = image.rect();
  if (source)
    part = QRect(QPoint(source[0], source[1]), QPoint(source[2] - 1, source[3] - 1)) & image.rect();
  if (part.isEmpty())
    return;
  const QImage pixels = image.copy(part).convertToFormat(QImage::Format_RGB888);
  const auto width = static_cast<uint32_t>(pixels.width());
  const auto height = static_cast<uint32_t>(pixels.height());
  const uint32_t stride = (width * 3 + 3) & ~3u;
  std::vector<uint8_t> params;
  wmf::PutDword(params, wmf::kSrcCopy);
  wmf::PutWord(params, 0); // colours are red, green, blue values
  PutShort(params, static_cast<int32_t>(height));
  PutShort(params, static_cast<int32_t>(width));
  PutShort(params, 0);
  PutShort(params, 0);
  PutShort(params, X(b) - X(t));
  PutShort(params, X(r) - X(l));
  Words(params, {t, l});
  // The picture: a bitmap information header, then the rows bottom up,
  // blue, green, red, each padded to four bytes.
  wmf::PutDword(params, 40);
  wmf::PutDword(params, width);
  wmf::PutDword(params, height);
  wmf::PutWord(params, 1);
  wmf::PutWord(params, 24);
  wmf::PutDword(params, 0);
  wmf::PutDword(params, stride * height);
  for (int i = 0; i < 4; ++i)
    wmf::PutDword(params, 0);
  for (uint32_t y = height; y-- > 0;) {
    const uint8_t* row = pixels.constScanLine(static_cast<int>(y));
    for (uint32_t x = 0; x < width; ++x) {
      params.push_back(row[3 * x + 2]);
      params.push_back(row[3 * x + 1]);
      params.push_back(row[3 * x]);
    }
    params.resize(params.size() + (stride - width * 3), 0);
  }
  Record(wmf::kStretchDib, params);
}
