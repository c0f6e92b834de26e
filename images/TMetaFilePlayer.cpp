#include "TMetaFilePlayer.h"

#include "Geometry.h"
#include "TBrush.h"
#include "TFont.h"
#include "TImageBuffer.h"
#include "TMetaFilePlayerDib.h"
#include "TPage.h"
#include "TPen.h"
#include "TRect.h"
#include "WmfFormat.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

using namespace metafile_limits;

namespace {

// What a metafile header must say: a metafile of 9 header words, kept in
// memory (1) or in a file (2).
constexpr uint16_t kHeaderWords = 9;
// Brush styles of the format that TBrush has no counterpart for.
constexpr uint16_t kBrushHatchedMax = TBrush::kDiagonalCross;

// The parameters of one record, as 16-bit words. The record's size has been
// checked against the file; each handler checks Has() before it reads.
class Params
{
public:
  Params(const uint8_t* data, size_t words) : m_data(data), m_words(words) {}
  size_t Words() const { return m_words; }
  bool Has(size_t words) const { return words <= m_words; }
  int16_t S(size_t i) const { return static_cast<int16_t>(wmf::GetWord(m_data + 2 * i)); }
  uint16_t U(size_t i) const { return wmf::GetWord(m_data + 2 * i); }
  uint32_t D(size_t i) const { return wmf::GetDword(m_data + 2 * i); }
  const uint8_t* Bytes(size_t word) const { return m_data + 2 * word; }
  size_t BytesFrom(size_t word) const { return 2 * (m_words - word); }

private:
  const uint8_t* m_data;
  size_t m_words;
};

// A created object that draws nothing here but keeps its slot (palettes,
// regions), so that later indices name the right objects.
struct Placeholder
{
};
using Object = std::variant<std::monostate, TPen, TBrush, TFont, Placeholder>;

TBrush SolidBrush(uint32_t colour)
{
  TBrush brush;
  brush.SetStyle(TBrush::kSolid);
  brush.SetColor(colour);
  return brush;
}

// What SaveDC keeps and RestoreDC brings back.
struct State
{
  // A fresh device context: black one-pixel pen, white brush, black text
  // on an opaque white background.
  TPen pen{0, 0, TPen::kSolid};
  TBrush brush = SolidBrush(0xFFFFFF);
  TFont font;
  uint32_t textColour = 0;
  uint32_t bkColour = 0xFFFFFF;
  int32_t bkMode = OPAQUE_;
  uint32_t textAlign = 0;
  int32_t rop = R2_COPYPEN_;
  uint16_t polyFill = wmf::kPolyFillAlternate;
  // The window origin: the metafile point the picture's header origin
  // stands for, which the header origin itself until the records set one.
  int32_t windowOrgX = 0, windowOrgY = 0;
  // The current position, in metafile units.
  int32_t curX = 0, curY = 0;
  // The clip, in page units with the origin offset (as the page keeps it).
  TRect clip;
};

class Player
{
public:
  Player(TPage& page, const TImageBuffer& picture, const TRect& frame, int32_t sourceWidth,
         int32_t sourceHeight, int32_t sourceOriginX, int32_t sourceOriginY);
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  bool Play(const std::vector<uint8_t>& metafile);

private:
  enum class Step { kNext, kEnd, kBad };

  Step Record(uint16_t function, const Params& p);

  // ---- mapping ----
  int32_t X(double x) const
  {
    return RoundHalfAway(m_frameLeft + (x - (m_sourceX + m_state.windowOrgX)) * m_scaleX);
  }
  int32_t Y(double y) const
  {
    return RoundHalfAway(m_frameTop + (y - (m_sourceY + m_state.windowOrgY)) * m_scaleY);
  }
  TPoint P(double x, double y) const { return {X(x), Y(y)}; }
  // The box between two corners, normalised as the format's shapes are.
  TRect Box(int16_t l, int16_t t, int16_t r, int16_t b) const { return TRect(P(l, t), P(r, b)); }
  int32_t LenX(double v) const { return RoundHalfAway(v * m_scaleX); }
  int32_t LenY(double v) const { return RoundHalfAway(v * m_scaleY); }

  // ---- state ----
  void ApplyState();
  void ApplyClip();
  bool SaveState();
  void RestoreState(int16_t which);
  bool Spend(int64_t& used, int64_t amount, int64_t limit);

  // ---- objects ----
  void Create(Object object);
  bool CreatePen(const Params& p);
  bool CreateBrush(const Params& p);
  bool CreateFont(const Params& p);
  bool CreateDibBrush(const Params& p);
  bool Select(const Params& p);
  bool Delete(const Params& p);

