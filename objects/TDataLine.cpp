#include "TDataLine.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "EndPointRules.h"
#include "Geometry.h"
#include "Messages.h"
#include "ObjectCreation.h"
#include "ObjectPaint.h"
#include "StringTable.h"
#include "TClient.h"
#include "TPage.h"
#include "TPolygone.h"

#include <cmath>
#include <string>
#include <utility>

namespace {

constexpr uint32_t kMaskA = 0x40000407;
constexpr uint32_t kMaskB = 0x00400010;
// The angle readout is added only to a text shorter than this.
constexpr size_t kAngleInfoRoom = 125;
constexpr double kDegreesPerRadian = 57.29577951;

} // namespace

TDataLine::TDataLine()
{
  classId = kTDataLine;
  Recompute();
}

TDataLine::TDataLine(int32_t startX, int32_t startY, int32_t endX, int32_t endY)
    : x1(startX), y1(startY), x2(endX), y2(endY)
{
  classId = kTDataLine;
  Recompute();
}

TStreamable* TDataLine::Create(TDataOwner* client, int32_t)
{
  if (!client)
    return new TDataLine;
  return PlaceAndSize(*client,
                      [](TPoint p) -> std::unique_ptr<TData> {
                        return std::make_unique<TDataLine>(p.x, p.y, p.x, p.y);
                      })
      .release();
}

void TDataLine::Recompute()
{
  const TPoint ends[2] = {{x1, y1}, {x2, y2}};
  TRect bounds;
  TPolygone(2, ends).GetBounds(bounds);
  Assign(bounds);
}

TInStream& TDataLine::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTDataLine, version))
    return is;
  int32_t ax = x1, ay = y1, bx = x2, by = y2;
  is >> ax >> ay >> bx >> by;
  if (is) {
    x1 = ax;
    y1 = ay;
    x2 = bx;
    y2 = by;
  }
  EndFirstLine(is, version, kVersion);
  // The first records kept the pen apart from the common part.
  if (version == 0)
    ReadInto(is, pen);
  TData::Read(is);
  Recompute();
  return is;
}

TOutStream& TDataLine::Write(TOutStream& os) const
{
  WriteHeader(os, kTDataLine, kVersion);
  os << ' ' << x1 << ' ' << y1 << ' ' << x2 << ' ' << y2 << '\n' << '\t';
  return TData::Write(os);
}

bool TDataLine::Contains(int32_t x, int32_t y) const
{
  return HitSegment(x, y, GetStart(), GetEnd(), EffectivePenWidth(*this));
}

bool TDataLine::Offset(int32_t dx, int32_t dy)
{
  x1 = SaturateInt32(int64_t{x1} + dx);
  y1 = SaturateInt32(int64_t{y1} + dy);
  x2 = SaturateInt32(int64_t{x2} + dx);
  y2 = SaturateInt32(int64_t{y2} + dy);
  Recompute();
  return true;
}

bool TDataLine::Resize(int32_t dx, int32_t dy)
{
  x2 = SaturateInt32(int64_t{x2} + dx);
  y2 = SaturateInt32(int64_t{y2} + dy);
  Recompute();
  return true;
}

uint32_t TDataLine::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_LINE;
  case MSG_MASK_A:
    return kMaskA;
  case MSG_MASK_B:
    return kMaskB;
  case MSG_MAY_RESIZE:
    // Sizing moves the second end alone.
    return MayMoveEndPoint({x2, y2}, a, b, p);
  default:
    return TData::Message(message, a, b, p);
  }
}

bool TDataLine::Paint(TPage* page, uint8_t mode)
{
  if (!BeginPaint(*this, page, mode))
    return false;
  if (WantsBody(mode)) {
    page->SelectPen(pen);
    page->Line(x1, y1, x2, y2);
    page->RestoreDefaults();
  }
  if (WantsHighlight(*this, mode)) {
    BeginHighlight(page);
    page->Line(x1, y1, x2, y2);
    DrawDragCross(*this, page, GetStart(), GetEnd());
    EndHighlight(page);
  }
  return true;
}

uint16_t TDataLine::ContextCommand(TDataOwner* client, uint16_t command)
{
  command = ChooseCommand(client, command);
  if (command == 0)
    return 0;
  if (command == CM_OBJ_EXCHANGE_ENDS) {
    ExchangeEnds();
    Notify(command, nullptr);
    return command;
  }
  return TData::ContextCommand(client, command);
}

void TDataLine::ExchangeEnds()
{
  std::swap(x1, x2);
  std::swap(y1, y2);
  Recompute();
}

bool TDataLine::Notify(uint16_t command, TRect* p)
{
  const auto* edited = dynamic_cast<const TDataLine*>(p);
  if (edited && (command == CM_OBJ_POSITION || command == CM_OBJ_SIZE)) {
    x1 = edited->x1;
    y1 = edited->y1;
    x2 = edited->x2;
    y2 = edited->y2;
    Recompute();
    return true;
  }
  return TData::Notify(command, p);
}

void TDataLine::GetRect(TRect& out, int32_t mode) const
{
  if (!EndPointRect(*this, GetStart(), GetEnd(), mode, out))
    TData::GetRect(out, mode);
}

void TDataLine::SetRect(const TRect& r, int32_t mode)
{
  switch (mode) {
  case kRectPosition:
    MovePositionTo(r.left, r.top);
    break;
  case kRectCenter:
  case kRectAnchored:
    // These give a place, not two ends: the line is moved there whole.
    TData::SetRect(r, mode);
    break;
  default:
    x1 = r.left;
    y1 = r.top;
    x2 = r.right;
    y2 = r.bottom;
    Recompute();
    break;
  }
}

TData* TDataLine::Clone(TData* target, int32_t argument) const
{
  if (!target)
    target = new TDataLine;
  TData::Clone(target, argument);
  if (auto* line = dynamic_cast<TDataLine*>(target)) {
    line->x1 = x1;
    line->y1 = y1;
    line->x2 = x2;
    line->y2 = y2;
    line->Recompute();
  }
  return target;
}

double TDataLine::Angle() const
{
  if (x1 == x2 && y1 == y2)
    return 0;
  double a = std::atan2(static_cast<double>(y1) - y2, static_cast<double>(x2) - x1) * kDegreesPerRadian;
  while (a < 0)
    a += 360;
  return a;
}

bool TDataLine::ShowInfo(TDataOwner* client, const TData* reference, uint16_t)
{
  std::string text;
  if (!RectInfoText(client, reference, kRectEndPoints, text))
    return false;
  const TPage* page = client->GetPage();
  if (page && page->GetDragMode() == CM_OBJ_SIZE && text.size() < kAngleInfoRoom)
    text += FormatStr(IDS_INFO_ANGLE, Angle());
  client->SetStatusText(text);
  return true;
}