  // ---- drawing ----
  bool Poly(const Params& p, bool closed);
  bool PolyPolygon(const Params& p);
  void Arc(uint16_t function, const Params& p);
  bool Text(int16_t x, int16_t y, const uint8_t* bytes, int32_t count, uint16_t options, const TRect* rect,
            const Params* dx, size_t dxAt);
  bool TextOut(const Params& p);
  bool ExtTextOut(const Params& p);
  void FillBox(const TRect& box, uint32_t rop);
  bool PatBlt(const Params& p);
  bool Blt(const Params& p, uint16_t function);
  void DrawDib(MetafileDib& dib, uint32_t rop, int32_t srcX, int32_t srcY, int32_t srcW, int32_t srcH,
               bool srcFromBottom, int16_t dstX, int16_t dstY, int16_t dstW, int16_t dstH);
  void Clip(const Params& p, bool intersect);

  TPage& m_page;
  double m_frameLeft, m_frameTop;
  double m_scaleX, m_scaleY;
  // The placement's source corner relative to the header origin.
  double m_sourceX, m_sourceY;
  int32_t m_pageOriginX = 0, m_pageOriginY = 0;
  bool m_pageClipped = false;
  TRect m_pageClip;

  State m_state;
  std::vector<State> m_saved;
  std::vector<std::unique_ptr<Object>> m_objects;
  std::vector<TPoint> m_points;

  int64_t m_records = 0;
  int64_t m_pointsDrawn = 0;
  int64_t m_textBytes = 0;
  int64_t m_pixels = 0;
};

Player::Player(TPage& page, const TImageBuffer& picture, const TRect& frame, int32_t sourceWidth,
               int32_t sourceHeight, int32_t sourceOriginX, int32_t sourceOriginY)
    : m_page(page), m_frameLeft(frame.left), m_frameTop(frame.top),
      m_scaleX(static_cast<double>(int64_t{frame.right} - frame.left) / sourceWidth),
      m_scaleY(static_cast<double>(int64_t{frame.bottom} - frame.top) / sourceHeight),
      m_sourceX(static_cast<double>(sourceOriginX) - picture.MetaLeft()),
      m_sourceY(static_cast<double>(sourceOriginY) - picture.MetaTop())
{
  page.GetOrigin(m_pageOriginX, m_pageOriginY);
  m_pageClipped = page.GetClipRect(m_pageClip);
  // Output stays within the frame and a metafile unit around it (a pen on
  // the picture's edge spills that far); the page's own clip still holds.
  auto margin = [](double scale) {
    return SaturateInt32(1 + std::llround(std::min(std::ceil(scale), 1e12)));
  };
  const int32_t mx = margin(m_scaleX);
  const int32_t my = margin(m_scaleY);
  TRect clip(SaturateInt32(int64_t{frame.left} - mx), SaturateInt32(int64_t{frame.top} - my),
             SaturateInt32(int64_t{frame.right} + mx), SaturateInt32(int64_t{frame.bottom} + my));
  clip.Offset(m_pageOriginX, m_pageOriginY);
  if (m_pageClipped) {
    clip = TRect(std::max(clip.left, m_pageClip.left), std::max(clip.top, m_pageClip.top),
                 std::min(clip.right, m_pageClip.right), std::min(clip.bottom, m_pageClip.bottom));
  }
  m_state.clip = clip;
  // A window origin set by the records replaces the header origin, as when
  // the picture is played where it was made: so a file whose window origin
  // agrees with its header is not moved twice.
  m_state.windowOrgX = picture.MetaLeft();
  m_state.windowOrgY = picture.MetaTop();
  ApplyState();
}

Player::~Player()
{
  // The page as binding leaves it: default selections, black text, a
  // transparent background, plain drawing, its own clip.
  m_page.RestoreDefaults();
  m_page.SetTextColor(0);
  m_page.SetBkColor(0xFFFFFF);
  m_page.SetBkMode(TRANSPARENT_);
  m_page.SetROP2(R2_COPYPEN_);
  m_page.SetClipRect(m_pageClipped ? &m_pageClip : nullptr);
}

bool Player::Play(const std::vector<uint8_t>& metafile)
{
  const uint8_t* data = metafile.data();
  const size_t size = metafile.size();
  if (size < wmf::kHeaderSize)
    return false;
  const uint16_t type = wmf::GetWord(data);
  if ((type != 1 && type != 2) || wmf::GetWord(data + 2) != kHeaderWords)
    return false;
  // The object table has as many slots as the header says (16 bits, so
  // bounded); an index beyond them is damage.
  m_objects.resize(wmf::GetWord(data + 10));

  size_t at = wmf::kHeaderSize;
  while (at < size) {
    if (size - at < 6)
      return false;
    const uint32_t words = wmf::GetDword(data + at);
    if (words < 3 || words > (size - at) / 2)
      return false;
    if (++m_records > kMaxRecords)
      return false;
    const uint16_t function = wmf::GetWord(data + at + 4);
    const Step step = Record(function, Params(data + at + 6, words - 3));
    if (step == Step::kBad)
      return false;
    if (step == Step::kEnd)
      return true;
    at += size_t{words} * 2;
  }
  // Records that run to the end without the end record are still whole.
  return true;
}

bool Player::Spend(int64_t& used, int64_t amount, int64_t limit)
{
  used += amount;
  return used <= limit;
}

Player::Step Player::Record(uint16_t function, const Params& p)
{
  auto ok = [](bool good) { return good ? Step::kNext : Step::kBad; };
  switch (function) {
  case wmf::kEof:
    return Step::kEnd;

  // The placement decides the scale: the picture's own mapping is not played.
  case wmf::kSetWindowExt:
  case wmf::kSetViewportExt:
  case wmf::kScaleWindowExt:
  case wmf::kScaleViewportExt:
  case wmf::kSetMapMode:
  case wmf::kSetViewportOrg:
  case wmf::kOffsetViewportOrg:
    return Step::kNext;
  case wmf::kSetWindowOrg:
    if (!p.Has(2))
      return Step::kBad;
    m_state.windowOrgY = p.S(0);
    m_state.windowOrgX = p.S(1);
    return Step::kNext;
  case wmf::kOffsetWindowOrg:
    if (!p.Has(2))
      return Step::kBad;
    m_state.windowOrgY = SaturateInt32(int64_t{m_state.windowOrgY} + p.S(0));
    m_state.windowOrgX = SaturateInt32(int64_t{m_state.windowOrgX} + p.S(1));
    return Step::kNext;

  case wmf::kSaveDc:
    return ok(SaveState());
  case wmf::kRestoreDc:
    if (!p.Has(1))
      return Step::kBad;
    RestoreState(p.S(0));
    return Step::kNext;

  case wmf::kCreatePenIndirect:
    return ok(CreatePen(p));
  case wmf::kCreateBrushIndirect:
    return ok(CreateBrush(p));
  case wmf::kCreateFontIndirect:
    return ok(CreateFont(p));
  case wmf::kDibCreatePatternBrush:
    return ok(CreateDibBrush(p));
  case wmf::kCreatePalette:
  case wmf::kCreateRegion:
    Create(Placeholder{});
    return Step::kNext;
  case wmf::kCreatePatternBrush:
    // A device-dependent pattern: its average is not worth decoding.
    Create(SolidBrush(0x808080));
    return Step::kNext;
  case wmf::kSelectObject:
    return ok(Select(p));
  case wmf::kDeleteObject:
    return ok(Delete(p));
  case wmf::kSelectPalette:
    // Colours are true colours here: the palette only needs a valid index.
    return ok(p.Has(1) && p.U(0) < m_objects.size());

  case wmf::kSetTextColor:
  case wmf::kSetBkColor: {
    if (!p.Has(2))
      return Step::kBad;
    const uint32_t colour = p.D(0) & 0xFFFFFF;
    if (function == wmf::kSetTextColor) {
      m_state.textColour = colour;
      m_page.SetTextColor(colour);
    } else {
      m_state.bkColour = colour;
      m_page.SetBkColor(colour);
    }
    return Step::kNext;
  }
  case wmf::kSetBkMode:
    if (!p.Has(1))
      return Step::kBad;
    if (p.U(0) == TRANSPARENT_ || p.U(0) == OPAQUE_) {
      m_state.bkMode = p.U(0);
      m_page.SetBkMode(m_state.bkMode);
    }
    return Step::kNext;
  case wmf::kSetPolyFillMode:
    if (!p.Has(1))
      return Step::kBad;
    m_state.polyFill = p.U(0);
    return Step::kNext;
  case wmf::kSetTextAlign:
    if (!p.Has(1))
      return Step::kBad;
    m_state.textAlign = p.U(0);
    m_page.SetTextAlign(m_state.textAlign & ~uint32_t{wmf::kTextAlignUpdateCp});
    return Step::kNext;
  case wmf::kSetRop2:
    if (!p.Has(1))
      return Step::kBad;
    if (p.U(0) >= 1 && p.U(0) <= 16) {
      m_state.rop = p.U(0);
      m_page.SetROP2(m_state.rop);
    }
    return Step::kNext;

  case wmf::kMoveTo:
  case wmf::kLineTo:
    if (!p.Has(2))
      return Step::kBad;
    if (function == wmf::kLineTo)
      m_page.Line(X(m_state.curX), Y(m_state.curY), X(p.S(1)), Y(p.S(0)));
    m_state.curY = p.S(0);
    m_state.curX = p.S(1);
    return Step::kNext;
  case wmf::kPolyline:
    return ok(Poly(p, false));
  case wmf::kPolygon:
    return ok(Poly(p, true));
  case wmf::kPolyPolygon:
    return ok(PolyPolygon(p));
  case wmf::kRectangle:
  case wmf::kEllipse: {
    if (!p.Has(4))
      return Step::kBad;
    const TRect box = Box(p.S(3), p.S(2), p.S(1), p.S(0));
    if (function == wmf::kRectangle)
      m_page.Rectangle(box);
    else
      m_page.Ellipse(box);
    return Step::kNext;
  }
  case wmf::kRoundRect:
    if (!p.Has(6))
      return Step::kBad;
    // The page takes the corner ellipse's half axes.
    m_page.RoundRect(Box(p.S(5), p.S(4), p.S(3), p.S(2)), std::abs(LenX(p.S(1))) / 2,
                     std::abs(LenY(p.S(0))) / 2);
    return Step::kNext;
  case wmf::kArc:
  case wmf::kPie:
  case wmf::kChord:
    if (!p.Has(8))
      return Step::kBad;
    Arc(function, p);
    return Step::kNext;
  case wmf::kSetPixel:
    if (!p.Has(4))
      return Step::kBad;
    m_page.SetPixel(X(p.S(3)), Y(p.S(2)), p.D(0) & 0xFFFFFF);
    return Step::kNext;
  case wmf::kTextOut:
    return ok(TextOut(p));
  case wmf::kExtTextOut:
    return ok(ExtTextOut(p));
  case wmf::kPatBlt:
    return ok(PatBlt(p));
  case wmf::kStretchDib:
  case wmf::kDibStretchBlt:
  case wmf::kDibBitBlt:
  case wmf::kStretchBlt:
  case wmf::kBitBlt:
    return ok(Blt(p, function));
  case wmf::kIntersectClipRect:
  case wmf::kExcludeClipRect:
    if (!p.Has(4))
      return Step::kBad;
    Clip(p, function == wmf::kIntersectClipRect);
    return Step::kNext;

  default:
    // Escapes, regions, palettes' animation, flood fills and anything else
    // this player does not know are passed over.
    return Step::kNext;
  }
}

// ---- state ----

void Player::ApplyState()
{
  m_page.SelectPen(m_state.pen);
  m_page.SelectBrush(m_state.brush);
  m_page.SelectFont(m_state.font);
  m_page.SetTextColor(m_state.textColour);
  m_page.SetBkColor(m_state.bkColour);
  m_page.SetBkMode(m_state.bkMode);
  m_page.SetTextAlign(m_state.textAlign & ~uint32_t{wmf::kTextAlignUpdateCp});
  m_page.SetROP2(m_state.rop);
  ApplyClip();
}

void Player::ApplyClip()
{
  m_page.SetClipRect(&m_state.clip);
}

bool Player::SaveState()
{
  if (static_cast<int32_t>(m_saved.size()) >= kMaxSavedStates)
    return false;
  m_saved.push_back(m_state);
  return true;
}

void Player::RestoreState(int16_t which)
{
  // Negative: that many levels back; positive: the level of that number
  // (the first save is 1). A level that was never saved restores nothing.
  const auto depth = static_cast<int32_t>(m_saved.size());
  const int32_t keep = which < 0 ? depth + which : which - 1;
  if (which == 0 || keep < 0 || keep >= depth)
    return;
  m_state = m_saved[static_cast<size_t>(keep)];
  m_saved.resize(static_cast<size_t>(keep));
  ApplyState();
}

// ---- objects ----

void Player::Create(Object object)
{
  // The lowest free slot, as every reader fills the table; with none free
  // the object is not made, as the platform fails the call.
  for (auto& slot : m_objects) {
    if (!slot) {
      slot = std::make_unique<Object>(std::move(object));
      return;
    }
  }
}

bool Player::CreatePen(const Params& p)
{
  if (!p.Has(5))
    return false;
  uint32_t style = p.U(0) & 0x0F;
  if (style > TPen::kInsideFrame)
    style = TPen::kSolid;
  // Width 0 is the one-pixel pen; so is a pen that maps to less than a unit.
  const int32_t width = std::abs(LenX(p.S(1)));
  Create(TPen(p.D(3) & 0xFFFFFF, width, style));
  return true;
}

bool Player::CreateBrush(const Params& p)
{
  if (!p.Has(4))
    return false;
  const uint16_t style = p.U(0);
  const uint32_t colour = p.D(1) & 0xFFFFFF;
  TBrush brush = SolidBrush(colour);
  if (style == TBrush::kHollow) {
    brush.SetStyle(TBrush::kHollow);
  } else if (style == TBrush::kHatched && p.U(3) <= kBrushHatchedMax) {
    brush.SetStyle(TBrush::kHatched);
    brush.SetHatch(p.U(3));
  }
  Create(brush);
  return true;
}

bool Player::CreateFont(const Params& p)
{
  if (!p.Has(9))
    return false;
  TLogFont record;
  // Heights and widths keep their sign: negative ones are character heights.
  const int16_t height = p.S(0);
  const int16_t width = p.S(1);
  record.height = LenY(height);
  if (height != 0 && record.height == 0)
    record.height = height < 0 ? -1 : 1;
  record.width = std::abs(LenX(width));
  record.escapement = p.S(2);
  record.orientation = p.S(3);
  record.weight = std::clamp<int32_t>(p.S(4), 0, 1000);
  const uint8_t* b = p.Bytes(5);
  record.italic = b[0];
  record.underline = b[1];
  record.strikeOut = b[2];
  record.charSet = b[3];
  record.outPrecision = b[4];
  record.clipPrecision = b[5];
  record.quality = b[6];
  record.pitchAndFamily = b[7];
  // The face name: up to 32 bytes, ended by a zero or the record.
  const size_t room = std::min(p.BytesFrom(9), TLogFont::kFaceNameSize);
  const auto* face = reinterpret_cast<const char*>(p.Bytes(9));
  const std::string_view name(face, std::find(face, face + room, '\0') - face);
  record.SetFaceName(wmf::FromWesternBytes(name));
  Create(TFont(record));
  return true;
}

bool Player::CreateDibBrush(const Params& p)
{
  if (!p.Has(2))
    return false;
  // The pattern is shown as its average colour.
  MetafileDib dib = DecodeMetafileDib(p.Bytes(2), p.BytesFrom(2), p.U(1), kMaxPixels - m_pixels);
  if (dib.status == MetafileDib::kMalformed)
    return false;
  uint32_t colour = 0x808080;
  if (dib.status == MetafileDib::kOk) {
    if (!Spend(m_pixels, int64_t{dib.image.width()} * dib.image.height(), kMaxPixels))
      return false;
    uint64_t r = 0, g = 0, b = 0;
    for (int y = 0; y < dib.image.height(); ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(dib.image.constScanLine(y));
      for (int x = 0; x < dib.image.width(); ++x) {
        r += static_cast<uint64_t>(qRed(row[x]));
        g += static_cast<uint64_t>(qGreen(row[x]));
        b += static_cast<uint64_t>(qBlue(row[x]));
      }
    }
    const auto n = static_cast<uint64_t>(dib.image.width()) * static_cast<uint64_t>(dib.image.height());
    colour = static_cast<uint32_t>(r / n | (g / n) << 8 | (b / n) << 16);
  }
  Create(SolidBrush(colour));
  return true;
}

bool Player::Select(const Params& p)
{
  if (!p.Has(1) || p.U(0) >= m_objects.size())
    return false;
  const Object* object = m_objects[p.U(0)].get();
  if (!object)
    return true;
  if (const auto* pen = std::get_if<TPen>(object)) {
    m_state.pen = *pen;
    m_page.SelectPen(*pen);
  } else if (const auto* brush = std::get_if<TBrush>(object)) {
    m_state.brush = *brush;
    m_page.SelectBrush(*brush);
  } else if (const auto* font = std::get_if<TFont>(object)) {
    m_state.font = *font;
    m_page.SelectFont(*font);
  }
  return true;
}

bool Player::Delete(const Params& p)
{
  if (!p.Has(1) || p.U(0) >= m_objects.size())
    return false;
  // What is selected stays in force: the state holds its own copy.
  m_objects[p.U(0)].reset();
  return true;
}

// ---- drawing ----

bool Player::Poly(const Params& p, bool closed)
{
  if (!p.Has(1))
    return false;
  const int16_t count = p.S(0);
  if (count < 0 || !p.Has(1 + 2 * size_t(count)) || !Spend(m_pointsDrawn, count, kMaxPoints))
    return false;
  m_points.resize(static_cast<size_t>(count));
  for (size_t i = 0; i < m_points.size(); ++i)
    m_points[i] = P(p.S(1 + 2 * i), p.S(2 + 2 * i));
  if (closed)
    m_page.Polygon(m_points.data(), count);
  else if (count >= 2)
    m_page.Polyline(m_points.data(), count);
  return true;
}

bool Player::PolyPolygon(const Params& p)
{
  if (!p.Has(1))
    return false;
  const size_t polygons = p.U(0);
  if (!p.Has(1 + polygons))
    return false;
  size_t total = 0;
  for (size_t i = 0; i < polygons; ++i)
    total += p.U(1 + i);
  const size_t first = 1 + polygons;
  if (!p.Has(first + 2 * total) || !Spend(m_pointsDrawn, static_cast<int64_t>(total), kMaxPoints))
    return false;
  if (total == 0)
    return true;
  // The page fills one outline at a time, so the rings are joined into one:
  // each starts from and returns to the first ring's first point, and the
  // joining edges, run once each way, cancel out of the fill. The outlines
  // are then drawn ring by ring, without the joins.
  m_points.clear();
  const TPoint anchor = P(p.S(first), p.S(first + 1));
  size_t at = first;
  for (size_t i = 0; i < polygons; ++i) {
    const size_t n = p.U(1 + i);
    if (n == 0)
      continue;
    for (size_t k = 0; k < n; ++k)
      m_points.push_back(P(p.S(at + 2 * k), p.S(at + 2 * k + 1)));
    m_points.push_back(P(p.S(at), p.S(at + 1)));
    m_points.push_back(anchor);
    at += 2 * n;
  }
  static const TPen kNoPen(0, 0, TPen::kNull);
  m_page.SelectPen(kNoPen);
  m_page.Polygon(m_points.data(), static_cast<int32_t>(m_points.size()));
  m_page.SelectPen(m_state.pen);
  TBrush hollow;
  hollow.SetStyle(TBrush::kHollow);
  m_page.SelectBrush(hollow);
  at = first;
  for (size_t i = 0; i < polygons; ++i) {
    const size_t n = p.U(1 + i);
    m_points.resize(n);
    for (size_t k = 0; k < n; ++k)
      m_points[k] = P(p.S(at + 2 * k), p.S(at + 2 * k + 1));
    if (n > 0)
      m_page.Polygon(m_points.data(), static_cast<int32_t>(n));
    at += 2 * n;
  }
  m_page.SelectBrush(m_state.brush);
  return true;
}

void Player::Arc(uint16_t function, const Params& p)
{
  TPageDevice* device = m_page.Device();
  if (!device)
    return;
  const TRect box = Box(p.S(7), p.S(6), p.S(5), p.S(4));
  // The page's own arcs take angles and put their radial points 200 units
  // out, which turns the picture's points by up to a quarter of a degree.
  // The device takes the points themselves, so they go straight to it,
  // pushed out (along the same ray) when the placement shrinks them.
  const double cx = (p.S(7) + p.S(5)) / 2.0;
  const double cy = (p.S(6) + p.S(4)) / 2.0;
  const double shrink = std::min(m_scaleX, m_scaleY);
  const double reach = shrink < 1 && shrink > 0 ? 1 / shrink : 1;
  auto radial = [&](int16_t x, int16_t y) {
    const TPoint at = P(cx + (x - cx) * reach, cy + (y - cy) * reach);
    return OffsetPoint(at, m_pageOriginX, m_pageOriginY);
  };
  const TPoint start = radial(p.S(3), p.S(2));
  const TPoint end = radial(p.S(1), p.S(0));
  TRect moved(box);
  moved.Offset(m_pageOriginX, m_pageOriginY);
  if (function == wmf::kArc)
    device->Arc(moved.left, moved.top, moved.right, moved.bottom, start, end);
  else if (function == wmf::kPie)
    device->Pie(moved.left, moved.top, moved.right, moved.bottom, start, end);
  else
    device->Chord(moved.left, moved.top, moved.right, moved.bottom, start, end);
}

bool Player::Text(int16_t x, int16_t y, const uint8_t* bytes, int32_t count, uint16_t options,
                  const TRect* rect, const Params* dx, size_t dxAt)
{
  if (!Spend(m_textBytes, count, kMaxTextBytes))
    return false;
  const std::string_view text(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count));
  const std::string utf8 = wmf::FromWesternBytes(text);
  const bool updateCp = (m_state.textAlign & wmf::kTextAlignUpdateCp) != 0;
  double ox = updateCp ? m_state.curX : x;
  double oy = updateCp ? m_state.curY : y;
  const double angle = m_state.font.EscapementDegrees() * std::numbers::pi / 180;
  const double cosA = std::cos(angle), sinA = std::sin(angle);
  const uint32_t drawOptions = rect ? options & (ETO_OPAQUE_ | ETO_CLIPPED_) : 0;

  double advance = 0;
  if (!dx || count < 2) {
    m_page.ExtTextOut(X(ox), Y(oy), utf8, rect, drawOptions);
    if (updateCp) {
      int32_t w = 0, h = 0;
      m_page.GetTextExtent(utf8, w, h);
      advance = m_scaleX > 0 ? w / m_scaleX : 0;
    }
  } else {
    // The writer placed every character itself: draw them one by one at
    // those places, so the line keeps its length whatever font stands in.
    for (int32_t i = 0; i < count; ++i)
      advance += dx->S(dxAt + static_cast<size_t>(i));
    const uint32_t horizontal = m_state.textAlign & TA_CENTER_;
    double along = horizontal == TA_CENTER_ ? -advance / 2 : horizontal == TA_RIGHT_ ? -advance : 0;
    if (rect && (options & ETO_OPAQUE_)) {
      const TBrush fill = SolidBrush(m_state.bkColour);
      if (!rect->IsEmpty())
        m_page.FillRect(rect->left, rect->top, rect->right - 1, rect->bottom - 1, &fill);
    }
    m_page.SetTextAlign(m_state.textAlign & ~uint32_t{TA_CENTER_ | wmf::kTextAlignUpdateCp});
    for (int32_t i = 0; i < count; ++i) {
      const std::string one = wmf::FromWesternBytes(text.substr(static_cast<size_t>(i), 1));
      m_page.ExtTextOut(X(ox + along * cosA), Y(oy - along * sinA), one, rect, drawOptions & ETO_CLIPPED_);
      along += dx->S(dxAt + static_cast<size_t>(i));
    }
    m_page.SetTextAlign(m_state.textAlign & ~uint32_t{wmf::kTextAlignUpdateCp});
  }
  if (updateCp) {
    m_state.curX = SaturateInt32(std::llround(std::clamp(ox + advance * cosA, -1e9, 1e9)));
    m_state.curY = SaturateInt32(std::llround(std::clamp(oy - advance * sinA, -1e9, 1e9)));
  }
  return true;
}

bool Player::TextOut(const Params& p)
{
  if (!p.Has(1))
    return false;
  const int16_t count = p.S(0);
  if (count < 0)
    return false;
  const size_t textWords = (static_cast<size_t>(count) + 1) / 2;
  if (!p.Has(1 + textWords + 2))
    return false;
  return Text(p.S(2 + textWords), p.S(1 + textWords), p.Bytes(1), count, 0, nullptr, nullptr, 0);
}

bool Player::ExtTextOut(const Params& p)
{
  if (!p.Has(4))
    return false;
  const int16_t count = p.S(2);
  const uint16_t options = p.U(3);
  if (count < 0)
    return false;
  size_t at = 4;
  TRect rect;
  const bool hasRect = (options & (ETO_OPAQUE_ | ETO_CLIPPED_)) != 0;
  if (hasRect) {
    if (!p.Has(8))
      return false;
    rect = Box(p.S(4), p.S(5), p.S(6), p.S(7));
    at = 8;
  }
  const size_t textWords = (static_cast<size_t>(count) + 1) / 2;
  if (!p.Has(at + textWords))
    return false;
  // The spacing array is there when the record has room for it.
  const bool hasDx = p.Has(at + textWords + static_cast<size_t>(count));
  return Text(p.S(1), p.S(0), p.Bytes(at), count, options, hasRect ? &rect : nullptr, hasDx ? &p : nullptr,
              at + textWords);
}

void Player::FillBox(const TRect& box, uint32_t rop)
{
  if (box.IsEmpty())
    return;
  if (rop == wmf::kPatCopy) {
    m_page.FillRect(box.left, box.top, box.right - 1, box.bottom - 1, nullptr);
  } else if (rop == wmf::kBlackness || rop == wmf::kWhiteness) {
    const TBrush fill = SolidBrush(rop == wmf::kBlackness ? 0 : 0xFFFFFF);
    m_page.FillRect(box.left, box.top, box.right - 1, box.bottom - 1, &fill);
  }
  // Operations that combine with what is below (inverting) are not drawn.
}

bool Player::PatBlt(const Params& p)
{
  if (!p.Has(6))
    return false;
  const int16_t x = p.S(5), y = p.S(4);
  FillBox(TRect(P(x, y), P(x + p.S(3), y + p.S(2))), p.D(0));
  return true;
}

bool Player::Blt(const Params& p, uint16_t function)
{
  // The parameters before the bitmap, and the form without a bitmap (one
  // word more, ignored) that only paints with the brush. The oldest two
  // records carry a device-dependent bitmap instead of an independent one.
  const bool stretchDib = function == wmf::kStretchDib;
  const bool stretch = function != wmf::kDibBitBlt && function != wmf::kBitBlt;
  const bool dependent = function == wmf::kStretchBlt || function == wmf::kBitBlt;
  const size_t head = stretchDib ? 11 : stretch ? 10 : 8;
  if (!p.Has(head))
    return false;
  const uint32_t rop = p.D(0);
  if (!stretchDib && p.Words() - head <= 1) {
    if (!p.Has(head + 1))
      return false;
    // rop, (source height, width,) source y, x, reserved, height, width, y, x
    const size_t d = head - 3;
    const int16_t x = p.S(d + 3), y = p.S(d + 2);
    FillBox(TRect(P(x, y), P(x + p.S(d + 1), y + p.S(d))), rop);
    return true;
  }
  MetafileDib dib = dependent ? DecodeMetafileBitmap16(p.Bytes(head), p.BytesFrom(head), m_state.textColour,
                                                       m_state.bkColour, kMaxPixels - m_pixels)
                              : DecodeMetafileDib(p.Bytes(head), p.BytesFrom(head), stretchDib ? p.U(2) : 0,
                                                  kMaxPixels - m_pixels);
  if (dib.status == MetafileDib::kMalformed)
    return false;
  if (dib.status == MetafileDib::kUnsupported)
    return true;
  if (!Spend(m_pixels, int64_t{dib.image.width()} * dib.image.height(), kMaxPixels))
    return false;
  if (stretchDib) {
    DrawDib(dib, rop, p.S(6), p.S(5), p.S(4), p.S(3), true, p.S(10), p.S(9), p.S(8), p.S(7));
  } else if (stretch) {
    DrawDib(dib, rop, p.S(5), p.S(4), p.S(3), p.S(2), false, p.S(9), p.S(8), p.S(7), p.S(6));
  } else {
    const int16_t w = p.S(5), h = p.S(4);
    DrawDib(dib, rop, p.S(3), p.S(2), w, h, false, p.S(7), p.S(6), w, h);
  }
  return true;
}

void Player::DrawDib(MetafileDib& dib, uint32_t rop, int32_t srcX, int32_t srcY, int32_t srcW, int32_t srcH,
                     bool srcFromBottom, int16_t dstX, int16_t dstY, int16_t dstW, int16_t dstH)
{
  if (srcW == 0 || srcH == 0 || dstW == 0 || dstH == 0)
    return;
  // Opposite signs of source and destination sizes mirror the picture.
  const bool mirrorX = (srcW < 0) != (dstW < 0);
  const bool mirrorY = (srcH < 0) != (dstH < 0);
  if (srcW < 0) {
    srcX += srcW;
    srcW = -srcW;
  }
  if (srcH < 0) {
    srcY += srcH;
    srcH = -srcH;
  }
  // Bitmap coordinates of a bottom-up bitmap count rows from the bottom.
  if (srcFromBottom && dib.bottomUp)
    srcY = dib.image.height() - srcY - srcH;
  const QRect part = QRect(srcX, srcY, srcW, srcH) & dib.image.rect();
  if (part.isEmpty())
    return;
  QImage image = dib.image.copy(part);
  if (mirrorX || mirrorY)
    image = image.mirrored(mirrorX, mirrorY);
  if (rop == wmf::kNotSrcCopy) {
    image.invertPixels();
  } else if (rop == wmf::kSrcAnd || rop == wmf::kSrcPaint) {
    // A mask's neutral pixels (white under AND, black under OR) leave what
    // is below as it is.
    const QRgb neutral = rop == wmf::kSrcAnd ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x)
        if (row[x] == neutral)
          row[x] = 0;
    }
  }
  m_page.DrawImage(TRect(P(dstX, dstY), P(dstX + dstW, dstY + dstH)), image);
}

void Player::Clip(const Params& p, bool intersect)
{
  TRect box = Box(p.S(3), p.S(2), p.S(1), p.S(0));
  box.Offset(m_pageOriginX, m_pageOriginY);
  TRect& clip = m_state.clip;
  if (intersect) {
    clip = TRect(std::max(clip.left, box.left), std::max(clip.top, box.top), std::min(clip.right, box.right),
                 std::min(clip.bottom, box.bottom));
  } else {
    // The page clips to one rectangle: an excluded band across a whole side
    // narrows it, any other hole is not cut out.
    const bool fullHeight = box.top <= clip.top && box.bottom >= clip.bottom;
    const bool fullWidth = box.left <= clip.left && box.right >= clip.right;
    if (fullHeight && box.left <= clip.left)
      clip.left = std::max(clip.left, box.right);
    else if (fullHeight && box.right >= clip.right)
      clip.right = std::min(clip.right, box.left);
    else if (fullWidth && box.top <= clip.top)
      clip.top = std::max(clip.top, box.bottom);
    else if (fullWidth && box.bottom >= clip.bottom)
      clip.bottom = std::min(clip.bottom, box.top);
  }
  if (clip.IsEmpty())
    clip = TRect(clip.left, clip.top, clip.left, clip.top);
  ApplyClip();
}

} // namespace

bool PlayMetafile(TPage& page, const TImageBuffer& picture, const TRect& frame, int32_t sourceWidth,
                  int32_t sourceHeight, int32_t sourceOriginX, int32_t sourceOriginY)
{
  if (page.GetKind() == TPage::kMetafile || !page.IsBound() || !picture.IsMetafile())
    return false;
  if (sourceWidth < 1 || sourceHeight < 1 || frame.IsEmpty())
    return false;
  Player player(page, picture, frame, sourceWidth, sourceHeight, sourceOriginX, sourceOriginY);
  return player.Play(picture.Records());
}
